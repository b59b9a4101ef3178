// The built-in player control through its COM faces alone, as any container would reach it:
// created by OleCreate under the Flash class id, activated through a recording site, drawn
// into device contexts, driven by window messages, heard through its event connection.
#include <windows.h>
#include <ocidl.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "flashhost/shockwave_flash.h"
#include "framework/com_object.h"
#include "framework/dispatch_args.h"
#include "player/control/browser_open.h"
#include "player/control/player_control_registration.h"
#include "support/host_path.h"
#include "support/message_pump.h"
#include "support/recording_site.h"
// windows.h defines `near` as nothing; the movie helpers have a function of that name.
#undef near
#include "tests/player/script_movie.h"
#include "tests/player/test_movie.h"

namespace {

using namespace tvrl::player::test;
using tvrl::swf::writer::TagStream;

// A 200 x 150 stage at 20 frames a second: an opaque red square, a half-transparent white
// one, a button that sends "clicked" when released on it, and a small blue square that
// moves every frame. The first frame sends two commands; a still movie stops there.
std::vector<uint8_t> TestMovie(bool still)
{
    namespace swf = tvrl::swf;
    TagStream tags;
    addShape(tags, 1, rectangleShape(10, 10, 60, 60, solidFill({255, 0, 0, 255})));
    addShape(tags, 2, rectangleShape(100, 10, 150, 60, solidFill({255, 255, 255, 128})));
    addShape(tags, 3, rectangleShape(0, 0, 40, 40, solidFill({128, 128, 128, 255})));
    addShape(tags, 5, rectangleShape(0, 0, 40, 40, solidFill({0, 255, 0, 255})));
    addShape(tags, 6, rectangleShape(0, 0, 10, 10, solidFill({0, 0, 255, 255})));
    swf::ButtonCharacter button;
    button.records = {{swf::ButtonUp | swf::ButtonHitTest, 3, 1, {}, {}}, {swf::ButtonOver | swf::ButtonDown, 5, 1, {}, {}}};
    button.actions = {{swf::CondOverDownToOverUp, Assembler().getUrl("FSCommand:clicked", "button").bytes()}};
    tags.add(swf::TagDefineButton2, swf::writer::defineButton(4, button, true));

    Assembler frameOne;
    frameOne.getUrl("FSCommand:first", "1").getUrl("FSCommand:second", "two");
    if (still)
        frameOne.op(ActionStop);
    addActions(tags, frameOne);
    addPlace(tags, placeNew(1, 1));
    addPlace(tags, placeNew(2, 2));
    addPlace(tags, placeNew(4, 3, swf::Matrix::translation(20 * kTwips, 90 * kTwips)));
    addPlace(tags, placeNew(6, 4, swf::Matrix::translation(160 * kTwips, 100 * kTwips)));
    tags.showFrame();
    swf::PlaceCommand move;
    move.depth = 4;
    move.move = true;
    move.matrix = swf::Matrix::translation(175 * kTwips, 100 * kTwips);
    addPlace(tags, move);
    tags.showFrame();

    swf::writer::MovieHeader header;
    header.frameSize = {0, 200 * 20, 0, 150 * 20};
    header.frameRate = 20;
    return swf::writer::writeMovie(header, tags);
}

IStream* StreamOf(const std::vector<uint8_t>& bytes, DWORD signature = 0x55665566, DWORD declaredLength = ~0u)
{
    IStream* stream = nullptr;
    CreateStreamOnHGlobal(nullptr, TRUE, &stream);
    const DWORD header[2] = {signature, declaredLength == ~0u ? static_cast<DWORD>(bytes.size()) : declaredLength};
    stream->Write(header, sizeof header, nullptr);
    if (!bytes.empty())
        stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), nullptr);
    LARGE_INTEGER start = {};
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    return stream;
}

// Hears the control's events: "150 command args" with the arguments as the published
// order puts them (the command in rgvarg[1]).
class CEventSink : public IDispatch {
public:
    std::vector<std::string> events;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        return QueryFaces({{IID_IUnknown, this}, {IID_IDispatch, this}, {DIID__IShockwaveFlashEvents, this}}, riid, ppv);
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override
    {
        std::string event = std::to_string(dispid);
        for (UINT i = params->cArgs; i-- > 0;) {
            const VARIANT& arg = params->rgvarg[i];
            event += " " + (arg.vt == VT_BSTR ? Narrow(arg.bstrVal) : std::string("<vt ") + std::to_string(arg.vt) + ">");
        }
        events.push_back(event);
        return S_OK;
    }

private:
    static std::string Narrow(BSTR text)
    {
        std::string narrow;
        for (UINT i = 0; text && i < SysStringLen(text); ++i)
            narrow += static_cast<char>(text[i]);
        return narrow;
    }
};

// A 32-bit top-down DIB section in a memory DC, filled with one value.
struct Surface {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    uint32_t* bits = nullptr;
    int width, height;
    bool topDown;

    Surface(int w, int h, uint32_t fill, bool topDownRows = true) : width(w), height(h), topDown(topDownRows)
    {
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, topDown ? -h : h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* pixels = nullptr;
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
        SelectObject(dc, bitmap);
        bits = static_cast<uint32_t*>(pixels);
        std::fill(bits, bits + w * h, fill);
    }
    ~Surface()
    {
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    uint32_t At(int x, int y) const { return bits[(topDown ? y : height - 1 - y) * width + x]; }
};

::testing::AssertionResult Near(uint32_t got, uint32_t want)
{
    for (int shift = 0; shift < 32; shift += 8) {
        const int a = static_cast<int>(got >> shift & 255), b = static_cast<int>(want >> shift & 255);
        if (a - b > 1 || b - a > 1)
            return ::testing::AssertionFailure() << std::hex << "got 0x" << got << ", want 0x" << want;
    }
    return ::testing::AssertionSuccess();
}

class PlayerControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        ASSERT_EQ(RegisterPlayerControl(&m_registration), S_OK);
        ASSERT_EQ(StgCreateDocfile(nullptr, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE | STGM_DELETEONRELEASE,
                                   0, &m_storage),
                  S_OK);
    }
    void TearDown() override
    {
        if (m_flash)
            m_flash->Release();
        if (m_object) {
            m_object->Close(OLECLOSE_NOSAVE);
            m_object->Release();
        }
        if (m_storage)
            m_storage->Release();
        RevokePlayerControl(m_registration);
        OleUninitialize();
    }

    // Created as a container creates it, embedded in `site` and activated in place.
    void Create(CRecordingSite& site)
    {
        ASSERT_EQ(OleCreate(CLSID_ShockwaveFlash, IID_IOleObject, OLERENDER_DRAW, nullptr, &site, m_storage,
                            reinterpret_cast<void**>(&m_object)),
                  S_OK);
        ASSERT_EQ(m_object->QueryInterface(IID_IShockwaveFlash, reinterpret_cast<void**>(&m_flash)), S_OK);
        ASSERT_EQ(m_object->SetClientSite(&site), S_OK);
        ASSERT_EQ(m_object->DoVerb(OLEIVERB_SHOW, nullptr, &site, 0, site.Window(), &site.Position()), S_OK);
    }
    void Advise(CEventSink& sink)
    {
        IConnectionPointContainer* container = nullptr;
        ASSERT_EQ(m_object->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container)), S_OK);
        IConnectionPoint* point = nullptr;
        ASSERT_EQ(container->FindConnectionPoint(DIID__IShockwaveFlashEvents, &point), S_OK);
        DWORD cookie = 0;
        EXPECT_EQ(point->Advise(&sink, &cookie), S_OK);
        point->Release();
        container->Release();
    }
    HRESULT Load(IStream* stream)
    {
        IPersistStreamInit* persist = nullptr;
        if (FAILED(m_object->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist))))
            return E_NOINTERFACE;
        const HRESULT hr = persist->Load(stream);
        persist->Release();
        stream->Release();
        return hr;
    }
    template <class I>
    I* Face(REFIID iid)
    {
        I* face = nullptr;
        EXPECT_EQ(m_object->QueryInterface(iid, reinterpret_cast<void**>(&face)), S_OK);
        if (face)
            face->Release();  // the object itself holds it for the test's duration
        return face;
    }
    LRESULT Message(UINT message, WPARAM wParam, LPARAM lParam)
    {
        LRESULT result = -1;
        EXPECT_EQ(Face<IOleInPlaceObjectWindowless>(IID_IOleInPlaceObjectWindowless)
                      ->OnWindowMessage(message, wParam, lParam, &result),
                  S_OK);
        return result;
    }
    long Frame()
    {
        long frame = -1;
        m_flash->CurrentFrame(&frame);
        return frame;
    }

    // Made by the test, living until the control is closed in TearDown.
    CRecordingSite& MakeSite(bool allowWindowless = true, RECT position = {0, 0, 200, 150})
    {
        m_site = std::make_unique<CRecordingSite>(allowWindowless, position);
        return *m_site;
    }

    std::unique_ptr<CRecordingSite> m_site;
    CEventSink m_sink;
    DWORD m_registration = 0;
    IStorage* m_storage = nullptr;
    IOleObject* m_object = nullptr;
    IShockwaveFlash* m_flash = nullptr;
};

TEST_F(PlayerControlTest, LoadsTheMovieStreamAndRefusesDamagedOnes)
{
    CRecordingSite& site = MakeSite();
    Create(site);
    const std::vector<uint8_t> movie = TestMovie(false);
    const std::vector<uint8_t> notAMovie = {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'};
    struct Case {
        const char* name;
        IStream* stream;
        HRESULT expected;
    } cases[] = {
        {"another signature", StreamOf(movie, 0x12345678), E_INVALIDARG},
        {"zero length", StreamOf({}, 0x55665566, 0), E_INVALIDARG},
        {"length beyond any movie", StreamOf(movie, 0x55665566, 0x7FFFFFFF), E_INVALIDARG},
        {"body shorter than declared", StreamOf(movie, 0x55665566, static_cast<DWORD>(movie.size() + 100)), E_FAIL},
        {"not a movie", StreamOf(notAMovie), E_FAIL},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Load(c.stream), c.expected) << c.name;
        long frames = -1;
        m_flash->get_TotalFrames(&frames);
        EXPECT_EQ(frames, 0) << c.name << ": nothing is loaded";
    }
    EXPECT_EQ(Load(StreamOf(movie)), S_OK);
    long frames = 0, ready = 0;
    EXPECT_EQ(m_flash->get_TotalFrames(&frames), S_OK);
    EXPECT_EQ(frames, 2);
    EXPECT_EQ(m_flash->get_ReadyState(&ready), S_OK);
    EXPECT_EQ(ready, 4);
}

TEST_F(PlayerControlTest, ActivatesWindowlessWhenTheSiteAllowsIt)
{
    CRecordingSite& site = MakeSite();
    Create(site);
    const std::vector<std::string> expected = {"CanWindowlessActivate", "CanInPlaceActivate", "OnInPlaceActivateEx 1",
                                               "GetWindowContext"};
    EXPECT_EQ(site.calls, expected);
    HWND window = nullptr;
    EXPECT_EQ(Face<IOleInPlaceObjectWindowless>(IID_IOleInPlaceObjectWindowless)->GetWindow(&window), E_FAIL);
    DWORD status = 0;
    EXPECT_EQ(m_object->GetMiscStatus(DVASPECT_CONTENT, &status), S_OK);
    EXPECT_TRUE(status & OLEMISC_SETCLIENTSITEFIRST);
    EXPECT_TRUE(status & OLEMISC_ACTIVATEWHENVISIBLE);

    // Closing deactivates and gives every reference to the site back.
    EXPECT_EQ(m_object->Close(OLECLOSE_NOSAVE), S_OK);
    EXPECT_EQ(site.calls.back(), "OnInPlaceDeactivateEx");
    EXPECT_EQ(site.References(), 1);
}

TEST_F(PlayerControlTest, ActivatesInAWindowOfItsOwnOtherwise)
{
    CRecordingSite& site = MakeSite(false, {10, 20, 210, 170});
    Create(site);
    ASSERT_EQ(Load(StreamOf(TestMovie(false))), S_OK);
    EXPECT_EQ(site.Count("OnInPlaceActivate"), 1);
    EXPECT_EQ(site.Count("OnInPlaceActivateEx 1"), 0);
    HWND window = nullptr;
    ASSERT_EQ(Face<IOleInPlaceObject>(IID_IOleInPlaceObject)->GetWindow(&window), S_OK);
    ASSERT_TRUE(window);
    EXPECT_EQ(GetParent(window), site.Window());
    RECT rc;
    GetWindowRect(window, &rc);
    MapWindowPoints(nullptr, site.Window(), reinterpret_cast<POINT*>(&rc), 2);
    EXPECT_EQ(rc.left, 10);
    EXPECT_EQ(rc.top, 20);
    EXPECT_EQ(rc.right - rc.left, 200);
    EXPECT_EQ(rc.bottom - rc.top, 150);

    // Its own window takes the pointer in its own coordinates.
    SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(40, 110));
    SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_HAND));

    EXPECT_EQ(m_object->Close(OLECLOSE_NOSAVE), S_OK);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(site.Count("OnInPlaceDeactivate"), 1);
}

TEST_F(PlayerControlTest, DrawsTransparentlyOverWhatTheTargetHolds)
{
    CRecordingSite& site = MakeSite();
    Create(site);
    BSTR transparent = SysAllocString(L"transparent");
    const HRESULT put = m_flash->put_WMode(transparent);
    SysFreeString(transparent);
    ASSERT_EQ(put, S_OK);
    ASSERT_EQ(Load(StreamOf(TestMovie(true))), S_OK);
    IViewObjectEx* view = Face<IViewObjectEx>(IID_IViewObjectEx);
    // A bottom-up bitmap gets the same picture the right way up.
    Surface black(200, 150, 0x00000000), white(200, 150, 0xFFFFFFFF), bottomUp(200, 150, 0x00000000, false);
    const RECTL bounds = {0, 0, 200, 150};
    for (const Surface* surface : {&black, &white, &bottomUp})
        ASSERT_EQ(view->Draw(DVASPECT_TRANSPARENT, -1, nullptr, nullptr, nullptr, surface->dc, &bounds, nullptr, nullptr, 0),
                  S_OK);

    struct Pixel {
        const char* what;
        int x, y;
        uint32_t overBlack, overWhite, alpha;
    } pixels[] = {
        {"opaque red", 30, 30, 0xFFFF0000, 0xFFFF0000, 255},
        {"half-transparent white", 120, 30, 0x80808080, 0xFFFFFFFF, 128},
        {"nothing drawn", 80, 5, 0x00000000, 0xFFFFFFFF, 0},
        {"button, up", 40, 110, 0xFF808080, 0xFF808080, 255},
    };
    for (const Pixel& p : pixels) {
        EXPECT_TRUE(Near(black.At(p.x, p.y), p.overBlack)) << p.what;
        EXPECT_TRUE(Near(bottomUp.At(p.x, p.y), p.overBlack)) << p.what << ", bottom-up";
        EXPECT_TRUE(Near(white.At(p.x, p.y), p.overWhite)) << p.what;
        // What the layered window recovers from the two: 255 minus the difference.
        const int recovered = 255 - static_cast<int>((white.At(p.x, p.y) >> 8 & 255) - (black.At(p.x, p.y) >> 8 & 255));
        EXPECT_NEAR(recovered, static_cast<int>(p.alpha), 1) << p.what;
    }
}

TEST_F(PlayerControlTest, DrawsContentOverItsBackgroundOnAnyDC)
{
    CRecordingSite& site = MakeSite();
    Create(site);
    ASSERT_EQ(m_flash->put_BackgroundColor(0x0000FF), S_OK);  // blue, as 0xRRGGBB
    ASSERT_EQ(Load(StreamOf(TestMovie(true))), S_OK);
    // A device-dependent bitmap: no pixels to write in place.
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 200, 150);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const RECTL bounds = {0, 0, 200, 150};
    EXPECT_EQ(Face<IViewObject>(IID_IViewObject)->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds,
                                                       nullptr, nullptr, 0),
              S_OK);
    EXPECT_EQ(GetPixel(dc, 80, 5), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(dc, 30, 30), RGB(255, 0, 0));
    const COLORREF half = GetPixel(dc, 120, 30);  // white at half over blue
    EXPECT_NEAR(GetRValue(half), 128, 2);
    EXPECT_NEAR(GetBValue(half), 255, 2);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

TEST_F(PlayerControlTest, FirstFrameCommandsArriveInOrderOnceTheContainerIsReady)
{
    CRecordingSite& site = MakeSite();
    CEventSink& sink = m_sink;
    Create(site);
    Advise(sink);
    ASSERT_EQ(Load(StreamOf(TestMovie(true))), S_OK);
    EXPECT_TRUE(sink.events.empty()) << "nothing is said while the container is still loading the movie";
    ASSERT_EQ(m_flash->Play(), S_OK);
    ASSERT_TRUE(PumpUntil([&] { return sink.events.size() >= 2; }));
    PumpRounds(5);
    const std::vector<std::string> expected = {"150 first 1", "150 second two"};
    EXPECT_EQ(sink.events, expected);
    EXPECT_EQ(site.invalidations, 1) << "the first frame is drawn once";
}

TEST_F(PlayerControlTest, PointerOverAButtonShowsTheHandAndAClickReachesTheMovie)
{
    // The site is offset: windowless, the control sees the container window's coordinates.
    CRecordingSite& site = MakeSite(true, {10, 20, 210, 170});
    CEventSink& sink = m_sink;
    Create(site);
    Advise(sink);
    ASSERT_EQ(Load(StreamOf(TestMovie(true))), S_OK);
    ASSERT_TRUE(PumpUntil([&] { return sink.events.size() >= 2; }));
    const int drawn = site.invalidations;

    Message(WM_MOUSEMOVE, 0, MAKELPARAM(50, 130));  // the button's middle, at stage (40, 110)
    EXPECT_EQ(Message(WM_SETCURSOR, reinterpret_cast<WPARAM>(site.Window()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)), TRUE);
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_HAND));
    EXPECT_GT(site.invalidations, drawn) << "the button's over state is drawn";

    Message(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 130));
    Message(WM_LBUTTONUP, 0, MAKELPARAM(50, 130));
    EXPECT_EQ(sink.events.back(), "150 clicked button");
    EXPECT_EQ(site.Count("SetCapture 1"), 1);
    EXPECT_EQ(site.Count("SetCapture 0"), 1);

    Message(WM_MOUSEMOVE, 0, MAKELPARAM(15, 25));  // stage (5, 5): nothing there
    Message(WM_SETCURSOR, reinterpret_cast<WPARAM>(site.Window()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_ARROW));
}

TEST_F(PlayerControlTest, StopPlayFreezesFramesAndRedrawsAndPlayResumesThem)
{
    CRecordingSite& site = MakeSite();
    Create(site);
    ASSERT_EQ(Load(StreamOf(TestMovie(false))), S_OK);
    ASSERT_EQ(m_flash->Play(), S_OK);
    // The moving square changes every frame, so every frame asks for a redraw.
    ASSERT_TRUE(PumpUntil([&] { return site.invalidations >= 4; }));

    ASSERT_EQ(m_flash->StopPlay(), S_OK);
    VARIANT_BOOL playing = VARIANT_TRUE;
    m_flash->IsPlaying(&playing);
    EXPECT_EQ(playing, VARIANT_FALSE);
    const long frozenFrame = Frame();
    const int frozenRedraws = site.invalidations;
    const DWORD start = GetTickCount();
    PumpUntil([&] { return GetTickCount() - start >= 500; });
    EXPECT_EQ(Frame(), frozenFrame);
    EXPECT_EQ(site.invalidations, frozenRedraws);

    ASSERT_EQ(m_flash->Play(), S_OK);
    EXPECT_TRUE(PumpUntil([&] { return site.invalidations >= frozenRedraws + 2 && Frame() != frozenFrame; }));
}

TEST_F(PlayerControlTest, AStillMovieAsksForNoRedraws)
{
    CRecordingSite& site = MakeSite();
    Create(site);
    ASSERT_EQ(Load(StreamOf(TestMovie(true))), S_OK);
    ASSERT_TRUE(PumpUntil([&] { return site.invalidations >= 1; }));
    const DWORD start = GetTickCount();
    PumpUntil([&] { return GetTickCount() - start >= 500; });  // ten frames' time
    EXPECT_EQ(site.invalidations, 1);
    EXPECT_EQ(Frame(), 0);
}

TEST_F(PlayerControlTest, PropertiesAnswerThroughIDispatchByName)
{
    CRecordingSite& site = MakeSite();
    Create(site);
    ASSERT_EQ(Load(StreamOf(TestMovie(true))), S_OK);
    IDispatch* dispatch = Face<IDispatch>(IID_IDispatch);
    auto id = [&](const wchar_t* name) {
        DISPID dispid = DISPID_UNKNOWN;
        LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
        const HRESULT hr = dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &dispid);
        return SUCCEEDED(hr) ? dispid : DISPID_UNKNOWN;
    };
    for (const wchar_t* name : {L"WMode", L"Scale", L"BackgroundColor", L"EmbedMovie", L"Play", L"StopPlay", L"Movie",
                                L"FrameNum", L"TotalFrames", L"IsPlaying", L"CurrentFrame"})
        EXPECT_NE(id(name), DISPID_UNKNOWN) << static_cast<char>(name[0]);
    EXPECT_EQ(id(L"Zoom"), DISPID_UNKNOWN);
    EXPECT_EQ(m_flash->Zoom(2), E_NOTIMPL);

    VARIANT result;
    VariantInit(&result);
    ASSERT_EQ(DispatchInvoke(dispatch, id(L"TotalFrames"), DISPATCH_PROPERTYGET, {}, &result), S_OK);
    EXPECT_EQ(result.vt, VT_I4);
    EXPECT_EQ(result.lVal, 2);

    BSTR transparent = SysAllocString(L"transparent");
    EXPECT_EQ(DispatchInvoke(dispatch, id(L"WMode"), DISPATCH_PROPERTYPUT, {VariantBstr(transparent)}), S_OK);
    SysFreeString(transparent);
    BSTR wmode = nullptr;
    ASSERT_EQ(m_flash->get_WMode(&wmode), S_OK);
    EXPECT_STREQ(wmode, L"transparent");
    SysFreeString(wmode);

    EXPECT_EQ(DispatchInvoke(dispatch, id(L"StopPlay"), DISPATCH_METHOD, {}), S_OK);
    VariantInit(&result);
    ASSERT_EQ(DispatchInvoke(dispatch, id(L"IsPlaying"), DISPATCH_METHOD, {}, &result), S_OK);
    EXPECT_EQ(result.boolVal, VARIANT_FALSE);
    VARIANT frame;
    frame.vt = VT_I4;
    frame.lVal = 1;
    EXPECT_EQ(DispatchInvoke(dispatch, id(L"FrameNum"), DISPATCH_PROPERTYPUT, {frame}), S_OK);
    EXPECT_EQ(Frame(), 1);
    frame.lVal = 7;
    EXPECT_EQ(DispatchInvoke(dispatch, id(L"FrameNum"), DISPATCH_PROPERTYPUT, {frame}), E_INVALIDARG);

    // A read-only property cannot be put, and arguments must be as many as declared.
    EXPECT_EQ(DispatchInvoke(dispatch, id(L"TotalFrames"), DISPATCH_PROPERTYPUT, {frame}), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(DispatchInvoke(dispatch, id(L"Play"), DISPATCH_METHOD, {frame}), DISP_E_BADPARAMCOUNT);
}

// The user's browser is stood in for by the command-line recorder, registered as the http
// handler for the test's duration (the machine's: Wine's class root does not look at the
// user's classes) and the previous handler put back afterwards.
class BrowserStandIn {
public:
    BrowserStandIn()
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        m_folder = std::string(temp) + "tvrl-browser-" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(m_folder.c_str(), nullptr);
        CopyFileA(HostPathToWindows(TVRL_RECORDER_PATH).c_str(), (m_folder + "browser.exe").c_str(), FALSE);
        char previous[1024] = {};
        LONG size = sizeof previous;
        m_hadPrevious = RegQueryValueA(HKEY_CLASSES_ROOT, kCommandKey, previous, &size) == ERROR_SUCCESS;
        m_previous = previous;
        const std::string command = "\"" + m_folder + "browser.exe\" \"%1\"";
        m_registered = RegSetValueA(HKEY_CLASSES_ROOT, kCommandKey, REG_SZ, command.c_str(),
                                    static_cast<DWORD>(command.size())) == ERROR_SUCCESS;
    }
    ~BrowserStandIn()
    {
        if (m_hadPrevious)
            RegSetValueA(HKEY_CLASSES_ROOT, kCommandKey, REG_SZ, m_previous.c_str(), static_cast<DWORD>(m_previous.size()));
        else
            RegDeleteTreeA(HKEY_CLASSES_ROOT, "http");
        DeleteFileA(Recorded().c_str());
        DeleteFileA((m_folder + "browser.exe").c_str());
        RemoveDirectoryA(m_folder.c_str());
    }
    bool Registered() const { return m_registered; }
    // What the stand-in was started with, once it has been.
    std::string CommandLine() const
    {
        HANDLE file = CreateFileA(Recorded().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return std::string();
        char text[1024] = {};
        DWORD read = 0;
        ReadFile(file, text, sizeof text - 1, &read, nullptr);
        CloseHandle(file);
        return std::string(text, read);
    }

private:
    static constexpr const char* kCommandKey = "http\\shell\\open\\command";
    std::string Recorded() const { return m_folder + "command_line.txt"; }

    std::string m_folder;
    std::string m_previous;
    bool m_hadPrevious = false;
    bool m_registered = false;
};

TEST_F(PlayerControlTest, GetUrlOpensWebAddressesInTheUsersBrowser)
{
    BrowserStandIn browser;
    ASSERT_TRUE(browser.Registered());
    CRecordingSite& site = MakeSite();
    Create(site);
    TagStream tags;
    addActions(tags, Assembler().getUrl("http://tavrel.example/help?from=launcher", "_blank"));
    tags.showFrame();
    tvrl::swf::writer::MovieHeader header;
    header.frameSize = {0, 200 * 20, 0, 150 * 20};
    ASSERT_EQ(Load(StreamOf(tvrl::swf::writer::writeMovie(header, tags))), S_OK);
    ASSERT_TRUE(PumpUntil([&] { return browser.CommandLine().find("tavrel.example") != std::string::npos; }, 20000))
        << "the browser was not started";
    EXPECT_NE(browser.CommandLine().find("http://tavrel.example/help?from=launcher"), std::string::npos)
        << browser.CommandLine();
}

TEST(BrowserAddress, OnlyWebAndMailAddressesOpen)
{
    struct Case {
        const wchar_t* url;
        bool opens;
    } cases[] = {
        {L"http://tavrel.example/help", true}, {L"HTTPS://tavrel.example/", true}, {L"mailto:help@tavrel.example", true},
        {L"file:///C:/windows/notepad.exe", false}, {L"C:\\windows\\notepad.exe", false},
        {L"javascript:alert(1)", false}, {L"http://", false}, {L"", false}, {L"ftp://tavrel.example/", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsBrowserAddress(c.url), c.opens) << static_cast<int>(wcslen(c.url));
}

}  // namespace
