#include "CCmdTarget.h"

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {
        { 0, 0, 0, 0, AfxSig_end, 0 }
    };
    static const AFX_MSGMAP messageMap = { NULL, entries };
    return &messageMap;
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT nMessage, UINT nCode, UINT nID) const
{
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != NULL;
         pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : NULL) {
        for (const AFX_MSGMAP_ENTRY* pEntry = pMap->lpEntries; pEntry->nSig != AfxSig_end; ++pEntry) {
            if (pEntry->nMessage != nMessage)
                continue;
            if (nMessage != WM_COMMAND)
                return pEntry;
            if (pEntry->nCode == nCode && pEntry->nID <= nID && nID <= pEntry->nLastID)
                return pEntry;
        }
    }
    return NULL;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, UINT nCode)
{
    const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(WM_COMMAND, nCode, nID);
    if (pEntry == NULL)
        return FALSE;
    (this->*pEntry->pfn)();
    return TRUE;
}
