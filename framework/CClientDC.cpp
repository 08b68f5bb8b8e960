#include "CClientDC.h"

CClientDC::CClientDC(HWND hWnd) : m_hWnd(hWnd), m_hDC(::GetDC(hWnd)), m_hOldObject(NULL) {}

CClientDC::~CClientDC()
{
    if (m_hOldObject != NULL)
        ::SelectObject(m_hDC, m_hOldObject);
    ::ReleaseDC(m_hWnd, m_hDC);
}

void CClientDC::SelectObject(HGDIOBJ hObject)
{
    if (hObject == NULL)
        return;
    HGDIOBJ hOld = ::SelectObject(m_hDC, hObject);
    if (m_hOldObject == NULL)
        m_hOldObject = hOld;
}
