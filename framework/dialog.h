#pragma once
// A dialog made from a template in the application's resources, run modally by DoModal.
// The object is bound to its window at WM_INITDIALOG; until then the dialog manager's
// defaults apply.
#include "framework/wnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Creates the window, disables its owner and runs a message loop until EndDialog or a
    // quit message (which is posted again, so outer loops end too). Returns the EndDialog
    // value, or -1 when the window could not be created or a quit message ended the run.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);

protected:
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    // Offered every queued message of the modal loop before it is dispatched; TRUE means
    // the message was handled. The default lets the dialog manager handle keyboard navigation.
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    bool m_bInModalLoop = false;
    bool m_bEndModal = false;
    INT_PTR m_nModalResult = -1;
};
