#include "support/message_box_answerer.h"

namespace {

const int kMessageBoxTextId = 0xFFFF;  // the static control that holds a message box's text

struct Search {
    const std::string* caption;
    HWND found;
};

BOOL CALLBACK FindBox(HWND hWnd, LPARAM lParam)
{
    auto* search = reinterpret_cast<Search*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hWnd, &pid);
    char className[16] = {};
    char caption[256] = {};
    GetClassNameA(hWnd, className, sizeof className);
    GetWindowTextA(hWnd, caption, sizeof caption);
    if (pid == GetCurrentProcessId() && lstrcmpA(className, "#32770") == 0 && *search->caption == caption &&
        IsWindowVisible(hWnd)) {
        search->found = hWnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

CMessageBoxAnswerer::CMessageBoxAnswerer(std::string caption)
    : m_strCaption(std::move(caption)), m_thread(&CMessageBoxAnswerer::Run, this)
{
}

CMessageBoxAnswerer::~CMessageBoxAnswerer()
{
    m_bStop = true;
    m_thread.join();
}

std::vector<std::string> CMessageBoxAnswerer::Texts() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_texts;
}

void CMessageBoxAnswerer::Run()
{
    while (!m_bStop) {
        Search search = {&m_strCaption, nullptr};
        EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            std::lock_guard<std::mutex> lock(m_mutex);
            // A box that is closing may still be listed once more; answer it once.
            bool seen = false;
            for (HWND answered : m_answered)
                seen = seen || answered == search.found;
            if (!seen) {
                char text[512] = {};
                GetDlgItemTextA(search.found, kMessageBoxTextId, text, sizeof text);
                m_texts.push_back(text);
                m_answered.push_back(search.found);
            }
            PostMessageA(search.found, WM_COMMAND, IDOK, 0);
        }
        Sleep(20);
    }
}
