#include "CString.h"

#include <stdlib.h>
#include <string.h>

CString::CString() : m_pszData(NULL), m_nLength(0), m_nCapacity(0) {}

CString::CString(LPCSTR lpsz) : m_pszData(NULL), m_nLength(0), m_nCapacity(0)
{
    *this = lpsz;
}

CString::CString(const CString& stringSrc) : m_pszData(NULL), m_nLength(0), m_nCapacity(0)
{
    Append(stringSrc, stringSrc.GetLength());
}

CString::~CString()
{
    free(m_pszData);
}

CString& CString::operator=(const CString& stringSrc)
{
    if (this != &stringSrc) {
        m_nLength = 0;
        if (m_pszData)
            m_pszData[0] = '\0';
        Append(stringSrc, stringSrc.GetLength());
    }
    return *this;
}

CString& CString::operator=(LPCSTR lpsz)
{
    m_nLength = 0;
    if (m_pszData)
        m_pszData[0] = '\0';
    if (lpsz)
        Append(lpsz, (int)strlen(lpsz));
    return *this;
}

CString& CString::operator+=(LPCSTR lpsz)
{
    if (lpsz)
        Append(lpsz, (int)strlen(lpsz));
    return *this;
}

CString& CString::operator+=(char ch)
{
    Append(&ch, 1);
    return *this;
}

void CString::AppendNumber(int n)
{
    char sz[16];
    char* p = sz + sizeof sz;
    *--p = '\0';
    unsigned int u = n < 0 ? 0u - (unsigned int)n : (unsigned int)n;
    do {
        *--p = (char)('0' + u % 10);
        u /= 10;
    } while (u != 0);
    if (n < 0)
        *--p = '-';
    *this += p;
}

LPSTR CString::GetBuffer(int nMinBufLength)
{
    if (nMinBufLength < m_nLength)
        nMinBufLength = m_nLength;
    if (!Reserve(nMinBufLength))
        return NULL;
    return m_pszData;
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (m_pszData == NULL)
        return;
    if (nNewLength < 0 || nNewLength > m_nCapacity)
        nNewLength = (int)strnlen(m_pszData, m_nCapacity);
    m_nLength = nNewLength;
    m_pszData[m_nLength] = '\0';
}

BOOL CString::Reserve(int nLength)
{
    if (nLength <= m_nCapacity && m_pszData != NULL)
        return TRUE;
    // Doubling keeps a string built by many appends linear in its length.
    int nCapacity = m_nCapacity < 15 ? 15 : m_nCapacity;
    while (nCapacity < nLength)
        nCapacity = nCapacity * 2 + 1;
    LPSTR pszData = (LPSTR)realloc(m_pszData, (size_t)nCapacity + 1);
    if (pszData == NULL)
        return FALSE;
    if (m_pszData == NULL)
        pszData[0] = '\0';
    m_pszData = pszData;
    m_nCapacity = nCapacity;
    return TRUE;
}

void CString::Append(LPCSTR lpsz, int nCount)
{
    if (nCount <= 0 || !Reserve(m_nLength + nCount))
        return;
    memmove(m_pszData + m_nLength, lpsz, (size_t)nCount);
    m_nLength += nCount;
    m_pszData[m_nLength] = '\0';
}
