// Message-map rows: constant plain data that route a message or a command to a handler.
//
// A class declares its table with DECLARE_MESSAGE_MAP() and writes it between
// BEGIN_MESSAGE_MAP(theClass, baseClass) and END_MESSAGE_MAP(). Dispatch looks in the
// class's own rows first and then walks the base classes' tables.
#pragma once

#include <windows.h>

class CCmdTarget;

// Every handler is stored as this type and called back with the signature its row names.
typedef void (CCmdTarget::*AFX_PMSG)();

// The handler signatures a row can have.
enum AfxSig {
    AfxSig_end = 0,   // ends a table
    AfxSig_vv,        // void OnXxx();     messages without arguments, commands
    AfxSig_hv,        // HCURSOR OnXxx();  WM_QUERYDRAGICON: the handle is the result
    AfxSig_bHuu       // BOOL OnXxx(HWND hWnd, UINT nHitTest, UINT message);  WM_SETCURSOR
};

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;    // WM_xxx; WM_COMMAND for commands and control notifications
    UINT nCode;       // notification code (BN_CLICKED and commands are 0); WM_COMMAND only
    UINT nID;         // first control or command identifier; WM_COMMAND only
    UINT nLastID;     // last identifier of the range
    AfxSig nSig;
    AFX_PMSG pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();   // the base class's table; NULL at the root
    const AFX_MSGMAP_ENTRY* lpEntries;      // ends with an AfxSig_end row
};

#define DECLARE_MESSAGE_MAP() \
protected: \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override { return GetThisMessageMap(); }

// The table is a function-local constant, so it needs no run-time initialisation.
#define BEGIN_MESSAGE_MAP(theClass, baseClass) \
    const AFX_MSGMAP* theClass::GetThisMessageMap() \
    { \
        using ThisClass [[maybe_unused]] = theClass; \
        typedef baseClass TheBaseClass; \
        static const AFX_MSGMAP_ENTRY entries[] = {

#define END_MESSAGE_MAP() \
            { 0, 0, 0, 0, AfxSig_end, 0 } \
        }; \
        static const AFX_MSGMAP messageMap = { &TheBaseClass::GetThisMessageMap, entries }; \
        return &messageMap; \
    }

// Rows. The handler's signature is checked by the static_cast in each.

// void OnPaint();
#define ON_WM_PAINT() \
    { WM_PAINT, 0, 0, 0, AfxSig_vv, \
      static_cast<AFX_PMSG>(static_cast<void (ThisClass::*)()>(&ThisClass::OnPaint)) },

// HCURSOR OnQueryDragIcon();
#define ON_WM_QUERYDRAGICON() \
    { WM_QUERYDRAGICON, 0, 0, 0, AfxSig_hv, \
      static_cast<AFX_PMSG>(reinterpret_cast<void (ThisClass::*)()>( \
          static_cast<HCURSOR (ThisClass::*)()>(&ThisClass::OnQueryDragIcon))) },

// BOOL OnSetCursor(HWND hWnd, UINT nHitTest, UINT message);  TRUE: the pointer is set
#define ON_WM_SETCURSOR() \
    { WM_SETCURSOR, 0, 0, 0, AfxSig_bHuu, \
      static_cast<AFX_PMSG>(reinterpret_cast<void (ThisClass::*)()>( \
          static_cast<BOOL (ThisClass::*)(HWND, UINT, UINT)>(&ThisClass::OnSetCursor))) },

// void memberFxn();  for a command: a menu item, an accelerator, a button's click
#define ON_COMMAND(id, memberFxn) \
    { WM_COMMAND, 0, (UINT)(id), (UINT)(id), AfxSig_vv, \
      static_cast<AFX_PMSG>(static_cast<void (ThisClass::*)()>(&memberFxn)) },

// void memberFxn();  for a push button's BN_CLICKED notification
#define ON_BN_CLICKED(id, memberFxn) \
    { WM_COMMAND, BN_CLICKED, (UINT)(id), (UINT)(id), AfxSig_vv, \
      static_cast<AFX_PMSG>(static_cast<void (ThisClass::*)()>(&memberFxn)) },
