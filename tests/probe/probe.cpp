// probe.exe: the end-to-end tests' eyes and hands inside the Wine session.
//
// It reads commands from standard input, one a line, and answers each with one line on
// standard output. A command may start with a tag (#N); its answer then starts with the
// same tag, so that a client that gave up waiting never takes a late answer for the next. It finds other processes' windows, reads them back (texts, styles,
// list entries, message boxes) and sends real mouse and keyboard input with SendInput.
// Strings in answers are hex of their bytes in the ANSI code page, so they compare exactly.
//
//   find TIMEOUT_MS TITLE               a visible unowned dialog (#32770) so titled -> hwnd or 0
//   files DIR PATTERN                   the names FindFirstFileA/FindNextFileA give, in order,
//                                       each with its kind (f or d) and its 8.3 alias
//   msgbox TIMEOUT_MS OWNER             the message box owned by OWNER -> fields or "none"
//   dialog HWND                         the window, its children and the focus
//   list HWND                           a list box's entries, checks, selection and rects
//   workarea                            the desktop's work area
//   click X Y | dblclick X Y            a real click at screen coordinates
//   key VK [VK...]                      presses the keys together, releases them in reverse
//   idle HWND TIMEOUT_MS                waits until the window's process waits for input -> 0 or error
//   item HWND ID                        the dialog's control ID -> hwnd or 0
//   alive HWND                          1 when the window still exists
//   foreground HWND                     brings the window to the foreground
//   sleep MS                            answers after MS milliseconds (tests of the bench itself)
//   pid HWND                            the window's process id
//   acc HWND                            the window's accessible object (Active Accessibility):
//                                       its child count and role, then each child's name,
//                                       role, state and default action -> fields or "error HR"
//   accdo HWND CHILD                    that child's default action -> the HRESULT
//   hook PID                            records state-change events of that process from now on
//   events TIMEOUT_MS                   waits up to the time for the first event recorded,
//                                       then answers them all (hwnd:object:child) and forgets them
//   quit
#include <windows.h>
#include <oleacc.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

namespace {

std::string Unhex(const char* hex)
{
    std::string out;
    for (size_t i = 0; hex[i] && hex[i + 1]; i += 2) {
        char pair[3] = {hex[i], hex[i + 1], 0};
        out += (char)strtoul(pair, NULL, 16);
    }
    return out;
}

std::string Hex(const std::string& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::string Ansi(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    int n = WideCharToMultiByte(CP_ACP, 0, text.data(), (int)text.size(), NULL, 0, NULL, NULL);
    std::string out(n, '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), (int)text.size(), &out[0], n, NULL, NULL);
    return out;
}

std::string WindowText(HWND hWnd)
{
    std::wstring text(4096, L'\0');
    LRESULT n = SendMessageW(hWnd, WM_GETTEXT, text.size(), (LPARAM)&text[0]);
    text.resize(n > 0 ? (size_t)n : 0);
    return Ansi(text);
}

std::string ClassName(HWND hWnd)
{
    char name[256] = "";
    GetClassNameA(hWnd, name, sizeof name);
    return name;
}

std::string Rect(const RECT& r)
{
    char sz[96];
    snprintf(sz, sizeof sz, "%ld,%ld,%ld,%ld", r.left, r.top, r.right, r.bottom);
    return sz;
}

std::string Handle(HWND h)
{
    char sz[32];
    snprintf(sz, sizeof sz, "%lu", (unsigned long)(ULONG_PTR)h);
    return sz;
}

HWND ParseHandle(const char* s)
{
    return (HWND)(ULONG_PTR)strtoul(s, NULL, 10);
}

struct FindDialog {
    std::string title;
    HWND found;
};

BOOL CALLBACK FindDialogProc(HWND hWnd, LPARAM lParam)
{
    FindDialog* f = (FindDialog*)lParam;
    if (IsWindowVisible(hWnd) && ClassName(hWnd) == "#32770" && GetWindow(hWnd, GW_OWNER) == NULL &&
        WindowText(hWnd) == f->title) {
        f->found = hWnd;
        return FALSE;
    }
    return TRUE;
}

struct FindOwned {
    HWND owner;
    HWND found;
};

BOOL CALLBACK FindOwnedProc(HWND hWnd, LPARAM lParam)
{
    FindOwned* f = (FindOwned*)lParam;
    if (GetWindow(hWnd, GW_OWNER) == f->owner && IsWindowVisible(hWnd) && ClassName(hWnd) == "#32770") {
        f->found = hWnd;
        return FALSE;
    }
    return TRUE;
}

// Enumerates the top-level windows until the finder has found one or the time is up.
template <typename Finder>
HWND PollWindows(DWORD timeoutMs, WNDENUMPROC proc, Finder& f)
{
    DWORD deadline = GetTickCount() + timeoutMs;
    do {
        EnumWindows(proc, (LPARAM)&f);
        if (f.found)
            break;
        Sleep(50);
    } while ((LONG)(deadline - GetTickCount()) > 0);
    return f.found;
}

BOOL CALLBACK CollectChild(HWND hWnd, LPARAM lParam)
{
    ((std::vector<HWND>*)lParam)->push_back(hWnd);
    return TRUE;
}

std::vector<HWND> Children(HWND hWnd)
{
    std::vector<HWND> children;
    EnumChildWindows(hWnd, CollectChild, (LPARAM)&children);
    return children;
}

HWND FocusOf(HWND hWnd)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    DWORD tid = GetWindowThreadProcessId(hWnd, NULL);
    return GetGUIThreadInfo(tid, &info) ? info.hwndFocus : NULL;
}

void Dialog(HWND hWnd)
{
    RECT r;
    GetWindowRect(hWnd, &r);
    RECT rc;
    GetClientRect(hWnd, &rc);
    std::string out = "rect=" + Rect(r) + " client=" + Rect(rc) + " title=" + Hex(WindowText(hWnd)) +
                      " foreground=" + (GetForegroundWindow() == hWnd ? "1" : "0");
    HWND focus = FocusOf(hWnd);
    out += " focus=" + std::to_string(focus ? GetDlgCtrlID(focus) : 0);
    for (HWND child : Children(hWnd)) {
        RECT cr;
        GetWindowRect(child, &cr);
        char sz[64];
        snprintf(sz, sizeof sz, "%d", GetDlgCtrlID(child));
        out += std::string(" child=") + sz + ":" + ClassName(child) + ":" + Hex(WindowText(child)) + ":" + Rect(cr) +
               ":" + (IsWindowVisible(child) ? "1" : "0");
    }
    printf("%s\n", out.c_str());
}

void List(HWND hWnd)
{
    int count = (int)SendMessageW(hWnd, LB_GETCOUNT, 0, 0);
    std::string out = "count=" + std::to_string(count) +
                      " caret=" + std::to_string((int)SendMessageW(hWnd, LB_GETCARETINDEX, 0, 0)) +
                      " top=" + std::to_string((int)SendMessageW(hWnd, LB_GETTOPINDEX, 0, 0)) +
                      " itemheight=" + std::to_string((int)SendMessageW(hWnd, LB_GETITEMHEIGHT, 0, 0)) +
                      " extent=" + std::to_string((int)SendMessageW(hWnd, LB_GETHORIZONTALEXTENT, 0, 0));
    POINT origin = {0, 0};
    ClientToScreen(hWnd, &origin);
    RECT rc;
    GetClientRect(hWnd, &rc);
    out += " client=" + Rect({rc.left + origin.x, rc.top + origin.y, rc.right + origin.x, rc.bottom + origin.y});
    for (int i = 0; i < count; ++i) {
        int len = (int)SendMessageW(hWnd, LB_GETTEXTLEN, i, 0);
        // Win32 across processes: ask for the text as UTF-16 and convert it back.
        std::wstring text(len > 0 ? len + 1 : 1, L'\0');
        int got = (int)SendMessageW(hWnd, LB_GETTEXT, i, (LPARAM)&text[0]);
        text.resize(got > 0 ? got : 0);
        int height = (int)SendMessageW(hWnd, LB_GETITEMHEIGHT, i, 0);
        int top = (int)SendMessageW(hWnd, LB_GETTOPINDEX, 0, 0);
        RECT ir = {rc.left, (i - top) * height, rc.right, (i - top + 1) * height};
        OffsetRect(&ir, origin.x, origin.y);
        out += " item=" + Hex(Ansi(text)) + ":" + std::to_string((int)SendMessageW(hWnd, LB_GETITEMDATA, i, 0)) + ":" +
               std::to_string((int)SendMessageW(hWnd, LB_GETSEL, i, 0)) + ":" + Rect(ir);
    }
    printf("%s\n", out.c_str());
}

void MsgBox(HWND hWnd)
{
    std::string text, buttons;
    int icon = 0;
    for (HWND child : Children(hWnd)) {
        int id = GetDlgCtrlID(child);
        std::string cls = ClassName(child);
        if (cls == "Static" && id == 0xFFFF)
            text = WindowText(child);
        else if (cls == "Static" && id == 1088)
            icon = SendMessageW(child, STM_GETICON, 0, 0) != 0;
        else if (cls == "Button" && IsWindowVisible(child)) {
            RECT r;
            GetWindowRect(child, &r);
            buttons += " button=" + std::to_string(id) + ":" + Hex(WindowText(child)) + ":" + Rect(r);
        }
    }
    RECT rcBox;
    GetWindowRect(hWnd, &rcBox);
    printf("hwnd=%s title=%s text=%s icon=%d owner_enabled=%d rect=%s%s\n", Handle(hWnd).c_str(),
           Hex(WindowText(hWnd)).c_str(), Hex(text).c_str(), icon, IsWindowEnabled(GetWindow(hWnd, GW_OWNER)) ? 1 : 0,
           Rect(rcBox).c_str(), buttons.c_str());
}

void Mouse(int x, int y, DWORD down, DWORD up, int clicks)
{
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    INPUT move = {};
    move.type = INPUT_MOUSE;
    move.mi.dx = (x * 65536 + cx / 2) / cx;
    move.mi.dy = (y * 65536 + cy / 2) / cy;
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &move, sizeof move);
    for (int i = 0; i < 50; ++i) {
        POINT pt;
        GetCursorPos(&pt);
        if (pt.x == x && pt.y == y)
            break;
        Sleep(10);
    }
    Sleep(50);
    for (int i = 0; i < clicks; ++i) {
        // The presses carry the position too: a press alone may land where the pointer was
        // before the move reached the display.
        INPUT press[2] = {move, move};
        press[0].mi.dwFlags |= down;
        press[1].mi.dwFlags |= up;
        SendInput(2, press, sizeof(INPUT));
        Sleep(40);
    }
}

void Keys(const std::vector<WORD>& vks)
{
    std::vector<INPUT> inputs;
    for (WORD vk : vks) {
        INPUT in = {};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.wScan = (WORD)MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
        inputs.push_back(in);
    }
    for (auto it = vks.rbegin(); it != vks.rend(); ++it) {
        INPUT in = {};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = *it;
        in.ki.wScan = (WORD)MapVirtualKeyA(*it, MAPVK_VK_TO_VSC);
        in.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(in);
    }
    SendInput((UINT)inputs.size(), inputs.data(), sizeof(INPUT));
}

IAccessible* ClientObject(HWND hWnd)
{
    IAccessible* pAcc = NULL;
    if (FAILED(AccessibleObjectFromWindow(hWnd, (DWORD)OBJID_CLIENT, IID_IAccessible, (void**)&pAcc)))
        return NULL;
    return pAcc;
}

VARIANT Child(long id)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

std::string TakeBstr(BSTR b)
{
    std::string s = b ? Ansi(std::wstring(b, SysStringLen(b))) : std::string();
    SysFreeString(b);
    return s;
}

void Accessible(HWND hWnd)
{
    IAccessible* pAcc = ClientObject(hWnd);
    if (pAcc == NULL) {
        printf("error no-object\n");
        return;
    }
    long nChildren = -1;
    HRESULT hr = pAcc->get_accChildCount(&nChildren);
    VARIANT role;
    VariantInit(&role);
    pAcc->get_accRole(Child(CHILDID_SELF), &role);
    std::string out = "count=" + std::to_string(nChildren) + " role=" + std::to_string(role.vt == VT_I4 ? role.lVal : -1);
    for (long i = 1; SUCCEEDED(hr) && i <= nChildren; ++i) {
        BSTR name = NULL, action = NULL;
        VARIANT childRole, state;
        VariantInit(&childRole);
        VariantInit(&state);
        HRESULT hrName = pAcc->get_accName(Child(i), &name);
        pAcc->get_accRole(Child(i), &childRole);
        pAcc->get_accState(Child(i), &state);
        pAcc->get_accDefaultAction(Child(i), &action);
        out += " child=" + (SUCCEEDED(hrName) ? Hex(TakeBstr(name)) : std::string("-")) + ":" +
               std::to_string(childRole.vt == VT_I4 ? childRole.lVal : -1) + ":" +
               std::to_string(state.vt == VT_I4 ? state.lVal : -1) + ":" + Hex(TakeBstr(action));
    }
    pAcc->Release();
    printf("%s\n", out.c_str());
}

std::vector<std::string> g_events;

void CALLBACK WinEventProc(HWINEVENTHOOK, DWORD, HWND hWnd, LONG idObject, LONG idChild, DWORD, DWORD)
{
    g_events.push_back(Handle(hWnd) + ":" + std::to_string(idObject) + ":" + std::to_string(idChild));
}

// Out-of-context events arrive as messages to this thread: pump until one came or time is up.
void Events(DWORD dwTimeout)
{
    const DWORD dwStart = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        const DWORD dwGone = GetTickCount() - dwStart;
        if (!g_events.empty() || dwGone >= dwTimeout)
            break;
        MsgWaitForMultipleObjects(0, NULL, FALSE, dwTimeout - dwGone < 50 ? dwTimeout - dwGone : 50, QS_ALLINPUT);
    }
    std::string out = "events";
    for (const std::string& e : g_events)
        out += " " + e;
    g_events.clear();
    printf("%s\n", out.c_str());
}

}  // namespace

int main()
{
    setvbuf(stdout, NULL, _IONBF, 0);
    CoInitialize(NULL);   // Active Accessibility's objects come through COM
    char line[1024];
    while (fgets(line, sizeof line, stdin)) {
        char* argv[16] = {};
        int argc = 0;
        for (char* tok = strtok(line, " \r\n"); tok && argc < 16; tok = strtok(NULL, " \r\n"))
            argv[argc++] = tok;
        if (argc > 0 && argv[0][0] == '#') {
            printf("%s ", argv[0]);   // every command below answers with exactly one line
            for (int i = 1; i < argc; ++i)
                argv[i - 1] = argv[i];
            --argc;
        }
        if (argc == 0) {
            printf("error empty command\n");
            continue;
        }
        std::string cmd = argv[0];
        if (cmd == "quit") {
            printf("bye\n");
            break;
        } else if (cmd == "find" && argc == 3) {
            FindDialog f = {Unhex(argv[2]), NULL};
            printf("%s\n", Handle(PollWindows(strtoul(argv[1], NULL, 10), FindDialogProc, f)).c_str());
        } else if (cmd == "msgbox" && argc == 3) {
            FindOwned f = {ParseHandle(argv[2]), NULL};
            if (PollWindows(strtoul(argv[1], NULL, 10), FindOwnedProc, f)) {
                Sleep(150);   // let it finish laying out its buttons
                MsgBox(f.found);
            } else {
                printf("none\n");
            }
        } else if (cmd == "files" && argc == 3) {
            std::string pattern = Unhex(argv[1]) + "\\" + argv[2];
            WIN32_FIND_DATAA data;
            HANDLE h = FindFirstFileA(pattern.c_str(), &data);
            std::string out = "files";
            if (h != INVALID_HANDLE_VALUE) {
                do {
                    out += std::string(" ") + Hex(data.cFileName) + ":" +
                           ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? "d" : "f") + ":" +
                           Hex(data.cAlternateFileName);
                } while (FindNextFileA(h, &data));
                FindClose(h);
            }
            printf("%s\n", out.c_str());
        } else if (cmd == "dialog" && argc == 2) {
            Dialog(ParseHandle(argv[1]));
        } else if (cmd == "list" && argc == 2) {
            List(ParseHandle(argv[1]));
        } else if (cmd == "workarea") {
            RECT r;
            SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
            printf("%s\n", Rect(r).c_str());
        } else if ((cmd == "click" || cmd == "dblclick") && argc == 3) {
            Mouse(atoi(argv[1]), atoi(argv[2]), MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, cmd == "dblclick" ? 2 : 1);
            printf("ok\n");
        } else if (cmd == "key" && argc >= 2) {
            std::vector<WORD> vks;
            for (int i = 1; i < argc; ++i)
                vks.push_back((WORD)strtoul(argv[i], NULL, 0));
            Keys(vks);
            printf("ok\n");
        } else if (cmd == "idle" && argc == 3) {
            DWORD pid = 0;
            GetWindowThreadProcessId(ParseHandle(argv[1]), &pid);
            HANDLE h = OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, pid);
            DWORD r = h ? WaitForInputIdle(h, strtoul(argv[2], NULL, 10)) : WAIT_FAILED;
            if (h)
                CloseHandle(h);
            printf("%lu\n", (unsigned long)r);
        } else if (cmd == "item" && argc == 3) {
            printf("%s\n", Handle(GetDlgItem(ParseHandle(argv[1]), atoi(argv[2]))).c_str());
        } else if (cmd == "alive" && argc == 2) {
            printf("%d\n", IsWindow(ParseHandle(argv[1])) ? 1 : 0);
        } else if (cmd == "pid" && argc == 2) {
            DWORD pid = 0;
            GetWindowThreadProcessId(ParseHandle(argv[1]), &pid);
            printf("%lu\n", (unsigned long)pid);
        } else if (cmd == "acc" && argc == 2) {
            Accessible(ParseHandle(argv[1]));
        } else if (cmd == "accdo" && argc == 3) {
            IAccessible* pAcc = ClientObject(ParseHandle(argv[1]));
            HRESULT hr = pAcc ? pAcc->accDoDefaultAction(Child(strtol(argv[2], NULL, 10))) : E_FAIL;
            if (pAcc)
                pAcc->Release();
            printf("%ld\n", (long)hr);
        } else if (cmd == "hook" && argc == 2) {
            // Out of context, filtered by the process. (Under Wine 8, adding
            // WINEVENT_SKIPOWNPROCESS to a process-filtered hook delivers nothing.)
            HWINEVENTHOOK h = SetWinEventHook(EVENT_OBJECT_STATECHANGE, EVENT_OBJECT_STATECHANGE, NULL, WinEventProc,
                                              strtoul(argv[1], NULL, 10), 0, WINEVENT_OUTOFCONTEXT);
            g_events.clear();
            printf("%d\n", h ? 1 : 0);
        } else if (cmd == "events" && argc == 2) {
            Events(strtoul(argv[1], NULL, 10));
        } else if (cmd == "sleep" && argc == 2) {
            Sleep(strtoul(argv[1], NULL, 10));
            printf("ok\n");
        } else if (cmd == "foreground" && argc == 2) {
            printf("%d\n", SetForegroundWindow(ParseHandle(argv[1])) ? 1 : 0);
        } else {
            printf("error unknown command\n");
        }
    }
    return 0;
}
