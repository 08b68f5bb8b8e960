// The three functions of the Palm Desktop's install-aide library, INSTAIDE.dll.
//
// The program binds them at load time by ordinal only (see INSTAIDE.def); every argument
// and result is 32 bits wide and every string is a NUL-terminated ANSI string.
#pragma once

#include <windows.h>

// The library's calling convention, stated once for the declarations below and for every
// implementation of them (the stand-in and the test double).
#define INSTAIDEAPI __stdcall

#define INSTAIDE_DECL extern "C"

// Ordinals of the library's exports; the module-definition files list the same numbers.
enum {
    INSTAIDE_ORD_USERCOUNT   = 101,
    INSTAIDE_ORD_USERNAME    = 102,
    INSTAIDE_ORD_INSTALLFILE = 103
};

// The number of Palm Desktop users; below zero when the library cannot tell.
INSTAIDE_DECL LONG INSTAIDEAPI InstAideUserCount(void);

// Writes the name of user nIndex (0 to count-1) into lpszName as a NUL-terminated string
// that fits in *pcbName bytes. The library may change *pcbName.
INSTAIDE_DECL LONG INSTAIDEAPI InstAideUserName(LONG nIndex, LPSTR lpszName, DWORD* pcbName);

// Queues lpszFileName, a bare name in the current directory, for the user's next HotSync.
// Zero or more means the request was queued; below zero means it failed.
INSTAIDE_DECL LONG INSTAIDEAPI InstAideInstallFile(LPCSTR lpszUserName, LPCSTR lpszFileName);

// Function types for a caller that loads an implementation itself (GetProcAddress by ordinal).
typedef LONG (INSTAIDEAPI* PFN_INSTAIDEUSERCOUNT)(void);
typedef LONG (INSTAIDEAPI* PFN_INSTAIDEUSERNAME)(LONG, LPSTR, DWORD*);
typedef LONG (INSTAIDEAPI* PFN_INSTAIDEINSTALLFILE)(LPCSTR, LPCSTR);
