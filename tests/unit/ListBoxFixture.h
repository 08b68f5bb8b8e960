// A real owner-drawn list box, as the install dialog has it, with a CCheckListBox attached.
#pragma once

#include "framework/CCheckListBox.h"
#include "framework/CString.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

class ListBoxFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_hParent = CreateWindowExA(0, "STATIC", "parent", WS_POPUP, 0, 0, 400, 300, NULL, NULL, NULL, NULL);
        ASSERT_NE(m_hParent, nullptr);
        HWND hList = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL |
                                     LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT |
                                     LBS_EXTENDEDSEL, 10, 10, 200, 120, m_hParent, (HMENU)1001, NULL, NULL);
        ASSERT_NE(hList, nullptr);
        ASSERT_TRUE(m_userList.SubclassWindow(hList));
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
