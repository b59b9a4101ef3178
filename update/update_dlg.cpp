#include "update/update_dlg.h"

#include <memory>

#include "framework/message_box.h"
#include "res/resource.h"
#include "update/update_notice.h"
#include "update/update_texts.h"
#include "update/update_worker.h"

CUpdateDlg::CUpdateDlg(CWnd* pParent) : CDialog(IDD_UPDATE, pParent) {}

CUpdateDlg::~CUpdateDlg() = default;

const MessageMap* CUpdateDlg::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(WM_UPDATE_NOTIFY, &CUpdateDlg::OnUpdateNotify),
    };
    static const MessageMap map = MakeMessageMap(CDialog::GetMessageMap(), entries);
    return &map;
}

void CUpdateDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_UPDATE_PROGRESS, m_progress);
}

BOOL CUpdateDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    // A full worker: the newest generation, so the main window's check goes stale.
    StartUpdateWorker(m_hWnd, FALSE);
    return TRUE;
}

void CUpdateDlg::OnOK()
{
    if (m_bAllDone)
        CDialog::OnOK();
}

LRESULT CUpdateDlg::OnUpdateNotify(WPARAM, LPARAM lParam)
{
    const std::unique_ptr<CHttpCallBack> record(reinterpret_cast<CHttpCallBack*>(lParam));
    if (!record)
        return 0;

    bool close = false;
    const int32_t kib = record->m_nBytes / 1024;
    switch (record->m_nStatus) {
    case HTTPCB_FILE_FAILED:
        AfxMessageBox(kUpdateSaveFailedText);
        close = true;
        break;
    case HTTPCB_STARTED:
    case HTTPCB_NEW_VERSION:
    case HTTPCB_FILE_DONE:
        break;
    case HTTPCB_LENGTH:
        m_progress.SetRange32(0, kib);
        break;
    case HTTPCB_PROGRESS:
        m_progress.SetPos(kib);
        break;
    case HTTPCB_ALL_DONE:
        m_bAllDone = true;
        OnOK();
        break;
    default:
        close = true;
        break;
    }
    UpdateData(FALSE);
    if (close)
        OnCancel();
    return 0;
}
