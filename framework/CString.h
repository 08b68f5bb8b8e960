// CString: a growable, NUL-terminated ANSI string that owns its buffer.
#pragma once

#include <windows.h>

class CString {
public:
    CString();
    CString(LPCSTR lpsz);
    CString(const CString& stringSrc);
    ~CString();

    CString& operator=(const CString& stringSrc);
    CString& operator=(LPCSTR lpsz);
    CString& operator+=(LPCSTR lpsz);
    CString& operator+=(char ch);

    operator LPCSTR() const { return m_pszData ? m_pszData : ""; }
    int GetLength() const { return m_nLength; }
    BOOL IsEmpty() const { return m_nLength == 0; }

    // Appends the decimal form of n.
    void AppendNumber(int n);

    // A buffer of at least nMinBufLength characters plus the NUL, for an API to write into;
    // NULL when the memory cannot be had. ReleaseBuffer takes the new length (-1: up to the NUL).
    LPSTR GetBuffer(int nMinBufLength);
    void ReleaseBuffer(int nNewLength = -1);

    // Appends nCount characters of lpsz (which need not be terminated there).
    void Append(LPCSTR lpsz, int nCount);

private:
    // Makes room for nLength characters and the NUL; FALSE (string unchanged) when out of memory.
    BOOL Reserve(int nLength);

    LPSTR m_pszData;    // NULL until the first character
    int m_nLength;
    int m_nCapacity;    // characters that fit, without the NUL
};
