// CPaintDC: the device context of one WM_PAINT, from BeginPaint to EndPaint.
#pragma once

#include <windows.h>

class CWnd;

class CPaintDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC();

    HDC GetSafeHdc() const { return m_hDC; }
    BOOL DrawIcon(int x, int y, HICON hIcon);

    PAINTSTRUCT m_ps;

public:
    CPaintDC(const CPaintDC&) = delete;   // a copy would release the same resource twice
    CPaintDC& operator=(const CPaintDC&) = delete;

private:
    HWND m_hWnd;
    HDC m_hDC;
};
