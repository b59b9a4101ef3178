#include "update/update_notice.h"

#include <atomic>
#include <memory>

#include "app/globals.h"

namespace {

const DWORD kProgressIntervalMs = 50;

std::atomic<int32_t> g_nPendingNotices{0};

// A posted copy. Its destruction by the window's handler is what tells the worker that
// the window has taken the notice.
class CPostedNotice : public CHttpCallBack {
public:
    CPostedNotice(const CHttpCallBack& record, std::shared_ptr<std::atomic<bool>> handled)
        : CHttpCallBack(record), m_pHandled(std::move(handled))
    {
        ++g_nPendingNotices;
    }
    ~CPostedNotice() override
    {
        if (m_pHandled)
            m_pHandled->store(true);
        --g_nPendingNotices;
    }

private:
    std::shared_ptr<std::atomic<bool>> m_pHandled;
};

// Progress bookkeeping of the calling worker thread, for the one window it talks to.
struct ProgressState {
    HWND hWnd = nullptr;
    std::shared_ptr<std::atomic<bool>> lastHandled;  // of the latest posted 11
    DWORD lastPostTick = 0;
    int32_t lastPostedKiB = -1;
    bool withheld = false;  // an 11 was held back since the latest posted one
};

thread_local ProgressState t_progress;

bool Post(const CHttpCallBack& record, std::shared_ptr<std::atomic<bool>> handled)
{
    // The copy owns its own URL text: the worker's record changes and dies meanwhile.
    auto* copy = new CPostedNotice(record, std::move(handled));
    if (PostMessageA(record.m_hWndNotify, WM_UPDATE_NOTIFY, 0, reinterpret_cast<LPARAM>(copy)))
        return true;
    delete copy;
    return false;
}

bool PostProgress(const CHttpCallBack& record, ProgressState& state)
{
    auto handled = std::make_shared<std::atomic<bool>>(false);
    CHttpCallBack progress(record);
    progress.m_nStatus = HTTPCB_PROGRESS;
    if (!Post(progress, handled))
        return false;
    state.lastHandled = std::move(handled);
    state.lastPostTick = GetTickCount();
    state.lastPostedKiB = record.m_nBytes / 1024;
    state.withheld = false;
    return true;
}

}  // namespace

int32_t PostUpdateNotice(CHttpCallBack* pCallBack)
{
    const CHttpCallBack& record = *pCallBack;
    // A null window would make PostMessageA post to this thread's own queue, where no
    // handler deletes the copy.
    if (!record.m_hWndNotify || record.m_nGeneration != g_nWorkerGeneration.load(std::memory_order_relaxed))
        return 0;

    ProgressState& state = t_progress;
    if (state.hWnd != record.m_hWndNotify) {
        state = ProgressState();
        state.hWnd = record.m_hWndNotify;
    }

    if (record.m_nStatus == HTTPCB_PROGRESS) {
        const bool previousHandled = !state.lastHandled || state.lastHandled->load();
        const bool figureChanged = record.m_nBytes / 1024 != state.lastPostedKiB &&
                                   GetTickCount() - state.lastPostTick >= kProgressIntervalMs;
        if (previousHandled || figureChanged)
            return PostProgress(record, state) ? 1 : 0;
        // A window that is gone never handles the last one, so the post due within 50 ms
        // fails and stops the download; asking IsWindow here would cost a round trip per KiB.
        state.withheld = true;
        return 1;
    }

    if (state.withheld && !PostProgress(record, state))
        return 0;
    return Post(record, nullptr) ? 1 : 0;
}

int32_t PendingUpdateNotices() { return g_nPendingNotices.load(); }
