// CClientDC: a window's client-area device context, from GetDC to ReleaseDC.
#pragma once

#include <windows.h>

class CClientDC {
public:
    explicit CClientDC(HWND hWnd);
    ~CClientDC();   // puts back what SelectObject replaced, then releases the context

    HDC GetSafeHdc() const { return m_hDC; }
    // Selects a GDI object (a font) until the context is released.
    void SelectObject(HGDIOBJ hObject);

public:
    CClientDC(const CClientDC&) = delete;   // a copy would release the same resource twice
    CClientDC& operator=(const CClientDC&) = delete;

private:
    HWND m_hWnd;
    HDC m_hDC;
    HGDIOBJ m_hOldObject;
};
