#pragma once
// The base of every window object. A CWnd is bound to its window once, when the window is
// created (or, for a control of a dialog, when DDX_Control binds it): from then on the
// window's messages go through the object's message map, then its DefWindowProc, which
// hands them to the window's own class procedure.
#include <windows.h>

#include "framework/message_map.h"

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // The object bound to hWnd, or null.
    static CWnd* FromHandlePermanent(HWND hWnd);

    // Routes an existing window (a dialog's control) through this object.
    BOOL SubclassWindow(HWND hWnd);

    // Offered each queued message before it is dispatched (see AfxPreTranslateMessage);
    // TRUE means handled.
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    // Centres the window over its owner, or over the work area when it has none.
    void CenterWindow();

    HWND m_hWnd = nullptr;

protected:
    virtual const MessageMap* GetMessageMap() const;
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // What the window's class would do with the message.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // DefWindowProc with the message being handled.
    LRESULT Default();

    // Binds the next window this thread creates to `wnd`: called just before creation.
    static void HookNextWindowCreation(CWnd* wnd);
    static void UnhookWindowCreation();

private:
    static LRESULT CALLBACK StandardWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK CreationHookProc(int code, WPARAM wParam, LPARAM lParam);
    void Attach(HWND hWnd);
    void Detach();

    WNDPROC m_pfnSuper = nullptr;
    MSG m_currentMessage = {};
};
