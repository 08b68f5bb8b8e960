// Real owner-drawn list boxes, as the install dialog has them, with a CCheckListBox attached,
// in a parent that records the notifications it receives and, as a dialog does, lets the
// list draw its own entries.
#pragma once

#include "framework/CCheckListBox.h"
#include "framework/CString.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

const int kListId = 1001;

// Where the parent records the notification codes it receives from the list; NULL: nowhere.
inline std::vector<int>* g_pListNotifications = nullptr;

inline LRESULT CALLBACK ListParentProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && LOWORD(wParam) == kListId && g_pListNotifications)
        g_pListNotifications->push_back(HIWORD(wParam));
    if (message == WM_DRAWITEM)
        return SendMessageA(((LPDRAWITEMSTRUCT)lParam)->hwndItem, OCM_DRAWITEM, wParam, lParam);
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

// A parent, hidden or shown (shown: its list's entries are really drawn).
inline HWND CreateListParent(bool bShown)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ListParentProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "ListBoxFixtureParent";
    RegisterClassA(&wc);   // again for each test: fails harmlessly once registered
    return CreateWindowExA(0, wc.lpszClassName, "parent", WS_POPUP | (bShown ? WS_VISIBLE : 0), 0, 0, 300, 200, NULL,
                           NULL, wc.hInstance, NULL);
}

// The install dialog's list box (extended selection, unless dwSelStyle says otherwise),
// bound to list.
inline bool CreateCheckList(HWND hParent, CCheckListBox& list, DWORD dwSelStyle = LBS_EXTENDEDSEL)
{
    HWND hList = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY |
                                 LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | dwSelStyle,
                                 10, 10, 200, 120, hParent, (HMENU)kListId, NULL, NULL);
    return hList != NULL && list.SubclassWindow(hList);
}

class ListBoxFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_hParent = CreateListParent(false);
        ASSERT_NE(m_hParent, nullptr);
        ASSERT_TRUE(CreateCheckList(m_hParent, m_userList));
    }

    void TearDown() override { DestroyWindow(m_hParent); }

    // The entries from top to bottom: text and check state.
    std::vector<std::pair<std::string, int>> Entries()
    {
        std::vector<std::pair<std::string, int>> entries;
        for (int i = 0; i < m_userList.GetCount(); ++i) {
            CString text;
            m_userList.GetText(i, text);
            entries.emplace_back(std::string(text, text.GetLength()), m_userList.GetCheck(i));
        }
        return entries;
    }

    HWND m_hParent = nullptr;
    CCheckListBox m_userList;
};
