// CInstallApp: the application, which is nothing but its install dialog.
#pragma once

#include "framework/CWinApp.h"

class CInstallApp : public CWinApp {
public:
    CInstallApp() {}
    ~CInstallApp() {}

    // Runs the install dialog as the main window, then ends the program.
    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};

