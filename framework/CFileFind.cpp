#include "CFileFind.h"

CFileFind::CFileFind() : m_hFind(INVALID_HANDLE_VALUE), m_dwLastError(ERROR_SUCCESS)
{
    m_data.dwFileAttributes = 0;
    m_data.cFileName[0] = L'\0';
    m_data.cAlternateFileName[0] = L'\0';
}

CFileFind::~CFileFind()
{
    CFileFind::Close();
}

BOOL CFileFind::FindFile(LPCSTR lpszPattern)
{
    Close();
    WCHAR szPattern[MAX_PATH];
    if (::MultiByteToWideChar(CP_ACP, 0, lpszPattern, -1, szPattern, MAX_PATH) == 0) {
        m_dwLastError = ::GetLastError();
        return FALSE;
    }
    m_hFind = ::FindFirstFileW(szPattern, &m_data);
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
    if (!::FindNextFileW(m_hFind, &m_data)) {
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

// A wide name in the ANSI code page; FALSE when the code page cannot spell it exactly.
static BOOL ToAnsi(LPCWSTR pszWide, CString& rName)
{
    const UINT nCodePage = ::GetACP();
    // Win32: UTF-8 takes no best-fit flag and no used-default flag; it spells every name.
    const BOOL bUtf8 = nCodePage == CP_UTF8;
    const DWORD dwFlags = bUtf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL bUsedDefault = FALSE;
    const int cb = ::WideCharToMultiByte(nCodePage, dwFlags, pszWide, -1, NULL, 0, NULL, NULL);
    LPSTR psz = cb > 0 ? rName.GetBuffer(cb) : NULL;
    if (psz == NULL) {
        rName = "";
        return FALSE;
    }
    ::WideCharToMultiByte(nCodePage, dwFlags, pszWide, -1, psz, cb, NULL, bUtf8 ? NULL : &bUsedDefault);
    rName.ReleaseBuffer();
    if (bUsedDefault)
        return FALSE;
    // What the name turns back into must be the name: no character was replaced.
    WCHAR szBack[MAX_PATH];
    return ::MultiByteToWideChar(nCodePage, MB_ERR_INVALID_CHARS, rName, -1, szBack, MAX_PATH) > 0 &&
           lstrcmpW(szBack, pszWide) == 0;
}

BOOL CFileFind::GetFileName(CString& rName) const
{
    return ToAnsi(m_data.cFileName, rName);
}

CString CFileFind::GetShortName() const
{
    CString strShort;
    if (m_data.cAlternateFileName[0] == L'\0' || !ToAnsi(m_data.cAlternateFileName, strShort))
        return CString();
    return strShort;
}
