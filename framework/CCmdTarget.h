// CCmdTarget: the root of every class that receives messages and commands through a message map.
#pragma once

#include "MessageMap.h"

class CCmdTarget {
public:
    // Runs the handler of the WM_COMMAND row for nID and nCode; FALSE when no row has one.
    virtual BOOL OnCmdMsg(UINT nID, UINT nCode);

protected:
    CCmdTarget() {}
    ~CCmdTarget() {}

    // The first row, in this class's table or a base's, for the message, code and identifier.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT nMessage, UINT nCode, UINT nID) const;

    // The root table is empty.
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const { return GetThisMessageMap(); }

public:
    // A message target is bound to one window or one application: never copied.
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;
};
