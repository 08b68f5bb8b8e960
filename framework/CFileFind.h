// CFileFind: one directory search (FindFirstFileW to FindClose) and its current match.
//
// It searches with the wide functions, so that it sees every name as it is on disk, and
// hands names on in the ANSI code page. Its operations are virtual, so that a test can put a
// scripted search in its place.
#pragma once

#include "CString.h"

class CFileFind {
public:
    CFileFind();
    virtual ~CFileFind();

    CFileFind(const CFileFind&) = delete;              // one owner for the search handle
    CFileFind& operator=(const CFileFind&) = delete;

    // Starts a search for a pattern such as "*.prc" and takes the first match.
    // FALSE: no match, or the search could not start (GetLastError tells which).
    virtual BOOL FindFile(LPCSTR lpszPattern);
    // Takes the next match. FALSE: ERROR_NO_MORE_FILES at the end, another error otherwise.
    virtual BOOL FindNextFile();
    virtual void Close();

    // The current match's bare name, without a directory, in the ANSI code page. FALSE when
    // the code page cannot spell it exactly: rName then shows '?' for what it cannot spell
    // (the ANSI search functions would hand back a best-fit name, which may name another file).
    virtual BOOL GetFileName(CString& rName) const;
    // The current match's 8.3 alias, which the ANSI code page can spell; empty when it has none.
    virtual CString GetShortName() const;
    virtual BOOL IsDirectory() const { return (m_data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    // The error of the last FindFile or FindNextFile that returned FALSE.
    virtual DWORD GetLastError() const { return m_dwLastError; }

private:
    HANDLE m_hFind;
    WIN32_FIND_DATAW m_data;
    DWORD m_dwLastError;
};
