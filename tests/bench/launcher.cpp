// launcher.exe: times a dialog program from its process start, with the clock of this
// Wine session, and prints one time (milliseconds) a line.
//
//   launcher startup N EXE [EXE...]   start each program N times, alternating, and time
//                                     until its dialog is shown and it waits for input
//   launcher install N EXE            start it N times; time from the INSTALL click to
//                                     the outcome message
// The programs run in the current directory; each is ended by its own "EXIT" or "OK".
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

LARGE_INTEGER g_frequency;

double Milliseconds(const LARGE_INTEGER& from)
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return (now.QuadPart - from.QuadPart) * 1000.0 / g_frequency.QuadPart;
}

struct Find {
    DWORD pid;
    HWND owner;
    HWND found;
};

BOOL CALLBACK FindProc(HWND hWnd, LPARAM lParam)
{
    Find* f = (Find*)lParam;
    DWORD pid = 0;
    GetWindowThreadProcessId(hWnd, &pid);
    char cls[16] = "";
    GetClassNameA(hWnd, cls, sizeof cls);
    if (pid == f->pid && IsWindowVisible(hWnd) && strcmp(cls, "#32770") == 0 && GetWindow(hWnd, GW_OWNER) == f->owner) {
        f->found = hWnd;
        return FALSE;
    }
    return TRUE;
}

// The visible dialog of the process owned by owner (NULL: the main dialog); polls 60 s at most.
HWND WaitDialog(DWORD pid, HWND owner)
{
    for (int i = 0; i < 60000; ++i) {
        Find f = {pid, owner, NULL};
        EnumWindows(FindProc, (LPARAM)&f);
        if (f.found)
            return f.found;
        Sleep(1);
    }
    return NULL;
}

bool Start(const char* exe, PROCESS_INFORMATION* pi, LARGE_INTEGER* started)
{
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    char command[MAX_PATH + 2];
    snprintf(command, sizeof command, "\"%s\"", exe);
    QueryPerformanceCounter(started);
    return CreateProcessA(NULL, command, NULL, NULL, FALSE, 0, NULL, NULL, &si, pi) != 0;
}

void End(PROCESS_INFORMATION& pi, HWND hWnd)
{
    PostMessageA(hWnd, WM_COMMAND, IDCANCEL, 0);
    if (WaitForSingleObject(pi.hProcess, 20000) != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 1);   // the process this launcher started
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

}  // namespace

int main(int argc, char** argv)
{
    setvbuf(stdout, NULL, _IONBF, 0);
    QueryPerformanceFrequency(&g_frequency);
    if (argc < 4)
        return 2;
    const int n = atoi(argv[2]);

    if (strcmp(argv[1], "startup") == 0) {
        for (int round = 0; round < n; ++round) {
            for (int i = 3; i < argc; ++i) {
                // Every other round in reverse order, so that neither program always
                // follows the other.
                const int k = round % 2 ? argc + 2 - i : i;
                PROCESS_INFORMATION pi;
                LARGE_INTEGER started;
                if (!Start(argv[k], &pi, &started))
                    return 1;
                WaitForInputIdle(pi.hProcess, 60000);
                HWND hDlg = WaitDialog(pi.dwProcessId, NULL);
                double ms = Milliseconds(started);
                printf("%s %.2f\n", argv[k], ms);
                End(pi, hDlg);
                Sleep(300);   // let Wine finish with the ended program before the next starts
            }
        }
        return 0;
    }

    if (strcmp(argv[1], "install") == 0) {
        for (int round = 0; round < n; ++round) {
            PROCESS_INFORMATION pi;
            LARGE_INTEGER started;
            if (!Start(argv[3], &pi, &started))
                return 1;
            WaitForInputIdle(pi.hProcess, 60000);
            HWND hDlg = WaitDialog(pi.dwProcessId, NULL);
            LARGE_INTEGER pressed;
            QueryPerformanceCounter(&pressed);
            // What a click on "INSTALL" sends the dialog.
            PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(hDlg, IDOK));
            HWND hBox = WaitDialog(pi.dwProcessId, hDlg);
            printf("%s %.2f\n", argv[3], Milliseconds(pressed));
            PostMessageA(hBox, WM_COMMAND, IDOK, 0);
            if (WaitForSingleObject(pi.hProcess, 20000) != WAIT_OBJECT_0)
                TerminateProcess(pi.hProcess, 1);
            CloseHandle(pi.hThread);
            CloseHandle(pi.hProcess);
        }
        return 0;
    }
    return 2;
}
