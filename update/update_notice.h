#pragma once
// The update worker's messages to its window: each notice travels as a heap copy of the
// download's record, posted with WM_UPDATE_NOTIFY; the receiving handler deletes it.
#include <windows.h>

#include <cstdint>

#include "net/http_callback.h"

// wParam 0, lParam: CHttpCallBack* that the handler owns and deletes.
const UINT WM_UPDATE_NOTIFY = WM_USER + 10001;
// Routed to a handler that does nothing; nothing sends it.
const UINT WM_UPDATE_SPARE = WM_USER + 10002;

// The worker's HttpNotifyProc. Posts a copy of `pCallBack` to its window while the
// record's generation is still the newest; 0 (stop) when the worker is stale or the
// window is gone. Progress notices (11) are coalesced so a fast download cannot fill the
// window's message queue: one is posted when the previous one has been handled, or when
// the whole-KiB figure has changed and 50 ms have passed; a withheld progress is posted
// before the next other status, so the last 11 always carries the final total. A
// withheld notice answers "go on": a vanished window is found at the next post.
int32_t PostUpdateNotice(CHttpCallBack* pCallBack);

// Copies posted by PostUpdateNotice that no handler has deleted yet.
int32_t PendingUpdateNotices();
