// The stand-in Install Aide: INSTAIDE.dll for computers without the Palm Desktop.
//
// It accepts only well-formed handheld databases (see IsHandheldDatabase), and keeps a small
// store in a folder: users.txt lists the users, one name a line, in
// order; queue\<user>\ receives a copy of every file queued for that user, and
// queue\<user>\queued.txt records each request. The folder is INSTAIDE_STANDIN_STORE or,
// without that variable, "store" beside this DLL.
#include "instaide/InstAide.h"

#include <string.h>

namespace {

const int kMaxUsers = 100000;

HMODULE g_hModule;   // this DLL, for the default store beside it

// The store folder, without a trailing backslash; FALSE when it cannot be named.
BOOL StoreFolder(char (&szFolder)[MAX_PATH])
{
    DWORD cch = GetEnvironmentVariableA("INSTAIDE_STANDIN_STORE", szFolder, MAX_PATH);
    if (cch > 0 && cch < MAX_PATH)
        return TRUE;
    cch = GetModuleFileNameA(g_hModule, szFolder, MAX_PATH);
    if (cch == 0 || cch >= MAX_PATH - 6)
        return FALSE;
    char* pszSlash = strrchr(szFolder, '\\');
    if (pszSlash == NULL)
        return FALSE;
    strcpy(pszSlash + 1, "store");
    return TRUE;
}

BOOL Join(char (&szOut)[MAX_PATH], const char* pszA, const char* pszB)
{
    if (strlen(pszA) + 1 + strlen(pszB) >= MAX_PATH)
        return FALSE;
    strcpy(szOut, pszA);
    strcat(szOut, "\\");
    strcat(szOut, pszB);
    return TRUE;
}

// users.txt, read whole; NULL when it cannot be read. The caller frees it with HeapFree.
char* ReadUsers(DWORD* pcb)
{
    char szFolder[MAX_PATH], szPath[MAX_PATH];
    if (!StoreFolder(szFolder) || !Join(szPath, szFolder, "users.txt"))
        return NULL;
    HANDLE hFile = CreateFileA(szPath, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (hFile == INVALID_HANDLE_VALUE)
        return NULL;
    char* pData = NULL;
    DWORD cbFile = GetFileSize(hFile, NULL);
    if (cbFile != INVALID_FILE_SIZE && cbFile < (16u << 20)) {
        pData = (char*)HeapAlloc(GetProcessHeap(), 0, cbFile + 1);
        DWORD cbRead = 0;
        if (pData && (!ReadFile(hFile, pData, cbFile, &cbRead, NULL) || cbRead != cbFile)) {
            HeapFree(GetProcessHeap(), 0, pData);
            pData = NULL;
        }
        if (pData) {
            pData[cbFile] = '\0';
            *pcb = cbFile;
        }
    }
    CloseHandle(hFile);
    return pData;
}

// Walks the lines of users.txt (CR LF or LF; a last line without an end counts).
// Calls visit(index, name, length) for each until it returns FALSE; returns the count.
template <typename Visit>
LONG ForEachUser(const char* pData, DWORD cb, Visit visit)
{
    LONG nIndex = 0;
    DWORD i = 0;
    while (i < cb && nIndex < kMaxUsers) {
        DWORD start = i;
        while (i < cb && pData[i] != '\n')
            ++i;
        DWORD end = i;
        if (end > start && pData[end - 1] == '\r')
            --end;
        if (i < cb)
            ++i;   // past the '\n'
        if (!visit(nIndex, pData + start, end - start))
            return nIndex;
        ++nIndex;
    }
    return nIndex;
}

// The queue folder's name for a user: the name, with characters a file name cannot hold
// replaced by '_'.
void QueueName(const char* pszUser, char (&szOut)[MAX_PATH])
{
    size_t n = strlen(pszUser);
    if (n > 200)
        n = 200;
    for (size_t k = 0; k < n; ++k) {
        unsigned char c = (unsigned char)pszUser[k];
        szOut[k] = (c < 32 || strchr("\\/:*?\"<>|", c)) ? '_' : (char)c;
    }
    szOut[n] = '\0';
    if (n == 0 || szOut[n - 1] == '.' || szOut[n - 1] == ' ')
        strcat(szOut, "_");
}

BOOL AppendLine(const char* pszPath, const char* pszLine)
{
    HANDLE hFile = CreateFileA(pszPath, FILE_APPEND_DATA, FILE_SHARE_READ, NULL, OPEN_ALWAYS, 0, NULL);
    if (hFile == INVALID_HANDLE_VALUE)
        return FALSE;
    DWORD cbWritten;
    BOOL bOk = WriteFile(hFile, pszLine, (DWORD)strlen(pszLine), &cbWritten, NULL) &&
               WriteFile(hFile, "\r\n", 2, &cbWritten, NULL);
    CloseHandle(hFile);
    return bOk;
}

unsigned BigEndian(const unsigned char* p, int cb)
{
    unsigned value = 0;
    for (int i = 0; i < cb; ++i)
        value = (value << 8) | p[i];
    return value;
}

bool Printable(const unsigned char* p, int cb)
{
    for (int i = 0; i < cb; ++i)
        if (p[i] < 0x20 || p[i] > 0x7E)
            return false;
    return true;
}

// A Palm database, as far as its header tells: the 72-byte header (a NUL-terminated
// printable name in 32 bytes; for a .prc the resource attribute; four-character type and
// creator), then a single record list (next list 0, a count, the entries) whose entries,
// and the data they point to, lie within the file.
bool IsHandheldDatabase(LPCSTR lpszFileName)
{
    const DWORD kHeader = 72, kListHead = 6;
    const unsigned kAttrResource = 0x0001;
    HANDLE hFile = CreateFileA(lpszFileName, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    DWORD cbFile = GetFileSize(hFile, NULL);
    unsigned char head[kHeader + kListHead];
    DWORD cbRead = 0;
    bool bOk = cbFile != INVALID_FILE_SIZE && cbFile >= sizeof head &&
               ReadFile(hFile, head, sizeof head, &cbRead, NULL) && cbRead == sizeof head;

    const char* pszExtension = strrchr(lpszFileName, '.');
    const bool bResourceFile = pszExtension && lstrcmpiA(pszExtension, ".prc") == 0;
    if (bOk) {
        const unsigned char* pNul = (const unsigned char*)memchr(head, 0, 32);
        const unsigned attributes = BigEndian(head + 32, 2);
        bOk = pNul != NULL && pNul != head && Printable(head, (int)(pNul - head)) &&
              (!bResourceFile || (attributes & kAttrResource)) &&
              Printable(head + 60, 4) && Printable(head + 64, 4) &&
              BigEndian(head + 72, 4) == 0;   // no chained record lists
    }
    if (bOk) {
        const bool bResources = (BigEndian(head + 32, 2) & kAttrResource) != 0;
        const DWORD cbEntry = bResources ? 10 : 8;           // type, id, offset / offset, attrs, id
        const DWORD nEntries = BigEndian(head + 76, 2);
        const DWORD cbList = nEntries * cbEntry;
        bOk = kHeader + kListHead + cbList <= cbFile;
        unsigned char entry[10];
        DWORD dwPrevious = kHeader + kListHead + cbList;
        for (DWORD i = 0; bOk && i < nEntries; ++i) {
            bOk = ReadFile(hFile, entry, cbEntry, &cbRead, NULL) && cbRead == cbEntry;
            if (!bOk)
                break;
            const DWORD dwOffset = BigEndian(entry + (bResources ? 6 : 0), 4);
            bOk = dwOffset >= dwPrevious && dwOffset <= cbFile && (!bResources || Printable(entry, 4));
            dwPrevious = dwOffset;
        }
    }
    CloseHandle(hFile);
    return bOk;
}

}  // namespace

// Results of InstAideInstallFile.
enum {
    STANDIN_OK = 0,
    STANDIN_NO_STORE = -1,       // the store cannot be read
    STANDIN_UNKNOWN_USER = -2,   // no such user in users.txt
    STANDIN_NO_FILE = -3,        // the file is not in the current directory
    STANDIN_COPY_FAILED = -4,    // the copy into the queue failed
    STANDIN_NOT_DATABASE = -5    // the file is not a well-formed handheld database
};

LONG INSTAIDEAPI InstAideUserCount(void)
{
    DWORD cb = 0;
    char* pData = ReadUsers(&cb);
    if (pData == NULL)
        return -1;
    LONG nCount = ForEachUser(pData, cb, [](LONG, const char*, DWORD) { return TRUE; });
    HeapFree(GetProcessHeap(), 0, pData);
    return nCount;
}

LONG INSTAIDEAPI InstAideUserName(LONG nIndex, LPSTR lpszName, DWORD* pcbName)
{
    if (lpszName == NULL || pcbName == NULL || *pcbName == 0)
        return -1;
    DWORD cb = 0;
    char* pData = ReadUsers(&cb);
    if (pData == NULL)
        return -1;
    LONG lResult = -1;
    const DWORD cbBuffer = *pcbName;
    ForEachUser(pData, cb, [&](LONG i, const char* pszName, DWORD cchName) {
        if (i != nIndex)
            return TRUE;
        if (cchName >= cbBuffer)
            cchName = cbBuffer - 1;
        memcpy(lpszName, pszName, cchName);
        lpszName[cchName] = '\0';
        *pcbName = cchName + 1;
        lResult = 0;
        return FALSE;
    });
    HeapFree(GetProcessHeap(), 0, pData);
    return lResult;
}

LONG INSTAIDEAPI InstAideInstallFile(LPCSTR lpszUserName, LPCSTR lpszFileName)
{
    if (lpszUserName == NULL || lpszFileName == NULL)
        return STANDIN_UNKNOWN_USER;
    DWORD cb = 0;
    char* pData = ReadUsers(&cb);
    if (pData == NULL)
        return STANDIN_NO_STORE;
    const size_t cchUser = strlen(lpszUserName);
    BOOL bKnown = FALSE;
    ForEachUser(pData, cb, [&](LONG, const char* pszName, DWORD cchName) {
        bKnown = cchName == cchUser && memcmp(pszName, lpszUserName, cchUser) == 0;
        return !bKnown;
    });
    HeapFree(GetProcessHeap(), 0, pData);
    if (!bKnown)
        return STANDIN_UNKNOWN_USER;

    DWORD dwAttributes = GetFileAttributesA(lpszFileName);
    if (dwAttributes == INVALID_FILE_ATTRIBUTES || (dwAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return STANDIN_NO_FILE;
    if (!IsHandheldDatabase(lpszFileName))
        return STANDIN_NOT_DATABASE;

    char szFolder[MAX_PATH], szQueues[MAX_PATH], szQueue[MAX_PATH], szName[MAX_PATH];
    char szTarget[MAX_PATH], szRecord[MAX_PATH];
    QueueName(lpszUserName, szName);
    if (!StoreFolder(szFolder) || !Join(szQueues, szFolder, "queue") || !Join(szQueue, szQueues, szName) ||
        !Join(szTarget, szQueue, lpszFileName) || !Join(szRecord, szQueue, "queued.txt"))
        return STANDIN_COPY_FAILED;
    CreateDirectoryA(szQueues, NULL);
    CreateDirectoryA(szQueue, NULL);
    if (!CopyFileA(lpszFileName, szTarget, FALSE) || !AppendLine(szRecord, lpszFileName))
        return STANDIN_COPY_FAILED;
    return STANDIN_OK;
}

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID)
{
    if (dwReason == DLL_PROCESS_ATTACH)
        g_hModule = hInstance;
    return TRUE;
}
