#pragma once
// The update dialog: a progress bar driven by its own update worker, which fetches the
// update files. It ends with IDOK once every file is in place, with IDCANCEL on a failure
// or when the user closes it.
#include "framework/dialog.h"
#include "framework/progress_ctrl.h"

class CUpdateDlg : public CDialog {
public:
    explicit CUpdateDlg(CWnd* pParent = nullptr);
    ~CUpdateDlg() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // OK ends the dialog only once every file is in place: the main window takes an OK
    // ending as a complete update and starts the updater on the package.
    void OnOK() override;
    const MessageMap* GetMessageMap() const override;

    LRESULT OnUpdateNotify(WPARAM wParam, LPARAM lParam);

    CProgressCtrl m_progress;

private:
    bool m_bAllDone = false;
};
