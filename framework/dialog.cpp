#include "framework/dialog.h"

#include "framework/pre_translate.h"
#include "framework/win_app.h"

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() = default;

HWND CDialog::CreateFromTemplate(UINT nIDTemplate, HWND hOwner)
{
    HookNextWindowCreation(this);
    HWND hWnd = CreateDialogParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDTemplate), hOwner,
                                   &CDialog::DialogProc, 0);
    UnhookWindowCreation();
    if (!hWnd && m_hWnd) {
        DestroyWindow(m_hWnd);
        m_hWnd = nullptr;
    }
    return hWnd;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    m_nIDTemplate = nIDTemplate;
    m_pParentWnd = pParentWnd;
    return CreateFromTemplate(nIDTemplate, pParentWnd ? pParentWnd->m_hWnd : nullptr) != nullptr;
}

INT_PTR CDialog::DoModal()
{
    HWND hOwner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!m_pParentWnd && AfxGetApp() && AfxGetApp()->m_pMainWnd && AfxGetApp()->m_pMainWnd != this) {
        hOwner = AfxGetApp()->m_pMainWnd->m_hWnd;
        if (hOwner)
            hOwner = GetLastActivePopup(hOwner);
    }
    const bool disabledOwner = hOwner && IsWindowEnabled(hOwner);
    if (disabledOwner)
        EnableWindow(hOwner, FALSE);

    m_bEndModal = false;
    m_nModalResult = -1;
    if (CreateFromTemplate(m_nIDTemplate, hOwner)) {
        // Templates of modal dialogs need not be visible: the modal run shows them.
        if (!m_bEndModal && m_hWnd && !IsWindowVisible(m_hWnd))
            ShowWindow(m_hWnd, SW_SHOWNORMAL);
        MSG msg;
        while (!m_bEndModal) {
            const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
            if (got == 0 || got == -1) {
                // A quit message ends every modal loop it passes through.
                PostQuitMessage(got == 0 ? static_cast<int>(msg.wParam) : 0);
                m_nModalResult = -1;
                break;
            }
            if (!AfxPreTranslateMessage(&msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
    }

    // The owner comes back before this window goes, so activation returns to it.
    if (disabledOwner) {
        EnableWindow(hOwner, TRUE);
        SetActiveWindow(hOwner);
    }
    if (m_hWnd)
        DestroyWindow(m_hWnd);
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult)
{
    m_nModalResult = nResult;
    m_bEndModal = true;
    if (m_hWnd)
        ShowWindow(m_hWnd, SW_HIDE);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    // Keyboard and mouse input for the dialog or its controls: tabbing, Enter, Escape.
    const bool input = (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) ||
                       (pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST);
    return input && m_hWnd && IsDialogMessageA(m_hWnd, pMsg);
}

const MessageMap* CDialog::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(WM_COMMAND, &CDialog::OnCommand),
    };
    static const MessageMap map = MakeMessageMap(CWnd::GetMessageMap(), entries);
    return &map;
}

LRESULT CDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == BN_CLICKED) {
        switch (LOWORD(wParam)) {
        case IDOK:
            OnOK();
            return 0;
        case IDCANCEL:
            OnCancel();
            return 0;
        }
    }
    return DefWindowProc(WM_COMMAND, wParam, lParam);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM, LPARAM)
{
    // The dialog manager calls this from the window's class procedure, which the object's
    // DefWindowProc reaches: everything else has been through the message map already.
    if (message == WM_INITDIALOG)
        if (auto* self = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(hWnd)))
            return self->OnInitDialog();
    return FALSE;
}
