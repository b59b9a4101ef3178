// One layered frame of the main window at 996 x 646, with a double of the Flash control
// painting the whole stage: the time of DrawControl, and of its parts replayed on the same
// surfaces (the fills, the two draws, alpha recovery, UpdateLayeredWindow). Run under Wine
// by bench/layered-frame.
#include <windows.h>
#include <ole2.h>

#include <chrono>
#include <cstdio>
#include <cstring>

#include "flashhost/alpha_recovery.h"
#include "flashhost/flash_dlg_base.h"
#include "support/flash_control_double.h"

namespace {

using Clock = std::chrono::steady_clock;

class BenchSite : public CFlashDlgBase {
public:
    HDC Black() const { return m_hdcBlack; }
    HDC White() const { return m_hdcWhite; }
    void* BlackBits() const { return m_pBitsBlack; }
    void* WhiteBits() const { return m_pBitsWhite; }
    IViewObject* View() const { return m_pViewObjectEx ? m_pViewObjectEx : m_pViewObject; }
    HRESULT FSCommand(BSTR command, BSTR args) override
    {
        SysFreeString(command);
        SysFreeString(args);
        return S_OK;
    }
};

template <class F>
double MillisecondsPerCall(int calls, F&& work)
{
    const auto start = Clock::now();
    for (int i = 0; i < calls; ++i)
        work();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count() / calls;
}

}  // namespace

int main()
{
    OleInitialize(nullptr);
    FlashDoubleOptions options;
    options.fullFrame = true;
    CFlashControlDouble control(options);
    if (!control.Register())
        return 1;
    HWND host = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 996, 646, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    int result = 0;
    {
        BenchSite site;
        if (!site.CreateOleControl(host, CLSID_ShockwaveFlash, WS_EX_LAYERED, WS_POPUP | WS_VISIBLE, host,
                                   GetModuleHandleA(nullptr))) {
            std::printf("the control double could not be created\n");
            result = 1;
        } else {
            const int frames = 60;
            site.DrawControl(nullptr, nullptr, FALSE);  // makes the surfaces
            const double whole = MillisecondsPerCall(frames, [&] { site.DrawControl(nullptr, nullptr, FALSE); });

            const size_t pixels = 996 * 646;
            RECT bounds = {0, 0, 996, 646};
            const double fills = MillisecondsPerCall(frames, [&] {
                std::memset(site.BlackBits(), 0x00, pixels * 4);
                std::memset(site.WhiteBits(), 0xFF, pixels * 4);
            });
            const double draws = MillisecondsPerCall(frames, [&] {
                OleDraw(site.View(), DVASPECT_TRANSPARENT, site.Black(), &bounds);
                OleDraw(site.View(), DVASPECT_TRANSPARENT, site.White(), &bounds);
            });
            const double alpha = MillisecondsPerCall(frames, [&] {
                RecoverAlpha(static_cast<uint8_t*>(site.BlackBits()), static_cast<const uint8_t*>(site.WhiteBits()),
                             pixels);
            });
            POINT destination = {0, 0}, source = {0, 0};
            SIZE size = {996, 646};
            BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
            const double present = MillisecondsPerCall(frames, [&] {
                UpdateLayeredWindow(host, nullptr, &destination, &size, site.Black(), &source, 0, &blend, ULW_ALPHA);
            });
            std::printf("DrawControl, whole frame: %.2f ms\n", whole);
            std::printf("  fills:               %.2f ms\n", fills);
            std::printf("  two draws:           %.2f ms\n", draws);
            std::printf("  alpha recovery:      %.2f ms\n", alpha);
            std::printf("  UpdateLayeredWindow: %.2f ms\n", present);
            std::printf("  parts together:      %.2f ms\n", fills + draws + alpha + present);
        }
    }
    DestroyWindow(host);
    OleUninitialize();
    return result;
}
