// A scriptable test double of the Install Aide (INSTAIDE.dll) that records every call.
//
// Set-up: the file named by INSTAIDE_DOUBLE_CONFIG, one directive a line; bytes may be
// written as \xNN and a backslash as \\:
//   user NAME              append a user (index 0 first)
//   count N                the user count to report (default: the number of users)
//   name I unterminated    the lookup of user I fills all 256 bytes without a NUL
//   name I unwritten       the lookup of user I writes nothing
//   name I size=N          the lookup of user I sets the size word to N
//   name I result=N        the lookup of user I returns N
//   install R              every install request returns R (default 0)
//   install-user NAME R    requests for this user return R
//   install-file NAME R    requests for this file return R
//   record off             write no log (for timing)
//   generated              users past the listed ones are named "User I" (for huge counts)
// How a real library may behave while it queues a file:
//   install-delay MS       each request takes MS milliseconds without pumping messages
//   install-pump MS        each request pumps the thread's messages for MS milliseconds
//                          (both log the pointer the program shows as each request starts)
//   install-msgbox         the first request shows a message box of its own, titled
//                          "Install Aide", and returns once the person dismisses it
// Log: the file named by INSTAIDE_DOUBLE_LOG, one line a call, in call order:
//   Window icon_big=app icon_small=app   (before UserCount, when the caller's thread has a
//                                         dialog: its icons, "app" for icon 128 of the program)
//   UserCount -> N
//   UserName index=I size=S -> R size_after=S2 name="..."
//   Busy cursor=wait|other               (with install-delay or -pump, as each request starts)
//   InstallFile user="..." file="..." -> R
// Strings in the log escape bytes outside printable ASCII, '"' and '\' as \xNN.
#include "instaide/InstAide.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <map>
#include <string>
#include <vector>

namespace {

struct NameLookup {
    bool unterminated = false;
    bool unwritten = false;
    bool setSize = false;
    DWORD size = 0;
    LONG result = 0;
};

struct Script {
    std::vector<std::string> users;
    bool countGiven = false;
    LONG count = 0;
    std::map<LONG, NameLookup> lookups;
    LONG installResult = 0;
    std::map<std::string, LONG> userResults;
    std::map<std::string, LONG> fileResults;
    bool record = true;
    bool generated = false;
    DWORD installDelay = 0;
    DWORD installPump = 0;
    bool installMsgBox = false;
};

Script* g_pScript;
HANDLE g_hLog = INVALID_HANDLE_VALUE;

std::string Unescape(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '\\') {
            out += '\\';
            ++i;
        } else if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x') {
            out += (char)strtol(text.substr(i + 2, 2).c_str(), NULL, 16);
            i += 3;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string Escape(const char* p, size_t n)
{
    std::string out = "\"";
    for (size_t i = 0; i < n; ++i) {
        unsigned char c = (unsigned char)p[i];
        if (c < 32 || c > 126 || c == '"' || c == '\\') {
            char sz[8];
            snprintf(sz, sizeof sz, "\\x%02X", c);
            out += sz;
        } else {
            out += (char)c;
        }
    }
    return out + "\"";
}

// A string from the program, read no further than 4096 bytes.
std::string Argument(LPCSTR psz)
{
    if (psz == NULL)
        return "(null)";
    size_t n = strnlen(psz, 4096);
    std::string s = Escape(psz, n);
    return n == 4096 ? s + "(unterminated)" : s;
}

std::string Env(const char* pszName)
{
    char sz[MAX_PATH];
    DWORD n = GetEnvironmentVariableA(pszName, sz, sizeof sz);
    return n > 0 && n < sizeof sz ? std::string(sz, n) : std::string();
}

void Load()
{
    delete g_pScript;
    g_pScript = new Script;
    if (g_hLog != INVALID_HANDLE_VALUE)
        CloseHandle(g_hLog);
    g_hLog = INVALID_HANDLE_VALUE;

    std::string config = Env("INSTAIDE_DOUBLE_CONFIG");
    if (FILE* f = config.empty() ? NULL : fopen(config.c_str(), "rb")) {
        char line[8192];
        while (fgets(line, sizeof line, f)) {
            std::string s(line);
            while (!s.empty() && (s.back() == '\n' || s.back() == '\r'))
                s.pop_back();
            size_t sp = s.find(' ');
            std::string key = s.substr(0, sp), rest = sp == std::string::npos ? "" : s.substr(sp + 1);
            Script& sc = *g_pScript;
            if (key == "user") {
                sc.users.push_back(Unescape(rest));
            } else if (key == "count") {
                sc.countGiven = true;
                sc.count = strtol(rest.c_str(), NULL, 10);
            } else if (key == "name") {
                LONG index = strtol(rest.c_str(), NULL, 10);
                std::string mode = rest.substr(rest.find(' ') + 1);
                NameLookup& lookup = sc.lookups[index];
                if (mode == "unterminated")
                    lookup.unterminated = true;
                else if (mode == "unwritten")
                    lookup.unwritten = true;
                else if (mode.compare(0, 5, "size=") == 0)
                    lookup.setSize = true, lookup.size = strtoul(mode.c_str() + 5, NULL, 10);
                else if (mode.compare(0, 7, "result=") == 0)
                    lookup.result = strtol(mode.c_str() + 7, NULL, 10);
            } else if (key == "install") {
                sc.installResult = strtol(rest.c_str(), NULL, 10);
            } else if (key == "install-user" || key == "install-file") {
                size_t last = rest.rfind(' ');
                std::string name = Unescape(rest.substr(0, last));
                LONG result = strtol(rest.c_str() + last + 1, NULL, 10);
                (key == "install-user" ? sc.userResults : sc.fileResults)[name] = result;
            } else if (key == "record") {
                sc.record = rest != "off";
            } else if (key == "generated") {
                sc.generated = true;
            } else if (key == "install-delay") {
                sc.installDelay = strtoul(rest.c_str(), NULL, 10);
            } else if (key == "install-pump") {
                sc.installPump = strtoul(rest.c_str(), NULL, 10);
            } else if (key == "install-msgbox") {
                sc.installMsgBox = true;
            }
        }
        fclose(f);
    }

    std::string log = Env("INSTAIDE_DOUBLE_LOG");
    if (!log.empty() && g_pScript->record)
        g_hLog = CreateFileA(log.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             NULL, CREATE_ALWAYS, 0, NULL);
}

void Record(const std::string& line)
{
    if (g_hLog == INVALID_HANDLE_VALUE)
        return;
    std::string s = line + "\n";
    DWORD written;
    WriteFile(g_hLog, s.data(), (DWORD)s.size(), &written, NULL);
}

BOOL CALLBACK FindThreadDialog(HWND hWnd, LPARAM lParam)
{
    char name[16] = "";
    GetClassNameA(hWnd, name, sizeof name);
    if (strcmp(name, "#32770") != 0)
        return TRUE;
    *(HWND*)lParam = hWnd;
    return FALSE;
}

// The icons of the dialog that is asking, seen from inside its process.
void RecordWindow()
{
    HWND hDialog = NULL;
    EnumThreadWindows(GetCurrentThreadId(), FindThreadDialog, (LPARAM)&hDialog);
    // cppcheck-suppress knownConditionTrueFalse ; the callback writes it through its LPARAM
    if (hDialog == NULL)
        return;
    HICON hApp = LoadIconA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(128));
    auto name = [&](HICON h) { return h == NULL ? std::string("none") : h == hApp ? std::string("app") : std::string("other"); };
    HICON hBig = (HICON)SendMessageA(hDialog, WM_GETICON, ICON_BIG, 0);
    HICON hSmall = (HICON)SendMessageA(hDialog, WM_GETICON, ICON_SMALL, 0);
    Record("Window icon_big=" + name(hBig) + " icon_small=" + name(hSmall));
}

}  // namespace

LONG INSTAIDEAPI InstAideUserCount(void)
{
    const Script& sc = *g_pScript;
    if (sc.record)
        RecordWindow();
    LONG count = sc.countGiven ? sc.count : (LONG)sc.users.size();
    if (sc.record)
        Record("UserCount -> " + std::to_string(count));
    return count;
}

LONG INSTAIDEAPI InstAideUserName(LONG nIndex, LPSTR lpszName, DWORD* pcbName)
{
    const Script& sc = *g_pScript;
    const DWORD sizeOnEntry = pcbName ? *pcbName : 0;
    NameLookup lookup;
    auto it = sc.lookups.find(nIndex);
    if (it != sc.lookups.end())
        lookup = it->second;
    std::string name = nIndex >= 0 && (size_t)nIndex < sc.users.size() ? sc.users[nIndex]
                       : sc.generated && nIndex >= 0 ? "User " + std::to_string(nIndex)
                       : std::string();

    size_t written = 0;
    if (lookup.unterminated) {
        // The name, then '#' up to the buffer's end: 256 bytes and no NUL.
        std::string fill = name + std::string(256, '#');
        memcpy(lpszName, fill.data(), 256);
        written = 256;
    } else if (!lookup.unwritten && lpszName && sizeOnEntry > 0) {
        written = name.size() < sizeOnEntry ? name.size() : sizeOnEntry - 1;
        memcpy(lpszName, name.data(), written);
        lpszName[written] = '\0';
    }
    if (lookup.setSize && pcbName)
        *pcbName = lookup.size;

    if (sc.record)
        Record("UserName index=" + std::to_string(nIndex) + " size=" + std::to_string(sizeOnEntry) +
               " -> " + std::to_string(lookup.result) +
               " size_after=" + std::to_string(pcbName ? *pcbName : 0) +
               " name=" + (lookup.unwritten ? std::string("(unwritten)") : Escape(lpszName, written)));
    return lookup.result;
}

// What a real library may do while it works: keep the caller waiting, run the caller's
// messages, or show a window of its own.
void WorkLikeALibrary()
{
    Script& sc = *g_pScript;
    if (sc.installDelay || sc.installPump) {
        const bool bWait = GetCursor() == LoadCursorA(NULL, IDC_WAIT);
        Record(std::string("Busy cursor=") + (bWait ? "wait" : "other"));
    }
    if (sc.installDelay)
        Sleep(sc.installDelay);
    if (sc.installPump) {
        const DWORD dwEnd = GetTickCount() + sc.installPump;
        while ((LONG)(dwEnd - GetTickCount()) > 0) {
            MSG msg;
            while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            MsgWaitForMultipleObjects(0, NULL, FALSE, 20, QS_ALLINPUT);
        }
    }
    if (sc.installMsgBox) {
        sc.installMsgBox = false;
        MessageBoxA(NULL, "The Install Aide is queueing the files.", "Install Aide", MB_OK);
    }
}

LONG INSTAIDEAPI InstAideInstallFile(LPCSTR lpszUserName, LPCSTR lpszFileName)
{
    WorkLikeALibrary();
    const Script& sc = *g_pScript;
    LONG result = sc.installResult;
    if (lpszUserName) {
        auto it = sc.userResults.find(lpszUserName);
        if (it != sc.userResults.end())
            result = it->second;
    }
    if (lpszFileName) {
        auto it = sc.fileResults.find(lpszFileName);
        if (it != sc.fileResults.end())
            result = it->second;
    }
    if (sc.record)
        Record("InstallFile user=" + Argument(lpszUserName) + " file=" + Argument(lpszFileName) +
               " -> " + std::to_string(result));
    return result;
}

// For test programs that load the double themselves: reads the set-up again and starts
// a new log.
extern "C" void INSTAIDEAPI InstAideDoubleReset(void)
{
    Load();
}

BOOL WINAPI DllMain(HINSTANCE, DWORD dwReason, LPVOID)
{
    if (dwReason == DLL_PROCESS_ATTACH)
        Load();
    return TRUE;
}
