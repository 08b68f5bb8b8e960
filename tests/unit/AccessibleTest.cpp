// The check list box's accessible object, asked from a worker thread in another apartment,
// so that every call goes through COM's marshalling as a screen reader's would, while this
// thread pumps messages as the program's does.
#include "ListBoxFixture.h"

#include <oleacc.h>

#include <functional>
#include <string>
#include <vector>

namespace {

VARIANT Child(long id)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

std::string Narrow(BSTR b)
{
    std::string s;
    for (UINT i = 0; b && i < SysStringLen(b); ++i)
        s += (char)b[i];
    SysFreeString(b);
    return s;
}

struct Entry {
    std::string name;
    long role, state;
    std::string action;
};

class AccessibleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CoInitialize(NULL);
        m_hParent = CreateListParent(true);
        ASSERT_NE(m_hParent, nullptr);
        ASSERT_TRUE(CreateCheckList(m_hParent, m_list));
        const char* names[] = {"Cy", "Bob", "Ann", "Dee"};
        const int checks[] = {1, 0, 1, 1};
        for (int i = 0; i < 4; ++i)
            m_list.SetCheck(m_list.AddString(names[i]), checks[i]);
    }

    void TearDown() override
    {
        if (IsWindow(m_hParent))
            DestroyWindow(m_hParent);
        CoUninitialize();
    }

    // Runs work on a worker thread with its own (multithreaded) apartment, given the list's
    // accessible object as that apartment sees it, while this thread pumps messages. When the
    // work calls Midway(), this thread runs midway before the work goes on.
    struct Job {
        HWND hList;
        const std::function<void(IAccessible*)>* pWork;
        HRESULT hr;
        HANDLE hMidway, hGoOn;
    };
    static Job* s_pJob;

    // From the work: lets this thread run its midway step, and waits for it.
    static void Midway()
    {
        SetEvent(s_pJob->hMidway);
        WaitForSingleObject(s_pJob->hGoOn, 120000);
    }

    static DWORD WINAPI Worker(LPVOID p)
    {
        Job* pJob = (Job*)p;
        CoInitializeEx(NULL, COINIT_MULTITHREADED);
        IAccessible* pAcc = NULL;
        pJob->hr = AccessibleObjectFromWindow(pJob->hList, (DWORD)OBJID_CLIENT, IID_IAccessible, (void**)&pAcc);
        if (SUCCEEDED(pJob->hr)) {
            (*pJob->pWork)(pAcc);
            pAcc->Release();
        }
        CoUninitialize();
        return 0;
    }

    void FromAnotherApartment(const std::function<void(IAccessible*)>& work,
                              const std::function<void()>& midway = [] {})
    {
        Job job = {m_list.m_hWnd, &work, E_FAIL, CreateEventA(NULL, FALSE, FALSE, NULL),
                   CreateEventA(NULL, FALSE, FALSE, NULL)};
        s_pJob = &job;
        HANDLE hThread = CreateThread(NULL, 0, Worker, &job, 0, NULL);
        ASSERT_NE(hThread, nullptr);
        HANDLE handles[] = {hThread, job.hMidway};
        const DWORD dwStart = GetTickCount();
        for (;;) {
            const DWORD dwWait = MsgWaitForMultipleObjects(2, handles, FALSE, 1000, QS_ALLINPUT);
            if (dwWait == WAIT_OBJECT_0)
                break;
            if (dwWait == WAIT_OBJECT_0 + 1) {
                midway();
                SetEvent(job.hGoOn);
            }
            MSG msg;
            while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            ASSERT_LT(GetTickCount() - dwStart, 120000u) << "the worker never finished";
        }
        CloseHandle(hThread);
        CloseHandle(job.hMidway);
        CloseHandle(job.hGoOn);
        ASSERT_EQ(job.hr, S_OK);
    }

    static std::vector<Entry> Entries(IAccessible* pAcc)
    {
        long n = 0;
        pAcc->get_accChildCount(&n);
        std::vector<Entry> entries;
        for (long i = 1; i <= n; ++i) {
            BSTR name = NULL, action = NULL;
            VARIANT role, state;
            VariantInit(&role);
            VariantInit(&state);
            pAcc->get_accName(Child(i), &name);
            pAcc->get_accRole(Child(i), &role);
            pAcc->get_accState(Child(i), &state);
            pAcc->get_accDefaultAction(Child(i), &action);
            entries.push_back({Narrow(name), role.lVal, state.lVal, Narrow(action)});
        }
        return entries;
    }

    HWND m_hParent = nullptr;
    CCheckListBox m_list;
};

AccessibleTest::Job* AccessibleTest::s_pJob = nullptr;

const long kChecked = STATE_SYSTEM_CHECKED, kSelected = STATE_SYSTEM_SELECTED, kFocused = STATE_SYSTEM_FOCUSED;
const long kBase = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;

TEST_F(AccessibleTest, EachEntryIsACheckButtonWithItsTextAndState)
{
    SendMessageA(m_list.m_hWnd, LB_SETSEL, TRUE, 2);
    SendMessageA(m_list.m_hWnd, LB_SETCARETINDEX, 2, FALSE);
    SetFocus(m_list.m_hWnd);
    long nCount = -1, nRole = -1;
    std::vector<Entry> entries;
    FromAnotherApartment([&](IAccessible* pAcc) {
        pAcc->get_accChildCount(&nCount);
        VARIANT role;
        VariantInit(&role);
        pAcc->get_accRole(Child(CHILDID_SELF), &role);
        nRole = role.lVal;
        entries = Entries(pAcc);
    });
    EXPECT_EQ(nCount, 4);
    EXPECT_EQ(nRole, ROLE_SYSTEM_LIST);
    ASSERT_EQ(entries.size(), 4u);
    const char* names[] = {"Cy", "Bob", "Ann", "Dee"};
    const long states[] = {kBase | kChecked, kBase, kBase | kChecked | kSelected | kFocused, kBase | kChecked};
    const char* actions[] = {"Uncheck", "Check", "Uncheck", "Uncheck"};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(entries[i].name, names[i]);
        EXPECT_EQ(entries[i].role, ROLE_SYSTEM_CHECKBUTTON);
        EXPECT_EQ(entries[i].state, states[i]);
        EXPECT_EQ(entries[i].action, actions[i]);
    }
}

TEST_F(AccessibleTest, TheDefaultActionTogglesAsAClickOnTheBoxDoes)
{
    // Cy, Bob and Ann selected: toggling Bob (unchecked) checks all three, as a click would.
    SendMessageA(m_list.m_hWnd, LB_SELITEMRANGE, TRUE, MAKELPARAM(0, 2));
    HRESULT hrSelected = E_FAIL, hrAlone = E_FAIL, hrBad = S_OK;
    FromAnotherApartment([&](IAccessible* pAcc) {
        hrSelected = pAcc->accDoDefaultAction(Child(2));
        hrBad = pAcc->accDoDefaultAction(Child(5));
    });
    EXPECT_EQ(hrSelected, S_OK);
    EXPECT_EQ(hrBad, E_INVALIDARG);
    EXPECT_EQ((std::vector<int>{m_list.GetCheck(0), m_list.GetCheck(1), m_list.GetCheck(2), m_list.GetCheck(3)}),
              (std::vector<int>{1, 1, 1, 1}));

    // Dee, not selected: only Dee.
    FromAnotherApartment([&](IAccessible* pAcc) { hrAlone = pAcc->accDoDefaultAction(Child(4)); });
    EXPECT_EQ(hrAlone, S_OK);
    EXPECT_EQ((std::vector<int>{m_list.GetCheck(0), m_list.GetCheck(1), m_list.GetCheck(2), m_list.GetCheck(3)}),
              (std::vector<int>{1, 1, 1, 0}));
}

TEST_F(AccessibleTest, AClientHoldingTheObjectAfterTheWindowWentIsToldSo)
{
    HRESULT hrBefore = E_FAIL, hrAfter = S_OK;
    FromAnotherApartment(
        [&](IAccessible* pAcc) {
            long n = 0;
            hrBefore = pAcc->get_accChildCount(&n);
            Midway();   // the window goes
            hrAfter = pAcc->get_accChildCount(&n);
        },
        [&] { DestroyWindow(m_hParent); });
    EXPECT_EQ(hrBefore, S_OK);
    EXPECT_EQ(hrAfter, CO_E_OBJNOTCONNECTED);
}

}  // namespace
