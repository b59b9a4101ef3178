#include "framework/ole_control_container.h"

#include "framework/dialog.h"

COleControlContainer::~COleControlContainer() { ReleaseAll(); }

HWND COleControlContainer::CreateControl(REFCLSID clsid, UINT nID, DWORD style, const RECT& rcPixels)
{
    auto site = std::make_unique<COleControlSite>(m_pDialog, nID);
    if (!site->CreateControl(clsid, style, rcPixels))
        return nullptr;
    HWND hWnd = site->GetControlWindow();
    m_sites.push_back(std::move(site));
    return hWnd;
}

void COleControlContainer::CreateTemplateControls(const std::vector<OleControlItem>& items)
{
    for (const OleControlItem& item : items) {
        RECT rc = item.rcDialogUnits;
        MapDialogRect(m_pDialog->m_hWnd, &rc);
        CreateControl(item.clsid, item.nID, item.style, rc);
    }
}

COleControlSite* COleControlContainer::FindSite(HWND hWndCtrl) const
{
    for (const auto& site : m_sites)
        if (hWndCtrl && site->GetControlWindow() == hWndCtrl)
            return site.get();
    return nullptr;
}

BOOL COleControlContainer::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST)
        return FALSE;
    HWND hFocus = GetFocus();
    for (const auto& site : m_sites) {
        HWND hCtrl = site->GetControlWindow();
        if (hCtrl && (hFocus == hCtrl || IsChild(hCtrl, hFocus)))
            return site->TranslateAccelerator(pMsg);
    }
    return FALSE;
}

void COleControlContainer::ReleaseAll()
{
    // The last made goes first, as the dialog manager destroys its controls.
    while (!m_sites.empty()) {
        m_sites.back()->Close();
        m_sites.pop_back();
    }
}
