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
    GetClassNameA(hWnd, className, sizeof className);
    // InternalGetWindowText sends no message: the window's thread may be waiting on this one.
    wchar_t wideCaption[256] = {};
    InternalGetWindowText(hWnd, wideCaption, 256);
    char caption[512] = {};
    WideCharToMultiByte(CP_ACP, 0, wideCaption, -1, caption, sizeof caption, nullptr, nullptr);
    if (pid == GetCurrentProcessId() && lstrcmpA(className, "#32770") == 0 && *search->caption == caption &&
        IsWindowVisible(hWnd)) {
        search->found = hWnd;
        return FALSE;
    }
    return TRUE;
}

// The button drawn as the default one; reading styles sends no message to the box's thread.
int DefaultButtonOf(HWND box)
{
    for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO}) {
        HWND button = GetDlgItem(box, id);
        if (button && (GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            return id;
    }
    return 0;
}

}  // namespace

CMessageBoxAnswerer::CMessageBoxAnswerer(std::string caption, int answer)
    : m_strCaption(std::move(caption)), m_nAnswer(answer), m_thread(&CMessageBoxAnswerer::Run, this)
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

std::vector<int> CMessageBoxAnswerer::DefaultButtons() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_defaultButtons;
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
                m_defaultButtons.push_back(DefaultButtonOf(search.found));
                m_answered.push_back(search.found);
            }
            PostMessageA(search.found, WM_COMMAND, m_nAnswer, 0);
        }
        Sleep(20);
    }
}
