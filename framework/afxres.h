// Identifiers that the framework itself defines and reserves (0xE000 and up).
#pragma once

// String resource that, when present, names the application (its message-box titles).
#define AFX_IDS_APP_TITLE   0xE000

// The Help command, sent by F1 in a dialog; the application object's OnHelp takes it.
#define ID_HELP             0xE146
