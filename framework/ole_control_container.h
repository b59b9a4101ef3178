#pragma once
// The ActiveX controls of one dialog: it creates them where the template put them, finds
// them by window, lets them see keyboard accelerators and releases them when the dialog goes.
#include <memory>
#include <vector>

#include "framework/ole_control_site.h"
#include "framework/ole_dialog_template.h"

class COleControlContainer {
public:
    explicit COleControlContainer(CDialog* pDialog) : m_pDialog(pDialog) {}
    ~COleControlContainer();
    COleControlContainer(const COleControlContainer&) = delete;
    COleControlContainer& operator=(const COleControlContainer&) = delete;

    // The control's window, or null when the control could not be made (nothing is kept then).
    HWND CreateControl(REFCLSID clsid, UINT nID, DWORD style, const RECT& rcPixels);
    // Template items are placed in dialog units, converted by the dialog's font.
    void CreateTemplateControls(const std::vector<OleControlItem>& items);
    COleControlSite* FindSite(HWND hWndCtrl) const;
    // Offers a keyboard message to the control that holds the focus.
    BOOL PreTranslateMessage(MSG* pMsg);
    void ReleaseAll();

private:
    CDialog* m_pDialog;
    std::vector<std::unique_ptr<COleControlSite>> m_sites;
};
