#pragma once
// A progress bar control (class "msctls_progress32") bound to a dialog's control.
#include <commctrl.h>

#include "framework/wnd.h"

class CProgressCtrl : public CWnd {
public:
    // The full 32-bit range: a bar counting KiB of a file of 64 MiB or more must not wrap.
    void SetRange32(int nLower, int nUpper) { SendMessageA(m_hWnd, PBM_SETRANGE32, nLower, nUpper); }
    int SetPos(int nPos) { return static_cast<int>(SendMessageA(m_hWnd, PBM_SETPOS, nPos, 0)); }
    int GetPos() const { return static_cast<int>(SendMessageA(m_hWnd, PBM_GETPOS, 0, 0)); }
    void GetRange(int& nLower, int& nUpper) const
    {
        PBRANGE range = {};
        SendMessageA(m_hWnd, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
        nLower = range.iLow;
        nUpper = range.iHigh;
    }
};
