// bare.exe: the benchmark's baseline. The same dialog template, icon and user list as
// Sorvanil.exe, with plain Win32 calls and no framework; "INSTALL" and "EXIT" just close it.
#include "instaide/InstAide.h"
#include "res/resource.h"

#include <string.h>

static HICON g_hIcon;

static void FillUsers(HWND hList)
{
    LONG n = InstAideUserCount();
    char name[256];
    for (LONG i = n - 1; i >= 0; --i) {
        memset(name, 0, sizeof name);
        DWORD cb = sizeof name;
        InstAideUserName(i, name, &cb);
        name[255] = '\0';
        LRESULT pos = SendMessageA(hList, LB_ADDSTRING, 0, (LPARAM)name);
        if (pos >= 0)
            SendMessageA(hList, LB_SETITEMDATA, pos, 1);
    }
}

static void DrawEntry(const DRAWITEMSTRUCT* d)
{
    if ((int)d->itemID < 0)
        return;
    RECT box = {d->rcItem.left + 2, d->rcItem.top + 1, d->rcItem.left + 15, d->rcItem.top + 14};
    RECT text = d->rcItem;
    text.left = box.right + 3;
    FillRect(d->hDC, &d->rcItem, GetSysColorBrush(COLOR_WINDOW));
    DrawFrameControl(d->hDC, &box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | (d->itemData ? DFCS_CHECKED : 0));
    char s[256];
    if (SendMessageA(d->hwndItem, LB_GETTEXT, d->itemID, (LPARAM)s) > 0)
        DrawTextA(d->hDC, s, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

static INT_PTR CALLBACK DialogProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: {
        RECT area, r;
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
        GetWindowRect(hDlg, &r);
        SetWindowPos(hDlg, NULL, (area.right - (r.right - r.left)) / 2, (area.bottom - (r.bottom - r.top)) / 2, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER);
        SendMessageA(hDlg, WM_SETICON, ICON_BIG, (LPARAM)g_hIcon);
        SendMessageA(hDlg, WM_SETICON, ICON_SMALL, (LPARAM)g_hIcon);
        HWND hList = GetDlgItem(hDlg, IDC_USER_LIST);
        SendMessageA(hList, LB_SETITEMHEIGHT, 0, 16);
        FillUsers(hList);
        return TRUE;
    }
    case WM_DRAWITEM:
        DrawEntry((const DRAWITEMSTRUCT*)lParam);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(hDlg, LOWORD(wParam));
            return TRUE;
        }
        break;
    }
    return FALSE;
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    g_hIcon = LoadIconA(hInstance, MAKEINTRESOURCEA(IDR_MAINFRAME));
    DialogBoxParamA(hInstance, MAKEINTRESOURCEA(IDD_INSTALL_DIALOG), NULL, DialogProc, 0);
    return 0;
}
