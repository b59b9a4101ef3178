#include "web/new_window_dlg.h"

#include <exdisp.h>
#include <mshtml.h>

#include "framework/ansi_string.h"
#include "framework/win_app.h"
#include "res/resource.h"
#include "web/error_handler.h"

namespace {

const DISPID kDispidNavigateComplete2 = 252;
const DISPID kDispidDocumentComplete = 259;
const UINT kWmForwardMsg = 0x037F;
const char kCaptionSuffix[] = "|F5可以刷新页面";
const char kCloseQuestion[] = "确实要退出游戏？";
const char kCloseCaption[] = "提示";

}  // namespace

CNewWindowDlg::CNewWindowDlg() : CDialog(IDD_NEW_WINDOW) {}

CNewWindowDlg::~CNewWindowDlg()
{
    // The window goes before the members: its controls are released at WM_DESTROY while
    // m_browser still wraps a live control window.
    if (m_hWnd)
        DestroyWindow(m_hWnd);
}

void CNewWindowDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_GAME_BROWSER, m_browser);
}

const MessageMap* CNewWindowDlg::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(WM_SIZE, &CNewWindowDlg::OnSize),
        OnMessage(WM_CLOSE, &CNewWindowDlg::OnClose),
        OnMessage(WM_ERASEBKGND, &CNewWindowDlg::OnEraseBkgnd),
    };
    static const MessageMap map = MakeMessageMap(CDialog::GetMessageMap(), entries);
    return &map;
}

const EventSinkMap* CNewWindowDlg::GetEventSinkMap() const
{
    static const EventSinkEntry entries[] = {
        OnEvent<&CNewWindowDlg::OnDocumentComplete>(IDC_GAME_BROWSER, kDispidDocumentComplete),
        OnEvent<&CNewWindowDlg::OnNavigateComplete2>(IDC_GAME_BROWSER, kDispidNavigateComplete2),
    };
    static const EventSinkMap map = MakeEventSinkMap(entries);
    return &map;
}

BOOL CNewWindowDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_hIcon = LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_TAVREL));

    // Unowned, so it gets a taskbar button of its own while the launcher is hidden.
    const bool owned = GetWindow(m_hWnd, GW_OWNER) != nullptr;
    if (!owned || SetWindowLongA(m_hWnd, GWL_HWNDPARENT, 0) != 0) {
        SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
        SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    }
    SetClassLongA(m_hWnd, GCL_STYLE, CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS);
    ShowWindow(m_hWnd, SW_SHOWMAXIMIZED);

    RECT rc;
    GetClientRect(m_hWnd, &rc);
    SetWindowPos(m_browser.m_hWnd, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, 0);

    VARIANT url, empty;
    VariantInit(&url);
    VariantInit(&empty);
    V_VT(&url) = VT_BSTR;
    V_BSTR(&url) = SysAllocString(AnsiToWide(m_strUrl.c_str()).c_str());
    m_browser.Navigate2(&url, &empty, &empty, &empty, &empty);
    VariantClear(&url);
    VariantClear(&empty);

    BringWindowToTop(m_hWnd);
    return TRUE;
}

LRESULT CNewWindowDlg::OnSize(WPARAM, LPARAM lParam)
{
    const LRESULT result = Default();
    if (IsWindow(m_browser.m_hWnd))
        SetWindowPos(m_browser.m_hWnd, nullptr, 0, 0, LOWORD(lParam), HIWORD(lParam), SWP_NOZORDER);
    return result;
}

LRESULT CNewWindowDlg::OnClose(WPARAM, LPARAM)
{
    if (MessageBoxA(m_hWnd, kCloseQuestion, kCloseCaption, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDNO)
        return 0;
    return Default();
}

LRESULT CNewWindowDlg::OnEraseBkgnd(WPARAM, LPARAM) { return TRUE; }

BOOL CNewWindowDlg::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN) {
        if (pMsg->wParam == VK_F5) {
            m_browser.Refresh();
            return TRUE;
        }
        // Enter and Esc belong to the page and never end the window.
        if (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE)
            return CWnd::PreTranslateMessage(pMsg);
    }
    const bool input = (pMsg->message >= WM_KEYFIRST && pMsg->message <= 0x0109) ||
                       (pMsg->message >= WM_MOUSEFIRST && pMsg->message <= 0x020D);
    if (!input)
        return FALSE;

    // The focused control's own accelerators first, through its top window in this dialog.
    HWND hFocus = GetFocus();
    if (hFocus && IsChild(m_hWnd, hFocus)) {
        HWND hChild = hFocus;
        while (GetParent(hChild) != m_hWnd)
            hChild = GetParent(hChild);
        if (SendMessageA(hChild, kWmForwardMsg, 0, reinterpret_cast<LPARAM>(pMsg)))
            return TRUE;
    }
    return IsDialogMessage(pMsg);
}

void CNewWindowDlg::OnDocumentComplete(IDispatch* pDisp, VARIANT*)
{
    IWebBrowser2* browser = nullptr;
    if (!pDisp || FAILED(pDisp->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser))))
        return;
    IDispatch* document = nullptr;
    if (SUCCEEDED(browser->get_Document(&document)) && document) {
        IHTMLDocument2* html = nullptr;
        if (SUCCEEDED(document->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&html)))) {
            BSTR title = nullptr;
            html->get_title(&title);
            // Whichever document completed last, a frame's included, names the window.
            const std::string caption = WideToAnsi(title) + kCaptionSuffix;
            SysFreeString(title);
            SetWindowTextA(m_hWnd, caption.c_str());
            InvalidateRect(m_hWnd, nullptr, TRUE);
            html->Release();
        }
        document->Release();
    }
    browser->Release();
}

void CNewWindowDlg::OnNavigateComplete2(IDispatch*, VARIANT*)
{
    IDispatch* document = m_browser.GetDocument();
    if (!document)
        return;
    IHTMLDocument2* html = nullptr;
    if (SUCCEEDED(document->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&html)))) {
        IHTMLWindow2* window = nullptr;
        if (SUCCEEDED(html->get_parentWindow(&window)) && window) {
            VARIANT handler;
            VariantInit(&handler);
            V_VT(&handler) = VT_DISPATCH;
            V_DISPATCH(&handler) = ErrorHandler::Shared();
            window->put_onerror(handler);
            window->Release();
        }
        html->Release();
    }
    document->Release();
}
