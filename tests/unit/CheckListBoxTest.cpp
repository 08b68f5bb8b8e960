// CCheckListBox as a control: a real owner-drawn list box in a hidden parent that records
// the notifications it receives, driven with in-process messages. Each case gives the
// starting checks, selection and caret, one input, and what must follow.
#include "ListBoxFixture.h"

#include <string>
#include <vector>

namespace {

enum Input { ClickBox, ClickText, DoubleClickBox, Space };

struct Case {
    const char* what;
    DWORD dwSelStyle;             // LBS_EXTENDEDSEL, or 0 for a single selection
    std::vector<int> checks;      // before, top to bottom
    std::vector<int> selected;    // entries selected before
    int nCaret;                   // the caret entry before
    Input input;
    int nTarget;                  // the entry the mouse input aims at
    std::vector<int> expected;    // checks after
    std::vector<int> notifications;   // codes the parent received, in order
};

// A failing case names itself.
void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.what;
}

const int SEL = LBN_SELCHANGE, CHK = CLBN_CHKCHANGE;

const Case kCases[] = {
    {"box of an unselected entry", LBS_EXTENDEDSEL, {1, 1, 1, 1}, {}, 0, ClickBox, 1, {1, 0, 1, 1}, {CHK}},
    {"box of an unchecked entry", LBS_EXTENDEDSEL, {1, 0, 1, 1}, {}, 0, ClickBox, 1, {1, 1, 1, 1}, {CHK}},
    {"box inside a selection: all selected follow", LBS_EXTENDEDSEL, {1, 1, 1, 1}, {0, 1, 2}, 2, ClickBox, 1,
     {0, 0, 0, 1}, {CHK}},
    {"box inside a mixed selection takes the new state", LBS_EXTENDEDSEL, {0, 1, 0, 1}, {0, 1, 2}, 2, ClickBox, 0,
     {1, 1, 1, 1}, {CHK}},
    {"box outside the selection: only that entry", LBS_EXTENDEDSEL, {1, 1, 1, 1}, {0, 1, 2}, 2, ClickBox, 3,
     {1, 1, 1, 0}, {CHK}},
    {"text only selects", LBS_EXTENDEDSEL, {1, 1, 1, 1}, {}, 0, ClickText, 2, {1, 1, 1, 1}, {SEL}},
    {"text of a checked selection only selects", LBS_EXTENDEDSEL, {0, 1, 0, 1}, {0, 1}, 1, ClickText, 3,
     {0, 1, 0, 1}, {SEL}},
    {"double click on the box toggles twice", LBS_EXTENDEDSEL, {1, 1, 1, 1}, {}, 0, DoubleClickBox, 2,
     {1, 1, 1, 1}, {CHK, CHK}},
    {"Space on the caret entry", LBS_EXTENDEDSEL, {1, 1, 1, 1}, {}, 1, Space, -1, {1, 0, 1, 1}, {CHK}},
    {"Space gives the selection the caret entry's new state", LBS_EXTENDEDSEL, {1, 0, 1, 1}, {0, 1, 2}, 2, Space,
     -1, {0, 0, 0, 1}, {CHK}},
    {"single selection: box toggles one entry", 0, {1, 1, 1, 1}, {1}, 1, ClickBox, 1, {1, 0, 1, 1}, {CHK}},
    {"single selection: Space toggles the selected entry", 0, {1, 1, 1, 1}, {2}, 2, Space, -1, {1, 1, 0, 1}, {CHK}},
    {"single selection: text only selects", 0, {1, 1, 1, 1}, {1}, 1, ClickText, 3, {1, 1, 1, 1}, {SEL}},
};

class CheckListBoxControl : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override
    {
        m_hParent = CreateListParent(false);
        ASSERT_NE(m_hParent, nullptr);
        ASSERT_TRUE(CreateCheckList(m_hParent, m_list, GetParam().dwSelStyle));
        g_pListNotifications = &m_notifications;
    }

    void TearDown() override
    {
        g_pListNotifications = nullptr;
        DestroyWindow(m_hParent);
    }

    // A point inside the entry: on its check box, or well into its text.
    LPARAM Point(int nIndex, bool bOnBox)
    {
        RECT rc;
        EXPECT_NE(SendMessageA(m_list.m_hWnd, LB_GETITEMRECT, nIndex, (LPARAM)&rc), LB_ERR);
        return MAKELPARAM(bOnBox ? rc.left + 6 : rc.left + 80, (rc.top + rc.bottom) / 2);
    }

    void Send(UINT message, WPARAM wParam, LPARAM lParam) { SendMessageA(m_list.m_hWnd, message, wParam, lParam); }

    std::vector<int> Checks()
    {
        std::vector<int> checks;
        for (int i = 0; i < m_list.GetCount(); ++i)
            checks.push_back(m_list.GetCheck(i));
        return checks;
    }

    HWND m_hParent = nullptr;
    CCheckListBox m_list;
    std::vector<int> m_notifications;
};

TEST_P(CheckListBoxControl, InputGivesTheExpectedChecksAndNotifications)
{
    const Case& c = GetParam();
    const char* names[] = {"Ann", "Bob", "Cy", "Dee"};
    for (size_t i = 0; i < c.checks.size(); ++i)
        m_list.SetCheck(m_list.AddString(names[i]), c.checks[i]);
    const bool bExtended = c.dwSelStyle & LBS_EXTENDEDSEL;
    for (int i : c.selected)
        Send(bExtended ? LB_SETSEL : LB_SETCURSEL, bExtended ? TRUE : i, bExtended ? i : 0);
    Send(LB_SETCARETINDEX, c.nCaret, FALSE);
    SetFocus(m_list.m_hWnd);
    m_notifications.clear();

    switch (c.input) {
    case ClickBox:
    case ClickText:
        Send(WM_LBUTTONDOWN, MK_LBUTTON, Point(c.nTarget, c.input == ClickBox));
        Send(WM_LBUTTONUP, 0, Point(c.nTarget, c.input == ClickBox));
        break;
    case DoubleClickBox:
        // What a double click sends: down, up, then a double-click message and up again.
        Send(WM_LBUTTONDOWN, MK_LBUTTON, Point(c.nTarget, true));
        Send(WM_LBUTTONUP, 0, Point(c.nTarget, true));
        Send(WM_LBUTTONDBLCLK, MK_LBUTTON, Point(c.nTarget, true));
        Send(WM_LBUTTONUP, 0, Point(c.nTarget, true));
        break;
    case Space:
        Send(WM_KEYDOWN, VK_SPACE, 0x00390001);
        Send(WM_CHAR, ' ', 0x00390001);
        Send(WM_KEYUP, VK_SPACE, 0xC0390001);
        break;
    }

    EXPECT_EQ(Checks(), c.expected);
    EXPECT_EQ(m_notifications, c.notifications);
}

INSTANTIATE_TEST_SUITE_P(Cases, CheckListBoxControl, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::to_string(info.index); });

// A list scrolled sideways: a click toggles a box only where the box is drawn.
class CheckListBoxScrolled : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_hParent = CreateListParent(true);   // shown, so that the entries are really drawn
        ASSERT_NE(m_hParent, nullptr);
        ASSERT_TRUE(CreateCheckList(m_hParent, m_list));
        m_list.SetCheck(m_list.AddString(std::string(255, 'N').c_str()), 1);
        m_list.SetCheck(m_list.AddString("Ann"), 1);
    }

    void TearDown() override { DestroyWindow(m_hParent); }

    // Scrolls the list sideways to the given pixel position and lets it draw.
    void ScrollTo(int x)
    {
        SendMessageA(m_list.m_hWnd, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, x), 0);
        UpdateWindow(m_list.m_hWnd);
    }

    // A click at a client x on the first entry, as the list receives it.
    void ClickAt(int x)
    {
        RECT rc;
        SendMessageA(m_list.m_hWnd, LB_GETITEMRECT, 0, (LPARAM)&rc);
        const LPARAM lParam = MAKELPARAM(x, (rc.top + rc.bottom) / 2);
        SendMessageA(m_list.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, lParam);
        SendMessageA(m_list.m_hWnd, WM_LBUTTONUP, 0, lParam);
    }

    HWND m_hParent = nullptr;
    CCheckListBox m_list;
};

TEST_F(CheckListBoxScrolled, AClickOnTextWhereTheBoxWouldBeUnscrolledOnlySelects)
{
    ScrollTo(150);
    ASSERT_EQ(GetScrollPos(m_list.m_hWnd, SB_HORZ), 150);
    ClickAt(6);   // the visible text's left edge; the box is 150 pixels further left
    EXPECT_EQ(m_list.GetCheck(0), 1);
    EXPECT_GT(m_list.GetSel(0), 0);
}

TEST_F(CheckListBoxScrolled, AClickOnAPartlyScrolledBoxTogglesIt)
{
    ScrollTo(5);   // the box, from client x 2 - 5 to 15 - 5, is partly on screen
    ClickAt(6);
    EXPECT_EQ(m_list.GetCheck(0), 0);
    ClickAt(13);   // right of the box now: text
    EXPECT_EQ(m_list.GetCheck(0), 0);
}

TEST_F(CheckListBoxScrolled, ScrolledBackTheBoxWorksAgain)
{
    ScrollTo(150);
    ScrollTo(0);
    ClickAt(6);
    EXPECT_EQ(m_list.GetCheck(0), 0);
}

}  // namespace
