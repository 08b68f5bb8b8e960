// CFileFind: one directory search (FindFirstFileA to FindClose) and its current match.
#pragma once

#include <windows.h>

class CFileFind {
public:
    CFileFind();
    ~CFileFind();

    // Starts a search for a pattern such as "*.prc" and takes the first match.
    // FALSE: no match, or the search could not start (GetLastError tells which).
    BOOL FindFile(LPCSTR lpszPattern);
    // Takes the next match. FALSE: ERROR_NO_MORE_FILES at the end, another error otherwise.
    BOOL FindNextFile();
    void Close();

    // The current match's bare name, without a directory.
    LPCSTR GetFileName() const { return m_data.cFileName; }
    BOOL IsDirectory() const { return (m_data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    // The error of the last FindFile or FindNextFile that returned FALSE.
    DWORD GetLastError() const { return m_dwLastError; }

private:
    CFileFind(const CFileFind&);
    CFileFind& operator=(const CFileFind&);

    HANDLE m_hFind;
    WIN32_FIND_DATAA m_data;
    DWORD m_dwLastError;
};
