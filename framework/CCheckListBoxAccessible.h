// CCheckListBoxAccessible: what a screen reader hears of a CCheckListBox, through Microsoft
// Active Accessibility.
//
// Each entry is a child (id: position + 1) with the entry's text as its name, the role of a
// check button, the checked, selected and focused states as the list has them, and the
// default action "Check" or "Uncheck", which toggles the entry as a click on its box does.
// Whatever this object does not answer itself goes to the system's standard object for
// the list. The list creates it on demand and disconnects it when the window goes; a client
// that still holds it then gets CO_E_OBJNOTCONNECTED.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <stdlib.h>

class CCheckListBox;

class CCheckListBoxAccessible : public IAccessible {
public:
    // Takes a reference to pStandard, the standard accessible object of the list's window.
    CCheckListBoxAccessible(CCheckListBox* pList, IAccessible* pStandard);

    CCheckListBoxAccessible(const CCheckListBoxAccessible&) = delete;   // a COM object: shared by reference
    CCheckListBoxAccessible& operator=(const CCheckListBoxAccessible&) = delete;

    // The list's window is going: answer no more questions about it.
    void Disconnect();

    // From the C heap, NULL when out of memory: the global operator new would bring the C++
    // library's exception support into the program for this one object.
    static void* operator new(size_t cb) noexcept { return malloc(cb); }
    static void operator delete(void* p) noexcept { free(p); }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IDispatch: the standard object's.
    STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override;
    STDMETHODIMP GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid, DISPID* rgDispId) override;
    STDMETHODIMP Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
                        VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override;

    // IAccessible
    STDMETHODIMP get_accParent(IDispatch** ppdispParent) override;
    STDMETHODIMP get_accChildCount(long* pcountChildren) override;
    STDMETHODIMP get_accChild(VARIANT varChild, IDispatch** ppdispChild) override;
    STDMETHODIMP get_accName(VARIANT varChild, BSTR* pszName) override;
    STDMETHODIMP get_accValue(VARIANT varChild, BSTR* pszValue) override;
    STDMETHODIMP get_accDescription(VARIANT varChild, BSTR* pszDescription) override;
    STDMETHODIMP get_accRole(VARIANT varChild, VARIANT* pvarRole) override;
    STDMETHODIMP get_accState(VARIANT varChild, VARIANT* pvarState) override;
    STDMETHODIMP get_accHelp(VARIANT varChild, BSTR* pszHelp) override;
    STDMETHODIMP get_accHelpTopic(BSTR* pszHelpFile, VARIANT varChild, long* pidTopic) override;
    STDMETHODIMP get_accKeyboardShortcut(VARIANT varChild, BSTR* pszKeyboardShortcut) override;
    STDMETHODIMP get_accFocus(VARIANT* pvarChild) override;
    STDMETHODIMP get_accSelection(VARIANT* pvarChildren) override;
    STDMETHODIMP get_accDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) override;
    STDMETHODIMP accSelect(long flagsSelect, VARIANT varChild) override;
    STDMETHODIMP accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, VARIANT varChild) override;
    STDMETHODIMP accNavigate(long navDir, VARIANT varStart, VARIANT* pvarEndUpAt) override;
    STDMETHODIMP accHitTest(long xLeft, long yTop, VARIANT* pvarChild) override;
    STDMETHODIMP accDoDefaultAction(VARIANT varChild) override;
    STDMETHODIMP put_accName(VARIANT varChild, BSTR szName) override;
    STDMETHODIMP put_accValue(VARIANT varChild, BSTR szValue) override;

private:
    virtual ~CCheckListBoxAccessible();   // through Release only

    // What varChild names: the list itself (CHILDID_SELF), one entry, or nothing valid.
    enum Target { kSelf, kEntry, kInvalid };
    Target Resolve(const VARIANT& varChild, int* pnIndex) const;
    // For a child that Resolve found invalid: E_INVALIDARG, or CO_E_OBJNOTCONNECTED once
    // the list is gone.
    HRESULT NoSuchChild() const;
    // A text that only the list itself has (help, description, ...): the standard object's.
    HRESULT SelfOnlyText(const VARIANT& varChild, BSTR* pszText,
                         HRESULT (STDMETHODCALLTYPE IAccessible::*pfnStandard)(VARIANT, BSTR*));

    LONG m_cRef;
    CCheckListBox* m_pList;       // NULL once disconnected
    IAccessible* m_pStandard;     // the system's object for the list, which we hold
};
