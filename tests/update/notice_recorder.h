#pragma once
// A window that takes WM_UPDATE_NOTIFY the way the launcher's windows do: it records
// each notice and deletes the record. Lives on the thread that creates it, which must
// pump messages.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct RecordedNotice {
    HWND hWnd;
    int32_t generation;
    int32_t status;
    int32_t bytes;
    std::string url;
};

class CNoticeRecorder {
public:
    CNoticeRecorder();
    ~CNoticeRecorder();
    CNoticeRecorder(const CNoticeRecorder&) = delete;
    CNoticeRecorder& operator=(const CNoticeRecorder&) = delete;

    HWND Window() const { return m_hWnd; }
    void Destroy();

    const std::vector<RecordedNotice>& Notices() const { return m_notices; }
    // The statuses in order, with runs of progress notices (11) shown once.
    std::vector<int32_t> StatusesWithProgressRunsMerged() const;
    bool Seen(int32_t status) const;
    // The most notices that waited unhandled at once, counted as each one is handled.
    int32_t LargestBacklog() const { return m_nLargestBacklog; }

    // Called after each notice is recorded, before its record is deleted.
    std::function<void(const RecordedNotice&)> m_onNotice;

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = nullptr;
    std::vector<RecordedNotice> m_notices;
    int32_t m_nLargestBacklog = 0;
};
