#include "framework/dialog.h"

#include "framework/pre_translate.h"
#include "framework/win_app.h"

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() = default;

HWND CDialog::CreateFromTemplate(UINT nIDTemplate, HWND hOwner)
{
    // The dialog manager is given the template without the controls named by class id.
    HINSTANCE hInst = AfxGetResourceHandle();
    OleDialogTemplate split;
    m_templateControls.clear();
    HRSRC hResource = FindResourceA(hInst, MAKEINTRESOURCEA(nIDTemplate), MAKEINTRESOURCEA(5));
    HGLOBAL hData = hResource ? LoadResource(hInst, hResource) : nullptr;
    const bool hasOleControls = hData &&
                                SplitOleDialogTemplate(LockResource(hData), SizeofResource(hInst, hResource), split) &&
                                !split.controls.empty();
    if (hasOleControls)
        m_templateControls = split.controls;

    HookNextWindowCreation(this);
    HWND hWnd = hasOleControls
                    ? CreateDialogIndirectParamA(hInst, reinterpret_cast<LPCDLGTEMPLATEA>(split.dialog.data()),
                                                 hOwner, &CDialog::DialogProc, 0)
                    : CreateDialogParamA(hInst, MAKEINTRESOURCEA(nIDTemplate), hOwner, &CDialog::DialogProc, 0);
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
    if (m_controls.PreTranslateMessage(pMsg))
        return TRUE;
    return IsDialogMessage(pMsg);
}

BOOL CDialog::IsDialogMessage(MSG* pMsg)
{
    // Keyboard and mouse input for the dialog or its controls: tabbing, Enter, Escape.
    const bool input = (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) ||
                       (pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST);
    return input && m_hWnd && ::IsDialogMessageA(m_hWnd, pMsg);
}

HWND CDialog::CreateControl(REFCLSID clsid, UINT nID, DWORD style, const RECT& rc)
{
    return m_hWnd ? m_controls.CreateControl(clsid, nID, style, rc) : nullptr;
}

COleControlSite* CDialog::FindControlSite(HWND hWndCtrl) const { return m_controls.FindSite(hWndCtrl); }

const EventSinkMap* CDialog::GetEventSinkMap() const { return nullptr; }

HRESULT CDialog::OnControlEvent(UINT nCtrlId, DISPID dispid, const CDispatchArgs& args)
{
    const EventSinkMap* map = GetEventSinkMap();
    for (size_t i = 0; map && i < map->count; ++i)
        if (map->entries[i].nCtrlId == nCtrlId && map->entries[i].dispid == dispid)
            return map->entries[i].invoke(this, args);
    return DISP_E_MEMBERNOTFOUND;
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = CWnd::WindowProc(message, wParam, lParam);
    // The controls' windows still exist during WM_DESTROY; the controls leave them here.
    if (message == WM_DESTROY)
        m_controls.ReleaseAll();
    return result;
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
        if (auto* self = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(hWnd))) {
            self->m_controls.CreateTemplateControls(self->m_templateControls);
            self->m_templateControls.clear();
            return self->OnInitDialog();
        }
    return FALSE;
}
