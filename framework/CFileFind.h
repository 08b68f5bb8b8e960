// CFileFind: one directory search (FindFirstFileA to FindClose) and its current match.
//
// Its operations are virtual, so that a test can put a scripted search in its place.
#pragma once

#include <windows.h>

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

    // The current match's bare name, without a directory.
    virtual LPCSTR GetFileName() const { return m_data.cFileName; }
    virtual BOOL IsDirectory() const { return (m_data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    // The error of the last FindFile or FindNextFile that returned FALSE.
    virtual DWORD GetLastError() const { return m_dwLastError; }

private:
    HANDLE m_hFind;
    WIN32_FIND_DATAA m_data;
    DWORD m_dwLastError;
};
