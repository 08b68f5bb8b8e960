// CWaitCursor: shows the busy pointer from construction until destruction.
//
// Win32: the pointer set here lasts until the next WM_SETCURSOR, so a window that stays
// busy while messages flow answers WM_SETCURSOR with the busy pointer as well.
#pragma once

#include <windows.h>

class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();

    CWaitCursor(const CWaitCursor&) = delete;   // one restore for one change
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    HCURSOR m_hOldCursor;
};
