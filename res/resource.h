// Resource identifiers of Sorvanil.exe.
#pragma once

// Dialogs
#define IDD_INSTALL_DIALOG      102     // the install dialog, the program's only window

// Controls of IDD_INSTALL_DIALOG (IDOK is "INSTALL", IDCANCEL is "EXIT")
#define IDC_USER_LIST           1001    // the check list of Palm Desktop users

// Icons
#define IDR_MAINFRAME           128     // the application icon: window, taskbar, file

// Version and manifest
#define IDV_VERSION             1       // the version block (VS_VERSION_INFO)
#define IDM_MANIFEST            1       // the application manifest (CREATEPROCESS_MANIFEST_RESOURCE_ID)
