#include "CFileFind.h"

CFileFind::CFileFind() : m_hFind(INVALID_HANDLE_VALUE), m_dwLastError(ERROR_SUCCESS)
{
    m_data.dwFileAttributes = 0;
    m_data.cFileName[0] = '\0';
}

CFileFind::~CFileFind()
{
    CFileFind::Close();
}

BOOL CFileFind::FindFile(LPCSTR lpszPattern)
{
    Close();
    m_hFind = ::FindFirstFileA(lpszPattern, &m_data);
    if (m_hFind == INVALID_HANDLE_VALUE) {
        m_dwLastError = ::GetLastError();
        return FALSE;
    }
    m_dwLastError = ERROR_SUCCESS;
    return TRUE;
}

BOOL CFileFind::FindNextFile()
{
    if (m_hFind == INVALID_HANDLE_VALUE) {
        m_dwLastError = ERROR_INVALID_HANDLE;
        return FALSE;
    }
    if (!::FindNextFileA(m_hFind, &m_data)) {
        m_dwLastError = ::GetLastError();
        return FALSE;
    }
    return TRUE;
}

void CFileFind::Close()
{
    if (m_hFind != INVALID_HANDLE_VALUE) {
        ::FindClose(m_hFind);
        m_hFind = INVALID_HANDLE_VALUE;
    }
}
