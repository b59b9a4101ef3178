#pragma once
// The WebBrowser control of a dialog, called through its dispatch members by their published
// ids, so the system's control and any other answering that class id serve alike.
#include <oaidl.h>

#include "framework/wnd.h"

class COleControlSite;

// {8856F961-340A-11D0-A96B-00C04FD705A2}
extern const CLSID CLSID_WebBrowserControl;

class CWebBrowser2 : public CWnd {
public:
    // Optional arguments may be null: the browser's defaults apply.
    void Navigate(LPCSTR URL, VARIANT* Flags, VARIANT* TargetFrameName, VARIANT* PostData, VARIANT* Headers);
    void Refresh();
    // The current document with one reference for the caller, or null.
    LPDISPATCH GetDocument();
    void Navigate2(VARIANT* URL, VARIANT* Flags, VARIANT* TargetFrameName, VARIANT* PostData, VARIANT* Headers);
    // Makes the control in pParentWnd, a dialog, and binds this object to it.
    BOOL Create(LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

protected:
    const MessageMap* GetMessageMap() const override;
    // A dialog forwards input here so the control's accelerators see it first.
    LRESULT OnForwardMsg(WPARAM wParam, LPARAM lParam);

private:
    COleControlSite* Site() const;
    IDispatch* ControlDispatch() const;
};
