#include "CDataExchange.h"

#include "CWnd.h"

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd == NULL)
        rControl.SubclassDlgItem(nIDC, pDX->m_pDlgWnd);
}
