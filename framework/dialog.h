#pragma once
// A dialog made from a template in the application's resources: run modally by DoModal or
// created modeless by Create. Its messages go through its message map and DefWindowProc
// like any CWnd's; DefWindowProc ends in the dialog manager, which calls OnInitDialog.
// ActiveX controls that the template names by class id are made by the dialog's control
// container just before OnInitDialog, and their events go through the event sink map.
#include <memory>
#include <vector>

#include "framework/data_exchange.h"
#include "framework/event_sink_map.h"
#include "framework/ole_control_container.h"
#include "framework/wnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Creates the window, disables its owner and runs a message loop until EndDialog or a
    // quit message (which is posted again, so outer loops end too). Returns the EndDialog
    // value, or -1 when the window could not be created or a quit message ended the run.
    // Without a parent, the owner is the application's main window, when it has one.
    virtual INT_PTR DoModal();
    // Creates the dialog modeless, owned by pParentWnd; FALSE when it could not be created.
    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    void EndDialog(int nResult);

    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    // The hosted control's accelerators, then the dialog manager's keyboard handling.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // The dialog manager's handling of input for this dialog alone.
    BOOL IsDialogMessage(MSG* pMsg);

    // Makes an ActiveX control in this dialog at rc (client pixels); null on failure.
    HWND CreateControl(REFCLSID clsid, UINT nID, DWORD style, const RECT& rc);
    // The site of a hosted control's window, or null.
    COleControlSite* FindControlSite(HWND hWndCtrl) const;
    // A hosted control's event: the event sink map row for the control and DISPID, if any.
    HRESULT OnControlEvent(UINT nCtrlId, DISPID dispid, const CDispatchArgs& args);

protected:
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX);
    const MessageMap* GetMessageMap() const override;
    virtual const EventSinkMap* GetEventSinkMap() const;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    HWND CreateFromTemplate(UINT nIDTemplate, HWND hOwner);

    COleControlContainer m_controls{this};
    std::vector<OleControlItem> m_templateControls;
    bool m_bEndModal = false;
    INT_PTR m_nModalResult = -1;
};
