#include "CCheckListBoxAccessible.h"

#include "CCheckListBox.h"
#include "CString.h"

CCheckListBoxAccessible::CCheckListBoxAccessible(CCheckListBox* pList, IAccessible* pStandard)
    : m_cRef(1), m_pList(pList), m_pStandard(pStandard)
{
    m_pStandard->AddRef();
}

CCheckListBoxAccessible::~CCheckListBoxAccessible()
{
    m_pStandard->Release();
}

void CCheckListBoxAccessible::Disconnect()
{
    m_pList = NULL;
}

CCheckListBoxAccessible::Target CCheckListBoxAccessible::Resolve(const VARIANT& varChild, int* pnIndex) const
{
    if (m_pList == NULL || varChild.vt != VT_I4)
        return kInvalid;
    if (varChild.lVal == CHILDID_SELF)
        return kSelf;
    if (varChild.lVal < 1 || varChild.lVal > m_pList->GetCount())
        return kInvalid;
    *pnIndex = varChild.lVal - 1;
    return kEntry;
}

HRESULT CCheckListBoxAccessible::NoSuchChild() const
{
    return m_pList ? E_INVALIDARG : CO_E_OBJNOTCONNECTED;
}

HRESULT CCheckListBoxAccessible::SelfOnlyText(const VARIANT& varChild, BSTR* pszText,
                                              HRESULT (STDMETHODCALLTYPE IAccessible::*pfnStandard)(VARIANT, BSTR*))
{
    if (pszText == NULL)
        return E_POINTER;
    *pszText = NULL;
    int nIndex;
    switch (Resolve(varChild, &nIndex)) {
    case kEntry:
        return S_FALSE;   // an entry has no such text
    case kSelf:
        return (m_pStandard->*pfnStandard)(varChild, pszText);
    default:
        return NoSuchChild();
    }
}

// A fresh BSTR of an ANSI text, converted with the system's code page.
static BSTR AnsiToBstr(LPCSTR psz, int cch)
{
    const int cchWide = ::MultiByteToWideChar(CP_ACP, 0, psz, cch, NULL, 0);
    BSTR bstr = ::SysAllocStringLen(NULL, (UINT)cchWide);
    if (bstr != NULL)
        ::MultiByteToWideChar(CP_ACP, 0, psz, cch, bstr, cchWide);
    return bstr;
}

// --- IUnknown --------------------------------------------------------------------------------

STDMETHODIMP CCheckListBoxAccessible::QueryInterface(REFIID riid, void** ppv)
{
    if (ppv == NULL)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, IID_IAccessible)) {
        *ppv = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = NULL;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CCheckListBoxAccessible::AddRef()
{
    return (ULONG)::InterlockedIncrement(&m_cRef);
}

STDMETHODIMP_(ULONG) CCheckListBoxAccessible::Release()
{
    const LONG cRef = ::InterlockedDecrement(&m_cRef);
    if (cRef == 0)
        delete this;
    return (ULONG)cRef;
}

// --- IDispatch -------------------------------------------------------------------------------

STDMETHODIMP CCheckListBoxAccessible::GetTypeInfoCount(UINT* pctinfo)
{
    return m_pStandard->GetTypeInfoCount(pctinfo);
}

STDMETHODIMP CCheckListBoxAccessible::GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo)
{
    return m_pStandard->GetTypeInfo(iTInfo, lcid, ppTInfo);
}

STDMETHODIMP CCheckListBoxAccessible::GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                                                    DISPID* rgDispId)
{
    return m_pStandard->GetIDsOfNames(riid, rgszNames, cNames, lcid, rgDispId);
}

STDMETHODIMP CCheckListBoxAccessible::Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                                             DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                                             UINT* puArgErr)
{
    return m_pStandard->Invoke(dispIdMember, riid, lcid, wFlags, pDispParams, pVarResult, pExcepInfo, puArgErr);
}

// --- IAccessible: the list and its entries ------------------------------------------------------

STDMETHODIMP CCheckListBoxAccessible::get_accParent(IDispatch** ppdispParent)
{
    if (m_pList == NULL)
        return CO_E_OBJNOTCONNECTED;
    return m_pStandard->get_accParent(ppdispParent);
}

STDMETHODIMP CCheckListBoxAccessible::get_accChildCount(long* pcountChildren)
{
    if (pcountChildren == NULL)
        return E_POINTER;
    if (m_pList == NULL)
        return CO_E_OBJNOTCONNECTED;
    const int nCount = m_pList->GetCount();
    *pcountChildren = nCount > 0 ? nCount : 0;
    return S_OK;
}

STDMETHODIMP CCheckListBoxAccessible::get_accChild(VARIANT varChild, IDispatch** ppdispChild)
{
    if (ppdispChild == NULL)
        return E_POINTER;
    *ppdispChild = NULL;
    int nIndex;
    switch (Resolve(varChild, &nIndex)) {
    case kEntry:
        return S_FALSE;   // an entry is a simple element of the list, with no object of its own
    case kSelf:
        return m_pStandard->get_accChild(varChild, ppdispChild);
    default:
        return NoSuchChild();
    }
}

STDMETHODIMP CCheckListBoxAccessible::get_accName(VARIANT varChild, BSTR* pszName)
{
    if (pszName == NULL)
        return E_POINTER;
    *pszName = NULL;
    int nIndex;
    switch (Resolve(varChild, &nIndex)) {
    case kEntry: {
        CString strText;
        const int cch = m_pList->GetText(nIndex, strText);
        if (cch == LB_ERR)
            return E_INVALIDARG;
        *pszName = AnsiToBstr(strText, cch);
        return *pszName != NULL || cch == 0 ? S_OK : E_OUTOFMEMORY;
    }
    case kSelf:
        return m_pStandard->get_accName(varChild, pszName);
    default:
        return NoSuchChild();
    }
}

STDMETHODIMP CCheckListBoxAccessible::get_accValue(VARIANT varChild, BSTR* pszValue)
{
    return SelfOnlyText(varChild, pszValue, &IAccessible::get_accValue);   // a check button has a state, not a value
}

STDMETHODIMP CCheckListBoxAccessible::get_accDescription(VARIANT varChild, BSTR* pszDescription)
{
    return SelfOnlyText(varChild, pszDescription, &IAccessible::get_accDescription);
}

STDMETHODIMP CCheckListBoxAccessible::get_accRole(VARIANT varChild, VARIANT* pvarRole)
{
    if (pvarRole == NULL)
        return E_POINTER;
    ::VariantInit(pvarRole);
    int nIndex;
    switch (Resolve(varChild, &nIndex)) {
    case kEntry:
        pvarRole->vt = VT_I4;
        pvarRole->lVal = ROLE_SYSTEM_CHECKBUTTON;
        return S_OK;
    case kSelf:
        pvarRole->vt = VT_I4;
        pvarRole->lVal = ROLE_SYSTEM_LIST;
        return S_OK;
    default:
        return NoSuchChild();
    }
}

STDMETHODIMP CCheckListBoxAccessible::get_accState(VARIANT varChild, VARIANT* pvarState)
{
    if (pvarState == NULL)
        return E_POINTER;
    ::VariantInit(pvarState);
    int nIndex;
    switch (Resolve(varChild, &nIndex)) {
    case kEntry: {
        HWND hWnd = m_pList->m_hWnd;
        LONG lState = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
        if (m_pList->GetCheck(nIndex) > 0)
            lState |= STATE_SYSTEM_CHECKED;
        if (m_pList->GetSel(nIndex) > 0)
            lState |= STATE_SYSTEM_SELECTED;
        if (::GetFocus() == hWnd && m_pList->GetCaretIndex() == nIndex)
            lState |= STATE_SYSTEM_FOCUSED;
        RECT rcItem, rcClient;
        if (!::IsWindowVisible(hWnd))
            lState |= STATE_SYSTEM_INVISIBLE;
        else if (m_pList->SendMessage(LB_GETITEMRECT, (WPARAM)nIndex, (LPARAM)&rcItem) != LB_ERR &&
                 ::GetClientRect(hWnd, &rcClient) && (rcItem.bottom <= rcClient.top || rcItem.top >= rcClient.bottom))
            lState |= STATE_SYSTEM_OFFSCREEN;   // scrolled out of view
        pvarState->vt = VT_I4;
        pvarState->lVal = lState;
        return S_OK;
    }
    case kSelf:
        return m_pStandard->get_accState(varChild, pvarState);
    default:
        return NoSuchChild();
    }
}

STDMETHODIMP CCheckListBoxAccessible::get_accHelp(VARIANT varChild, BSTR* pszHelp)
{
    return SelfOnlyText(varChild, pszHelp, &IAccessible::get_accHelp);
}

STDMETHODIMP CCheckListBoxAccessible::get_accHelpTopic(BSTR* pszHelpFile, VARIANT varChild, long* pidTopic)
{
    int nIndex;
    switch (Resolve(varChild, &nIndex)) {
    case kEntry:
        if (pszHelpFile)
            *pszHelpFile = NULL;
        return S_FALSE;
    case kSelf:
        return m_pStandard->get_accHelpTopic(pszHelpFile, varChild, pidTopic);
    default:
        return NoSuchChild();
    }
}

STDMETHODIMP CCheckListBoxAccessible::get_accKeyboardShortcut(VARIANT varChild, BSTR* pszKeyboardShortcut)
{
    return SelfOnlyText(varChild, pszKeyboardShortcut, &IAccessible::get_accKeyboardShortcut);
}

STDMETHODIMP CCheckListBoxAccessible::get_accFocus(VARIANT* pvarChild)
{
    if (pvarChild == NULL)
        return E_POINTER;
    ::VariantInit(pvarChild);
    if (m_pList == NULL)
        return CO_E_OBJNOTCONNECTED;
    if (::GetFocus() != m_pList->m_hWnd)
        return S_FALSE;   // the focus is elsewhere
    const int nCaret = m_pList->GetCaretIndex();
    pvarChild->vt = VT_I4;
    pvarChild->lVal = nCaret >= 0 && nCaret < m_pList->GetCount() ? nCaret + 1 : CHILDID_SELF;
    return S_OK;
}

STDMETHODIMP CCheckListBoxAccessible::get_accSelection(VARIANT* pvarChildren)
{
    if (m_pList == NULL)
        return CO_E_OBJNOTCONNECTED;
    return m_pStandard->get_accSelection(pvarChildren);
}

STDMETHODIMP CCheckListBoxAccessible::get_accDefaultAction(VARIANT varChild, BSTR* pszDefaultAction)
{
    if (pszDefaultAction == NULL)
        return E_POINTER;
    *pszDefaultAction = NULL;
    int nIndex;
    switch (Resolve(varChild, &nIndex)) {
    case kEntry:
        *pszDefaultAction = ::SysAllocString(m_pList->GetCheck(nIndex) > 0 ? L"Uncheck" : L"Check");
        return *pszDefaultAction ? S_OK : E_OUTOFMEMORY;
    case kSelf:
        return m_pStandard->get_accDefaultAction(varChild, pszDefaultAction);
    default:
        return NoSuchChild();
    }
}

STDMETHODIMP CCheckListBoxAccessible::accSelect(long flagsSelect, VARIANT varChild)
{
    int nIndex;
    switch (Resolve(varChild, &nIndex)) {
    case kEntry:
        if (flagsSelect & SELFLAG_TAKEFOCUS) {
            ::SetFocus(m_pList->m_hWnd);
            m_pList->SendMessage(LB_SETCARETINDEX, (WPARAM)nIndex, FALSE);
        }
        if (flagsSelect & SELFLAG_TAKESELECTION) {
            m_pList->SendMessage(LB_SETSEL, FALSE, -1);
            m_pList->SendMessage(LB_SETSEL, TRUE, nIndex);
        }
        if (flagsSelect & SELFLAG_ADDSELECTION)
            m_pList->SendMessage(LB_SETSEL, TRUE, nIndex);
        if (flagsSelect & SELFLAG_REMOVESELECTION)
            m_pList->SendMessage(LB_SETSEL, FALSE, nIndex);
        return S_OK;
    case kSelf:
        return m_pStandard->accSelect(flagsSelect, varChild);
    default:
        return NoSuchChild();
    }
}

STDMETHODIMP CCheckListBoxAccessible::accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight,
                                                  VARIANT varChild)
{
    if (pxLeft == NULL || pyTop == NULL || pcxWidth == NULL || pcyHeight == NULL)
        return E_POINTER;
    int nIndex;
    switch (Resolve(varChild, &nIndex)) {
    case kEntry: {
        RECT rc;
        if (!m_pList->GetEntryRect(nIndex, &rc))
            return E_INVALIDARG;
        ::MapWindowPoints(m_pList->m_hWnd, NULL, (LPPOINT)&rc, 2);
        *pxLeft = rc.left;
        *pyTop = rc.top;
        *pcxWidth = rc.right - rc.left;
        *pcyHeight = rc.bottom - rc.top;
        return S_OK;
    }
    case kSelf:
        return m_pStandard->accLocation(pxLeft, pyTop, pcxWidth, pcyHeight, varChild);
    default:
        return NoSuchChild();
    }
}

STDMETHODIMP CCheckListBoxAccessible::accNavigate(long navDir, VARIANT varStart, VARIANT* pvarEndUpAt)
{
    if (pvarEndUpAt == NULL)
        return E_POINTER;
    ::VariantInit(pvarEndUpAt);
    int nIndex = -1;
    const Target target = Resolve(varStart, &nIndex);
    if (target == kInvalid)
        return NoSuchChild();
    const int nCount = m_pList->GetCount();
    int nTo = -1;
    if (target == kSelf) {
        if (navDir == NAVDIR_FIRSTCHILD)
            nTo = 0;
        else if (navDir == NAVDIR_LASTCHILD)
            nTo = nCount - 1;
        else
            return m_pStandard->accNavigate(navDir, varStart, pvarEndUpAt);
    } else if (navDir == NAVDIR_NEXT || navDir == NAVDIR_DOWN) {
        nTo = nIndex + 1;
    } else if (navDir == NAVDIR_PREVIOUS || navDir == NAVDIR_UP) {
        nTo = nIndex - 1;
    }
    if (nTo < 0 || nTo >= nCount)
        return S_FALSE;   // nothing there
    pvarEndUpAt->vt = VT_I4;
    pvarEndUpAt->lVal = nTo + 1;
    return S_OK;
}

STDMETHODIMP CCheckListBoxAccessible::accHitTest(long xLeft, long yTop, VARIANT* pvarChild)
{
    if (pvarChild == NULL)
        return E_POINTER;
    ::VariantInit(pvarChild);
    if (m_pList == NULL)
        return CO_E_OBJNOTCONNECTED;
    POINT pt = { xLeft, yTop };
    ::ScreenToClient(m_pList->m_hWnd, &pt);
    RECT rcClient;
    ::GetClientRect(m_pList->m_hWnd, &rcClient);
    if (!::PtInRect(&rcClient, pt))
        return m_pStandard->accHitTest(xLeft, yTop, pvarChild);
    // LB_ITEMFROMPOINT: the entry in the low word; the high word is 1 outside every entry.
    const DWORD dwHit = (DWORD)m_pList->SendMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(pt.x, pt.y));
    pvarChild->vt = VT_I4;
    pvarChild->lVal = HIWORD(dwHit) == 0 ? (long)LOWORD(dwHit) + 1 : CHILDID_SELF;
    return S_OK;
}

STDMETHODIMP CCheckListBoxAccessible::accDoDefaultAction(VARIANT varChild)
{
    int nIndex;
    switch (Resolve(varChild, &nIndex)) {
    case kEntry:
        m_pList->ToggleCheck(nIndex);
        return S_OK;
    case kSelf:
        return m_pStandard->accDoDefaultAction(varChild);
    default:
        return NoSuchChild();
    }
}

STDMETHODIMP CCheckListBoxAccessible::put_accName(VARIANT, BSTR)
{
    return E_NOTIMPL;   // obsolete in Active Accessibility
}

STDMETHODIMP CCheckListBoxAccessible::put_accValue(VARIANT, BSTR)
{
    return E_NOTIMPL;
}
