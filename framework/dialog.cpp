#include "framework/dialog.h"

#include "framework/win_app.h"

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog()
{
    if (m_hWnd)
        DestroyWindow(m_hWnd);
}

INT_PTR CDialog::DoModal()
{
    HWND hOwner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    const bool ownerWasEnabled = hOwner && IsWindowEnabled(hOwner);

    m_bEndModal = false;
    m_nModalResult = -1;
    HWND hWnd = CreateDialogParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDTemplate), hOwner,
                                   &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    if (!hWnd)
        return -1;
    if (ownerWasEnabled)
        EnableWindow(hOwner, FALSE);

    m_bInModalLoop = true;
    MSG msg;
    while (!m_bEndModal) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            // A quit message ends every modal loop it passes through.
            PostQuitMessage(got == 0 ? static_cast<int>(msg.wParam) : 0);
            m_nModalResult = -1;
            break;
        }
        if (!PreTranslateMessage(&msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    m_bInModalLoop = false;

    if (ownerWasEnabled) {
        EnableWindow(hOwner, TRUE);
        SetActiveWindow(hOwner);
    }
    if (m_hWnd)
        DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult)
{
    m_nModalResult = nResult;
    m_bEndModal = true;
    if (m_hWnd)
        ShowWindow(m_hWnd, SW_HIDE);
}

BOOL CDialog::OnInitDialog() { return TRUE; }

void CDialog::OnOK() { EndDialog(IDOK); }

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    return m_hWnd && IsDialogMessageA(m_hWnd, pMsg);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<CDialog*>(lParam);
        SetWindowLongPtrA(hWnd, DWLP_USER, lParam);
        self->m_hWnd = hWnd;
        return self->OnInitDialog();
    }
    auto* self = reinterpret_cast<CDialog*>(GetWindowLongPtrA(hWnd, DWLP_USER));
    if (!self)
        return FALSE;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hWnd, DWLP_USER, 0);
        self->m_hWnd = nullptr;
        return FALSE;
    }
    return self->HandleMessage(message, wParam, lParam);
}

INT_PTR CDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        switch (LOWORD(wParam)) {
        case IDOK:
            OnOK();
            return TRUE;
        case IDCANCEL:
            OnCancel();
            return TRUE;
        }
    }
    return FALSE;
}
