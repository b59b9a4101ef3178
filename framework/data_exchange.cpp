#include "framework/data_exchange.h"

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& control)
{
    if (control.m_hWnd)
        return;
    control.SubclassWindow(GetDlgItem(pDX->m_pDlgWnd->m_hWnd, nIDC));
}
