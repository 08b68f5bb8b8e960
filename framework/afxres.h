// Identifiers that the framework itself defines and reserves (0xE000 and up).
#pragma once

// String resource that, when present, names the application (its message-box titles).
#define AFX_IDS_APP_TITLE   0xE000

// The Help command, sent by F1 in a dialog; the application object's OnHelp takes it.
#define ID_HELP             0xE146

// Check list box notification (WM_COMMAND code) to the parent: an entry's check changed.
#define CLBN_CHKCHANGE      40

// Messages a dialog sends back to the control that asked, so the control can draw itself
// (the dialog gets WM_MEASUREITEM / WM_DRAWITEM on the control's behalf).
#define OCM__BASE           (WM_USER + 0x1C00)
#define OCM_MEASUREITEM     (OCM__BASE + WM_MEASUREITEM)
#define OCM_DRAWITEM        (OCM__BASE + WM_DRAWITEM)
