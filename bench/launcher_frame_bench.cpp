// The default login movie in the launcher, under Wine.
//  1. In this process, the launcher's own Flash layer over the built-in player control with the
//     embedded movie at 996 x 646: the cost of one presented frame and of its parts (a fresh
//     render of the movie and its composite over black and white, the fills, alpha recovery,
//     UpdateLayeredWindow), and the frames per second one core could present.
//  2. The real TVRL.exe given as the first argument: time from process start to the first
//     presented frame, working set once the login screen has settled, and the presented frames
//     over ten idle seconds (Wine reports no process times; bench/launcher-frame reads the
//     CPU time from Linux instead).
// Run by bench/launcher-frame.
#include <windows.h>
#include <ole2.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "flashhost/alpha_recovery.h"
#include "flashhost/flash_dlg_base.h"
#include "player/control/player_control_registration.h"
#include "support/message_pump.h"
#include "tools/capture/launcher_process.h"

namespace {

using Clock = std::chrono::steady_clock;

class BenchSite : public CFlashDlgBase {
public:
    HDC Black() const { return m_hdcBlack; }
    HDC White() const { return m_hdcWhite; }
    void* BlackBits() const { return m_pBitsBlack; }
    void* WhiteBits() const { return m_pBitsWhite; }
    IViewObject* View() const { return m_pViewObjectEx ? m_pViewObjectEx : m_pViewObject; }
    IShockwaveFlash* Flash() const { return m_pControl; }
    int redraws = 0;
    STDMETHODIMP InvalidateRect(LPCRECT rect, BOOL erase) override
    {
        ++redraws;
        return CFlashDlgBase::InvalidateRect(rect, erase);
    }
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

// The control keeps its rendered frame until the movie changes; setting the scale again makes
// it render anew, as a changed frame would.
void MarkFrameChanged(IShockwaveFlash* flash)
{
    BSTR scale = SysAllocString(L"showAll");
    flash->put_Scale(scale);
    SysFreeString(scale);
}

int MeasureInProcess()
{
    DWORD registration = 0;
    if (FAILED(RegisterPlayerControl(&registration)))
        return 1;
    HWND host = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 996, 646, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    int result = 0;
    {
        BenchSite site;
        if (!site.CreateOleControl(host, CLSID_ShockwaveFlash, WS_EX_LAYERED, WS_POPUP | WS_VISIBLE, host,
                                   GetModuleHandleA(nullptr))) {
            std::printf("the built-in player could not be created\n");
            result = 1;
        } else {
            // Until the animation has ended: no redraw for a second.
            int seen = -1;
            DWORD since = GetTickCount();
            PumpUntil([&] {
                if (site.redraws != seen) {
                    seen = site.redraws;
                    since = GetTickCount();
                }
                return GetTickCount() - since > 1000;
            }, 20000);
            const int frames = 60;
            const double whole = MillisecondsPerCall(frames, [&] {
                MarkFrameChanged(site.Flash());
                site.DrawControl(nullptr, nullptr, FALSE);
            });
            const size_t pixels = 996 * 646;
            RECT bounds = {0, 0, 996, 646};
            const double fills = MillisecondsPerCall(frames, [&] {
                std::memset(site.BlackBits(), 0x00, pixels * 4);
                std::memset(site.WhiteBits(), 0xFF, pixels * 4);
            });
            const double draws = MillisecondsPerCall(frames, [&] {
                MarkFrameChanged(site.Flash());
                OleDraw(site.View(), DVASPECT_TRANSPARENT, site.Black(), &bounds);
                OleDraw(site.View(), DVASPECT_TRANSPARENT, site.White(), &bounds);
            });
            const double composites = MillisecondsPerCall(frames, [&] {
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
            std::printf("One presented frame of the default movie at 996 x 646 (mean of %d):\n", frames);
            std::printf("  DrawControl, frame rendered anew:   %6.2f ms\n", whole);
            std::printf("    fills:                            %6.2f ms\n", fills);
            std::printf("    two draws, render + composites:   %6.2f ms\n", draws);
            std::printf("      of which the composites alone:  %6.2f ms\n", composites);
            std::printf("    alpha recovery:                   %6.2f ms\n", alpha);
            std::printf("    UpdateLayeredWindow:              %6.2f ms\n", present);
            std::printf("  frames per second on one core:      %6.1f (without presentation: %.1f)\n", 1000.0 / whole,
                        1000.0 / (fills + draws + alpha));
        }
    }
    DestroyWindow(host);
    RevokePlayerControl(registration);
    return result;
}

int MeasureLauncher(const std::string& exe)
{
    CLauncherProcess launcher;
    if (!launcher.Start(exe, CLauncherProcess::ProbeBesideThisProgram()) || !launcher.WaitForMainWindow(60000)) {
        std::printf("%s did not start\n", exe.c_str());
        return 1;
    }
    const FrameProbeShared* frames = launcher.Probe();
    const LONG seen = launcher.WaitUntilSettled(1500, 30000);
    if (seen <= 0) {
        std::printf("the launcher presented no frame\n");
        return 1;
    }
    std::printf("The launcher (%s):\n", exe.c_str());
    std::printf("  process start to first presented frame: %lu ms\n", frames->firstFrameTick - launcher.StartTick());
    std::printf("  frames presented while the login screen came up: %ld\n", seen);
    std::printf("  working set once settled: %.1f MiB\n", launcher.WorkingSet() / 1048576.0);
    const LONG framesBefore = frames->frames;
    Sleep(10000);
    std::printf("  over ten idle seconds: %ld frames presented\n", frames->frames - framesBefore);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    OleInitialize(nullptr);
    int result = MeasureInProcess();
    OleUninitialize();
    if (argc > 1)
        result |= MeasureLauncher(argv[1]);
    return result;
}
