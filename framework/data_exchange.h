#pragma once
// Dialog data exchange: DoDataExchange lists, one line per control, how a dialog's members
// and its controls correspond; UpdateData runs it.
#include "framework/wnd.h"

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate) : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

    BOOL m_bSaveAndValidate;  // TRUE: controls to members; FALSE: members to controls
    CWnd* m_pDlgWnd;
};

// Binds `control` to the dialog's control `nIDC` the first time; later calls do nothing.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& control);
