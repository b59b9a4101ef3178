#include "framework/wnd.h"

#include <unordered_map>

namespace {

// Windows belong to the thread that made them, and so do their objects.
thread_local std::unordered_map<HWND, CWnd*> t_windows;
thread_local CWnd* t_pWndInit = nullptr;
thread_local HHOOK t_hCreationHook = nullptr;

}  // namespace

CWnd::~CWnd()
{
    if (m_hWnd && t_windows.count(m_hWnd) && t_windows[m_hWnd] == this) {
        HWND hWnd = m_hWnd;
        Detach();
        if (IsWindow(hWnd))
            DestroyWindow(hWnd);
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    const auto found = t_windows.find(hWnd);
    return found == t_windows.end() ? nullptr : found->second;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!hWnd || m_hWnd || FromHandlePermanent(hWnd))
        return FALSE;
    Attach(hWnd);
    return TRUE;
}

void CWnd::Attach(HWND hWnd)
{
    m_hWnd = hWnd;
    t_windows[hWnd] = this;
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::StandardWindowProc)));
}

void CWnd::Detach()
{
    if (!m_hWnd)
        return;
    if (m_pfnSuper && reinterpret_cast<WNDPROC>(GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC)) == &CWnd::StandardWindowProc)
        SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    t_windows.erase(m_hWnd);
    m_hWnd = nullptr;
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

void CWnd::CenterWindow()
{
    RECT rcWindow;
    GetWindowRect(m_hWnd, &rcWindow);
    RECT rcArea;
    HWND hOwner = GetWindow(m_hWnd, GW_OWNER);
    if (hOwner && IsWindowVisible(hOwner) && !IsIconic(hOwner)) {
        GetWindowRect(hOwner, &rcArea);
    } else {
        MONITORINFO info = {};
        info.cbSize = sizeof info;
        GetMonitorInfoA(MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTOPRIMARY), &info);
        rcArea = info.rcWork;
    }
    const int width = rcWindow.right - rcWindow.left;
    const int height = rcWindow.bottom - rcWindow.top;
    const int x = (rcArea.left + rcArea.right) / 2 - width / 2;
    const int y = (rcArea.top + rcArea.bottom) / 2 - height / 2;
    SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

const MessageMap* CWnd::GetMessageMap() const
{
    static const MessageMap map = {nullptr, nullptr, 0};
    return &map;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    for (const MessageMap* map = GetMessageMap(); map; map = map->base)
        for (size_t i = 0; i < map->count; ++i)
            if (map->entries[i].message == message)
                return (this->*map->entries[i].handler)(wParam, lParam);
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper)
        return CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    return DefWindowProc(m_currentMessage.message, m_currentMessage.wParam, m_currentMessage.lParam);
}

LRESULT CALLBACK CWnd::StandardWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* self = FromHandlePermanent(hWnd);
    if (!self)
        return ::DefWindowProcA(hWnd, message, wParam, lParam);

    const MSG outer = self->m_currentMessage;
    self->m_currentMessage = MSG{hWnd, message, wParam, lParam, 0, {0, 0}};
    LRESULT result;
    if (message == WM_NCDESTROY) {
        result = self->DefWindowProc(message, wParam, lParam);
        self->Detach();
    } else {
        result = self->WindowProc(message, wParam, lParam);
    }
    self->m_currentMessage = outer;
    return result;
}

void CWnd::HookNextWindowCreation(CWnd* wnd)
{
    t_pWndInit = wnd;
    if (!t_hCreationHook)
        t_hCreationHook = SetWindowsHookExA(WH_CBT, &CWnd::CreationHookProc, nullptr, GetCurrentThreadId());
}

void CWnd::UnhookWindowCreation()
{
    t_pWndInit = nullptr;
    if (t_hCreationHook) {
        UnhookWindowsHookEx(t_hCreationHook);
        t_hCreationHook = nullptr;
    }
}

LRESULT CALLBACK CWnd::CreationHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    // The first window created after HookNextWindowCreation is the object's own; the
    // controls its dialog template creates afterwards are not.
    if (code == HCBT_CREATEWND && t_pWndInit) {
        CWnd* wnd = t_pWndInit;
        t_pWndInit = nullptr;
        wnd->Attach(reinterpret_cast<HWND>(wParam));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
