#include "notice_recorder.h"

#include "net/http_callback.h"
#include "update/update_notice.h"

namespace {
const char kClassName[] = "TvrlNoticeRecorder";
}

CNoticeRecorder::CNoticeRecorder()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);
    m_hWnd = CreateWindowA(kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, windowClass.hInstance, this);
}

CNoticeRecorder::~CNoticeRecorder() { Destroy(); }

void CNoticeRecorder::Destroy()
{
    if (m_hWnd) {
        DestroyWindow(m_hWnd);
        m_hWnd = nullptr;
    }
}

std::vector<int32_t> CNoticeRecorder::StatusesWithProgressRunsMerged() const
{
    std::vector<int32_t> statuses;
    for (const RecordedNotice& notice : m_notices)
        if (notice.status != HTTPCB_PROGRESS || statuses.empty() || statuses.back() != HTTPCB_PROGRESS)
            statuses.push_back(notice.status);
    return statuses;
}

bool CNoticeRecorder::Seen(int32_t status) const
{
    for (const RecordedNotice& notice : m_notices)
        if (notice.status == status)
            return true;
    return false;
}

LRESULT CALLBACK CNoticeRecorder::WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
        SetWindowLongPtrA(hWnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<CNoticeRecorder*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (message == WM_UPDATE_NOTIFY && self) {
        auto* record = reinterpret_cast<CHttpCallBack*>(lParam);
        const int32_t backlog = PendingUpdateNotices();
        if (backlog > self->m_nLargestBacklog)
            self->m_nLargestBacklog = backlog;
        self->m_notices.push_back(
            {record->m_hWndNotify, record->m_nGeneration, record->m_nStatus, record->m_nBytes, record->m_strUrl});
        if (self->m_onNotice)
            self->m_onNotice(self->m_notices.back());
        delete record;
        return 0;
    }
    return DefWindowProcA(hWnd, message, wParam, lParam);
}
