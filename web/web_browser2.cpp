#include "web/web_browser2.h"

#include "framework/ansi_string.h"
#include "framework/dialog.h"
#include "framework/dispatch_args.h"

const CLSID CLSID_WebBrowserControl = {0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};

namespace {

const DISPID kDispidNavigate = 104;
const DISPID kDispidRefresh = -550;
const DISPID kDispidDocument = 203;
const DISPID kDispidNavigate2 = 500;
const UINT kWmForwardMsg = 0x037F;

// An optional VARIANT* argument: a reference to the caller's variant, or left out.
VARIANT OptionalRef(VARIANT* value) { return value ? VariantRef(value) : VariantMissing(); }

}  // namespace

COleControlSite* CWebBrowser2::Site() const
{
    auto* dialog = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(GetParent(m_hWnd)));
    return dialog ? dialog->FindControlSite(m_hWnd) : nullptr;
}

IDispatch* CWebBrowser2::ControlDispatch() const
{
    COleControlSite* site = Site();
    return site ? site->GetDispatch() : nullptr;
}

void CWebBrowser2::Navigate(LPCSTR URL, VARIANT* Flags, VARIANT* TargetFrameName, VARIANT* PostData,
                            VARIANT* Headers)
{
    BSTR url = SysAllocString(AnsiToWide(URL).c_str());
    DispatchInvoke(ControlDispatch(), kDispidNavigate, DISPATCH_METHOD,
                   {VariantBstr(url), OptionalRef(Flags), OptionalRef(TargetFrameName), OptionalRef(PostData),
                    OptionalRef(Headers)});
    SysFreeString(url);
}

void CWebBrowser2::Refresh() { DispatchInvoke(ControlDispatch(), kDispidRefresh, DISPATCH_METHOD, {}); }

LPDISPATCH CWebBrowser2::GetDocument()
{
    VARIANT result;
    if (FAILED(DispatchInvoke(ControlDispatch(), kDispidDocument, DISPATCH_PROPERTYGET, {}, &result)))
        return nullptr;
    if (V_VT(&result) != VT_DISPATCH) {
        VariantClear(&result);
        return nullptr;
    }
    return V_DISPATCH(&result);
}

void CWebBrowser2::Navigate2(VARIANT* URL, VARIANT* Flags, VARIANT* TargetFrameName, VARIANT* PostData,
                             VARIANT* Headers)
{
    DispatchInvoke(ControlDispatch(), kDispidNavigate2, DISPATCH_METHOD,
                   {OptionalRef(URL), OptionalRef(Flags), OptionalRef(TargetFrameName), OptionalRef(PostData),
                    OptionalRef(Headers)});
}

BOOL CWebBrowser2::Create(LPCSTR, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    auto* dialog = dynamic_cast<CDialog*>(pParentWnd);
    HWND hWnd = dialog ? dialog->CreateControl(CLSID_WebBrowserControl, nID, dwStyle, rect) : nullptr;
    return hWnd && SubclassWindow(hWnd);
}

const MessageMap* CWebBrowser2::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(kWmForwardMsg, &CWebBrowser2::OnForwardMsg),
    };
    static const MessageMap map = MakeMessageMap(CWnd::GetMessageMap(), entries);
    return &map;
}

LRESULT CWebBrowser2::OnForwardMsg(WPARAM, LPARAM lParam)
{
    COleControlSite* site = Site();
    auto* msg = reinterpret_cast<MSG*>(lParam);
    return site && msg && site->TranslateAccelerator(msg);
}
