#include "CWaitCursor.h"

CWaitCursor::CWaitCursor() : m_hOldCursor(::SetCursor(::LoadCursorA(NULL, (LPCSTR)IDC_WAIT)))
{
}

CWaitCursor::~CWaitCursor()
{
    ::SetCursor(m_hOldCursor);
}
