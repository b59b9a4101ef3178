// The windowless control site, its layered rendering and the Flash layer, against a double
// of the Flash control registered under its class id.
#include <windows.h>
#include <ole2.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "flashhost/com_error.h"
#include "flashhost/flash_dlg_base.h"
#include "framework/pre_translate.h"
#include "framework/win_app.h"
#include "res/resource.h"
#include "support/flash_control_double.h"
#include "support/message_pump.h"
#include "support/modal_body.h"
#include "ui/launcher_dlg.h"

namespace {

class OleSession {
public:
    OleSession() { OleInitialize(nullptr); }
    ~OleSession() { OleUninitialize(); }
};

// A site on a window of the test's own, its state in view.
class TestSite : public CFlashDlgBase {
public:
    BOOL Layered() const { return m_bLayered; }
    bool HasWindowlessObject() const { return m_pInPlaceObjectWindowless != nullptr; }
    LONG RefCount() const { return m_lRefCount; }
    std::vector<std::pair<std::wstring, std::wstring>> commands;
    std::vector<std::wstring> flashCalls;

    HRESULT FSCommand(BSTR command, BSTR args) override
    {
        commands.emplace_back(command, args);
        SysFreeString(command);
        SysFreeString(args);
        return S_OK;
    }
    HRESULT FlashCall(BSTR request) override
    {
        flashCalls.emplace_back(request);
        SysFreeString(request);
        return S_OK;
    }
};

HWND MakeHostWindow(DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE)
{
    return CreateWindowExA(WS_EX_APPWINDOW | WS_EX_CLIENTEDGE, "STATIC", "host", style, 37, 41, 300, 200, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

class FlashHostTest : public ::testing::Test {
protected:
    OleSession m_ole;
};

TEST_F(FlashHostTest, SiteAnswersItsInterfacesInOrderWithOneCount)
{
    TestSite site;
    struct Case {
        const IID* iid;
        bool answered;
    };
    const Case cases[] = {
        {&IID_IUnknown, true},           {&IID_IOleInPlaceSite, true},     {&IID_IOleInPlaceSiteEx, true},
        {&IID_IOleInPlaceSiteWindowless, true}, {&IID_IOleInPlaceFrame, true}, {&IID_IStorage, true},
        {&DIID__IShockwaveFlashEvents, true},   {&IID_IOleClientSite, false},  {&IID_IOleWindow, false},
        {&IID_IOleInPlaceUIWindow, false},      {&IID_IDispatch, false},       {&IID_IOleObject, false},
    };
    LONG expectedCount = 0;
    for (const Case& c : cases) {
        void* face = reinterpret_cast<void*>(1);
        const HRESULT hr = static_cast<IOleClientSite*>(&site)->QueryInterface(*c.iid, &face);
        if (c.answered) {
            EXPECT_EQ(hr, S_OK);
            EXPECT_NE(face, nullptr);
            ++expectedCount;
        } else {
            EXPECT_EQ(hr, E_NOINTERFACE);
            EXPECT_EQ(face, nullptr);
        }
        EXPECT_EQ(site.RefCount(), expectedCount);
    }
    // The identity is the client site face, whichever face is asked.
    IUnknown* viaFrame = nullptr;
    static_cast<IOleInPlaceFrame*>(&site)->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&viaFrame));
    EXPECT_EQ(viaFrame, static_cast<IUnknown*>(static_cast<IOleClientSite*>(&site)));
    IUnknown* events = nullptr;
    static_cast<IStorage*>(&site)->QueryInterface(DIID__IShockwaveFlashEvents, reinterpret_cast<void**>(&events));
    EXPECT_EQ(events, static_cast<IUnknown*>(static_cast<_IShockwaveFlashEvents*>(&site)));

    // Release never frees the object, not even below zero.
    TestSite fresh;
    EXPECT_EQ(static_cast<IStorage*>(&fresh)->AddRef(), 1u);
    EXPECT_EQ(static_cast<IOleInPlaceFrame*>(&fresh)->Release(), 0u);
    EXPECT_EQ(static_cast<LONG>(static_cast<IOleClientSite*>(&fresh)->Release()), -1);
    EXPECT_EQ(fresh.RefCount(), -1);
}

TEST_F(FlashHostTest, CreationRestylesTheHostAndActivatesTheControlWindowless)
{
    CFlashControlDouble control;
    ASSERT_TRUE(control.Register());
    HWND host = MakeHostWindow();
    {
        TestSite site;
        EXPECT_TRUE(site.CreateOleControl(host, CLSID_ShockwaveFlash, WS_EX_LAYERED, WS_POPUP | WS_CAPTION | WS_SYSMENU,
                                          host, GetModuleHandleA(nullptr)));
        RECT rc;
        GetWindowRect(host, &rc);
        EXPECT_EQ(rc.left, 0);
        EXPECT_EQ(rc.top, 0);
        EXPECT_EQ(rc.right - rc.left, 996);
        EXPECT_EQ(rc.bottom - rc.top, 646);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(host, GWL_EXSTYLE)), static_cast<DWORD>(WS_EX_LAYERED));
        EXPECT_EQ(GetWindowLongA(host, GWL_STYLE) & WS_CAPTION, 0);
        EXPECT_TRUE(GetWindowLongA(host, GWL_STYLE) & WS_SYSMENU);
        EXPECT_TRUE(site.Layered());
        EXPECT_TRUE(control.HasSink());
        // The control covers the whole client area.
        RECT client;
        GetClientRect(host, &client);
        EXPECT_TRUE(EqualRect(&control.activationRect, &client));

        // The Flash layer's own calls, in its order (OleCreate's around them aside).
        const std::set<std::string> layerCalls = {"FindConnectionPoint", "Advise", "put_WMode transparent",
                                                  "put_Scale showAll", "put_BackgroundColor 0", "put_EmbedMovie 0",
                                                  "SetClientSite", "DoVerb -1", "Load", "Play"};
        auto first = std::find(control.calls.begin(), control.calls.end(), "FindConnectionPoint");
        std::vector<std::string> seen;
        std::copy_if(first, control.calls.end(), std::back_inserter(seen),
                     [&](const std::string& call) { return layerCalls.count(call) != 0; });
        EXPECT_EQ(seen, (std::vector<std::string>{"FindConnectionPoint", "Advise", "put_WMode transparent",
                                                  "put_Scale showAll", "put_BackgroundColor 0", "put_EmbedMovie 0",
                                                  "SetClientSite", "DoVerb -1", "Load", "Play"}));

        // The movie arrives as a stream: signature, length, the resource's bytes, at position 0.
        HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(IDR_LOGIN_SWF), "SWF");
        ASSERT_NE(resource, nullptr);
        const DWORD length = SizeofResource(nullptr, resource);
        const char* movie = static_cast<const char*>(LockResource(LoadResource(nullptr, resource)));
        std::string expected("\x66\x55\x66\x55", 4);
        expected.append(reinterpret_cast<const char*>(&length), 4);
        expected.append(movie, length);
        EXPECT_EQ(control.loadedStreamPosition, 0u);
        EXPECT_EQ(control.loadedStream, expected);

        // Stop and restart, any number of times.
        control.calls.clear();
        site.StopMovie();
        site.PlayMovie();
        site.StopMovie();
        EXPECT_EQ(control.calls, (std::vector<std::string>{"StopPlay", "Play", "StopPlay"}));
        control.calls.clear();
    }
    // Teardown: the connection goes, the control is closed, every reference is given back.
    EXPECT_EQ(control.calls, (std::vector<std::string>{"Unadvise 77", "Close 1"}));
    EXPECT_FALSE(control.HasSink());
    EXPECT_EQ(control.References(), 1);
    DestroyWindow(host);
}

struct FailureCase {
    const char* what;
    bool registered;
    FlashDoubleOptions options;
    const char* notReached;  // a call creation must stop before
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.what; }

FlashDoubleOptions With(std::function<void(FlashDoubleOptions&)> change)
{
    FlashDoubleOptions options;
    change(options);
    return options;
}

class CreationFailures : public FlashHostTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(CreationFailures, StopAtTheFailingStepAndReleaseWhatWasHeld)
{
    const FailureCase& c = GetParam();
    CFlashControlDouble control(c.options);
    if (c.registered) {
        ASSERT_TRUE(control.Register());
    }
    HWND host = MakeHostWindow();
    {
        TestSite site;
        EXPECT_FALSE(site.CreateOleControl(host, CLSID_ShockwaveFlash, WS_EX_LAYERED, WS_POPUP, host,
                                           GetModuleHandleA(nullptr)));
        if (c.notReached) {
            EXPECT_EQ(std::count(control.calls.begin(), control.calls.end(), c.notReached), 0) << c.notReached;
        }
    }
    EXPECT_EQ(control.References(), 1) << "the site gave back every reference";
    DestroyWindow(host);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, CreationFailures,
    ::testing::Values(
        FailureCase{"no control registered under the class id", false, FlashDoubleOptions(), nullptr},
        FailureCase{"no IShockwaveFlash", true, With([](FlashDoubleOptions& o) { o.shockwaveFlash = false; }), "DoVerb -1"},
        FailureCase{"no view interface", true, With([](FlashDoubleOptions& o) { o.viewObject = false; }), "DoVerb -1"},
        FailureCase{"no connection points", true, With([](FlashDoubleOptions& o) { o.connectionPoints = false; }),
                    "DoVerb -1"},
        FailureCase{"DoVerb fails", true, With([](FlashDoubleOptions& o) { o.doVerbResult = E_FAIL; }), "Load"}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return "case" + std::to_string(info.index); });

TEST_F(FlashHostTest, FailingPropertyRaisesTheComErrorWithItsResult)
{
    CFlashControlDouble control(With([](FlashDoubleOptions& o) { o.scaleResult = E_ACCESSDENIED; }));
    ASSERT_TRUE(control.Register());
    HWND host = MakeHostWindow();
    {
        TestSite site;
        try {
            site.CreateOleControl(host, CLSID_ShockwaveFlash, WS_EX_LAYERED, WS_POPUP, host, GetModuleHandleA(nullptr));
            ADD_FAILURE() << "no exception";
        } catch (const CComError& error) {
            EXPECT_EQ(error.Error(), E_ACCESSDENIED);
            EXPECT_TRUE(IsEqualIID(error.Interface(), IID_IShockwaveFlash));
        }
    }
    DestroyWindow(host);
}

TEST_F(FlashHostTest, WithoutWindowlessActivationTheControlRunsWindowed)
{
    struct Case {
        DWORD exStyle;
        bool windowless;
    };
    for (const Case& c : {Case{WS_EX_LAYERED, false}, Case{0, true}}) {
        FlashDoubleOptions options;
        options.windowless = c.windowless;
        CFlashControlDouble control(options);
        ASSERT_TRUE(control.Register());
        HWND host = MakeHostWindow();
        {
            TestSite site;
            EXPECT_TRUE(site.CreateOleControl(host, CLSID_ShockwaveFlash, c.exStyle, WS_POPUP | WS_VISIBLE, host,
                                              GetModuleHandleA(nullptr)));
            EXPECT_FALSE(site.Layered());
            EXPECT_FALSE(site.HasWindowlessObject());
            EXPECT_EQ(std::count(control.calls.begin(), control.calls.end(), "put_WMode transparent"), 0);
            EXPECT_EQ(std::count(control.calls.begin(), control.calls.end(), "put_Scale showAll"), 1);

            // A redraw paints the plain way, into a window device context.
            control.calls.clear();
            control.RequestRedraw();
            EXPECT_EQ(control.calls, std::vector<std::string>{"Draw 1"});
        }
        DestroyWindow(host);
    }
}

// The main window with the double as its movie: each test body runs inside its modal loop.
class FlashLauncherDlg : public TModalBody<CLauncherDlg> {
public:
    std::vector<std::pair<std::wstring, std::wstring>> commands;

    const uint8_t* BlackPixels() const { return static_cast<const uint8_t*>(m_pBitsBlack); }
    HBITMAP BlackBitmap() const { return m_hbmBlack; }
    RECT SurfaceRect() const { return m_rcWindow; }
    void SetWebViewRect(const RECT& rc) { m_rcWebView = rc; }
    CWebWnd& WebView() { return m_wndWeb; }

    HRESULT FSCommand(BSTR command, BSTR args) override
    {
        commands.emplace_back(command ? command : L"", args ? args : L"");
        SysFreeString(command);
        SysFreeString(args);
        return S_OK;
    }

};

class FlashLauncherTest : public FlashHostTest {
protected:
    INT_PTR Run(CFlashControlDouble& control, std::function<void(FlashLauncherDlg&)> body)
    {
        EXPECT_TRUE(control.Register());
        FlashLauncherDlg dlg;
        m_app.m_pMainWnd = &dlg;
        dlg.body = [&] { body(dlg); };
        const INT_PTR result = dlg.DoModal();
        m_app.m_pMainWnd = nullptr;
        MSG msg;
        PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        return result;
    }

    CTestApp m_app;
};

const uint8_t* PixelAt(const uint8_t* bits, int x, int y) { return bits + (static_cast<size_t>(y) * 996 + x) * 4; }

TEST_F(FlashLauncherTest, LayeredFramesCarryTheAlphaOfTheTwoRenders)
{
    CFlashControlDouble control;
    Run(control, [&](FlashLauncherDlg& dlg) {
        RECT rc;
        GetWindowRect(dlg.m_hWnd, &rc);
        EXPECT_EQ(rc.right - rc.left, 996);
        EXPECT_EQ(rc.bottom - rc.top, 646);

        control.calls.clear();
        ASSERT_EQ(control.RequestRedraw(), S_OK);
        EXPECT_EQ(control.calls, (std::vector<std::string>{"Draw 32", "Draw 32"}));
        const uint8_t* bits = dlg.BlackPixels();
        ASSERT_NE(bits, nullptr);
        const std::vector<uint8_t> opaque(PixelAt(bits, 3, 3), PixelAt(bits, 3, 3) + 4);
        EXPECT_EQ(opaque, (std::vector<uint8_t>{30, 60, 200, 255}));
        const std::vector<uint8_t> halfWhite(PixelAt(bits, 20, 0), PixelAt(bits, 20, 0) + 4);
        EXPECT_EQ(halfWhite, (std::vector<uint8_t>{128, 128, 128, 128}));
        const std::vector<uint8_t> empty(PixelAt(bits, 500, 300), PixelAt(bits, 500, 300) + 4);
        EXPECT_EQ(empty, (std::vector<uint8_t>{0, 0, 0, 0}));

        // The same window keeps its surfaces; a move of one pixel makes new ones of the same size.
        const HBITMAP first = dlg.BlackBitmap();
        control.RequestRedraw();
        EXPECT_EQ(dlg.BlackBitmap(), first);
        SetWindowPos(dlg.m_hWnd, nullptr, rc.left + 1, rc.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        control.RequestRedraw();
        const RECT moved = dlg.SurfaceRect();
        EXPECT_EQ(moved.left, rc.left + 1);
        EXPECT_EQ(moved.right - moved.left, 996);
        EXPECT_EQ(moved.bottom - moved.top, 646);
        EXPECT_EQ(PixelAt(dlg.BlackPixels(), 3, 3)[3], 255);
    });
}

TEST_F(FlashLauncherTest, EventsReachTheVirtualsOnlyInTheirPublishedShape)
{
    CFlashControlDouble control;
    Run(control, [&](FlashLauncherDlg& dlg) {
        auto text = [](const wchar_t* s) {
            VARIANT v;
            v.vt = VT_BSTR;
            v.bstrVal = SysAllocString(s);
            return v;
        };
        VARIANT number;
        number.vt = VT_I4;
        number.lVal = 5;
        VARIANT nullString;
        nullString.vt = VT_BSTR;
        nullString.bstrVal = nullptr;

        EXPECT_EQ(control.Fire(150, {text(L"close"), text(L"")}), S_OK);
        EXPECT_EQ(control.Fire(150, {text(L"moveweb"), nullString}), S_OK);
        EXPECT_EQ(control.Fire(150, {text(L"only one")}), S_OK);
        EXPECT_EQ(control.Fire(150, {text(L"min"), number}), S_OK);
        EXPECT_EQ(control.Fire(150, {number, text(L"x")}), S_OK);
        EXPECT_EQ(control.Fire(150, {text(L"a"), text(L"b"), text(L"c")}), S_OK);
        EXPECT_EQ(control.Fire(151, {text(L"close"), text(L"")}), S_OK);
        EXPECT_EQ(control.Fire(197, {text(L"<invoke/>")}), S_OK);
        EXPECT_EQ(control.Fire(197, {number}), S_OK);

        EXPECT_EQ(dlg.commands, (std::vector<std::pair<std::wstring, std::wstring>>{{L"close", L""}, {L"moveweb", L""}}));
        EXPECT_TRUE(IsWindowVisible(dlg.m_hWnd));
    });
}

TEST_F(FlashLauncherTest, DraggingWithTheLeftButtonMovesTheWindowAndTheWebView)
{
    CFlashControlDouble control;
    Run(control, [&](FlashLauncherDlg& dlg) {
        HWND web = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, dlg.m_hWnd, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
        if (dlg.WebView().m_hWnd)
            DestroyWindow(dlg.WebView().m_hWnd);
        dlg.WebView().SubclassWindow(web);
        dlg.SetWebViewRect(RECT{10, 20, 310, 420});
        SetWindowPos(dlg.m_hWnd, nullptr, 100, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);

        SetCursorPos(110, 70);
        PostMessageA(dlg.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 20));
        PumpRounds(3);
        SetCursorPos(500, 300);
        PostMessageA(dlg.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, 0);
        PumpRounds(3);
        RECT rc;
        GetWindowRect(dlg.m_hWnd, &rc);
        EXPECT_EQ(rc.left, 490);
        EXPECT_EQ(rc.top, 280);
        RECT webRect;
        GetWindowRect(web, &webRect);
        EXPECT_EQ(webRect.left, 500);
        EXPECT_EQ(webRect.top, 300);

        PostMessageA(dlg.m_hWnd, WM_LBUTTONUP, 0, 0);
        PumpRounds(3);
        SetCursorPos(600, 400);
        PostMessageA(dlg.m_hWnd, WM_MOUSEMOVE, 0, 0);
        PumpRounds(3);
        GetWindowRect(dlg.m_hWnd, &rc);
        EXPECT_EQ(rc.left, 490) << "the drag ended with the button";
    });
}

TEST_F(FlashLauncherTest, InputGoesToTheWindowlessControl)
{
    CFlashControlDouble control;
    Run(control, [&](FlashLauncherDlg& dlg) {
        control.forwarded.clear();
        for (UINT message : {WM_SYSKEYUP, WM_DEADCHAR, WM_SYSKEYDOWN, WM_RBUTTONDOWN, WM_MOUSEWHEEL, WM_SETCURSOR})
            PostMessageA(dlg.m_hWnd, message, 0, 0);
        PostMessageA(dlg.m_hWnd, WM_KEYDOWN, 'A', 0x001E0001);
        PumpRounds(5);
        // The control answered 0 for the key: it is still translated, so its character follows.
        EXPECT_EQ(control.forwarded, (std::vector<UINT>{WM_SYSKEYDOWN, WM_RBUTTONDOWN, WM_MOUSEWHEEL, WM_SETCURSOR,
                                                        WM_KEYDOWN, WM_CHAR}));
    });
}

TEST_F(FlashLauncherTest, KeyTheControlHandlesWithAResultIsNotTranslated)
{
    CFlashControlDouble control(With([](FlashDoubleOptions& o) { o.inputResult = 1; }));
    Run(control, [&](FlashLauncherDlg& dlg) {
        control.forwarded.clear();
        PostMessageA(dlg.m_hWnd, WM_KEYDOWN, 'A', 0x001E0001);
        PumpRounds(5);
        EXPECT_EQ(control.forwarded, std::vector<UINT>{WM_KEYDOWN});
    });
}

TEST_F(FlashLauncherTest, PostedCloseCommandEndsTheLauncher)
{
    CFlashControlDouble control;
    // Left to the dialog manager, SC_CLOSE would end the run through OnCancel (IDCANCEL);
    // the routing turns it into a quit message instead.
    const INT_PTR result = Run(control, [&](FlashLauncherDlg& dlg) {
        dlg.quitAfterBody = false;
        PostMessageA(dlg.m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    EXPECT_EQ(result, -1);
}

TEST_F(FlashLauncherTest, PostedSizeReshowsTheControlOverTheClientArea)
{
    CFlashControlDouble control;
    Run(control, [&](FlashLauncherDlg& dlg) {
        control.calls.clear();
        PostMessageA(dlg.m_hWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(996, 646));
        PumpRounds(3);
        EXPECT_EQ(control.calls, (std::vector<std::string>{"DoVerb -1", "SetObjectRects 996x646"}));
    });
}

TEST_F(FlashLauncherTest, PostedDestroyEndsTheLauncher)
{
    CFlashControlDouble control;
    const INT_PTR result = Run(control, [&](FlashLauncherDlg& dlg) {
        dlg.quitAfterBody = false;
        PostMessageA(dlg.m_hWnd, WM_DESTROY, 0, 0);
    });
    EXPECT_EQ(result, -1);
}

// A window whose procedure is the site's own routing.
TestSite* g_pWindowSite = nullptr;

LRESULT CALLBACK SiteWindowProcedure(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return g_pWindowSite ? g_pWindowSite->SiteWindowProc(hWnd, message, wParam, lParam)
                         : DefWindowProcA(hWnd, message, wParam, lParam);
}

TEST_F(FlashHostTest, SiteWindowProcRoutesAWindowOfItsOwn)
{
    CFlashControlDouble control;
    ASSERT_TRUE(control.Register());
    WNDCLASSA cls = {};
    cls.lpfnWndProc = &SiteWindowProcedure;
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.lpszClassName = "TvrlSiteWindow";
    RegisterClassA(&cls);
    TestSite site;
    g_pWindowSite = &site;
    int marker = 0;
    HWND hWnd = CreateWindowExA(0, "TvrlSiteWindow", "", WS_POPUP | WS_VISIBLE, 100, 50, 300, 200, nullptr, nullptr,
                                GetModuleHandleA(nullptr), &marker);
    ASSERT_NE(hWnd, nullptr);
    EXPECT_EQ(GetWindowLongPtrA(hWnd, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&marker));

    ASSERT_TRUE(site.CreateOleControl(hWnd, CLSID_ShockwaveFlash, WS_EX_LAYERED, WS_POPUP | WS_VISIBLE, hWnd,
                                      GetModuleHandleA(nullptr)));
    // Input the control handles comes back as the window procedure's answer; WM_SYSKEYDOWN
    // is not the control's here.
    control.forwarded.clear();
    EXPECT_EQ(SendMessageA(hWnd, WM_KEYDOWN, 'A', 0), 0);
    SendMessageA(hWnd, WM_SYSKEYDOWN, VK_F10, 0);
    EXPECT_EQ(control.forwarded, std::vector<UINT>{WM_KEYDOWN});

    // The drag moves the window it is given.
    SetWindowPos(hWnd, nullptr, 100, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetCursorPos(110, 70);
    SendMessageA(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SetCursorPos(300, 200);
    SendMessageA(hWnd, WM_MOUSEMOVE, MK_LBUTTON, 0);
    SendMessageA(hWnd, WM_LBUTTONUP, 0, 0);
    RECT rc;
    GetWindowRect(hWnd, &rc);
    EXPECT_EQ(rc.left, 290);
    EXPECT_EQ(rc.top, 180);

    g_pWindowSite = nullptr;
    DestroyWindow(hWnd);
    MSG msg;
    PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

TEST_F(FlashLauncherTest, WithoutAControlTheLauncherKeepsRunning)
{
    // Nothing registered under the class id: creation fails and the window carries on.
    OleSession ole;
    FlashLauncherDlg dlg;
    m_app.m_pMainWnd = &dlg;
    bool ran = false;
    dlg.body = [&] {
        ran = true;
        EXPECT_TRUE(IsWindow(dlg.m_hWnd));
    };
    EXPECT_EQ(dlg.DoModal(), -1);
    m_app.m_pMainWnd = nullptr;
    EXPECT_TRUE(ran);
    MSG msg;
    PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

}  // namespace
