// capture_launcher LAUNCHER.exe OUT.png: starts a launcher, waits until its login screen has
// settled (no new frame for a while), writes the frame it presents as a PNG with its alpha,
// and closes the launcher. How scripts/run shows the launcher on a machine without a display.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "player/writer/tags.h"
#include "tools/capture/launcher_process.h"

namespace {

const DWORD kSettleMs = 1500;
const DWORD kLongestWaitMs = 30000;

std::vector<tvrl::swf::Rgba> StraightPixels(const FrameProbeShared& frame)
{
    std::vector<tvrl::swf::Rgba> pixels(static_cast<size_t>(frame.width) * frame.height);
    for (size_t i = 0; i < pixels.size(); ++i) {
        const DWORD p = frame.pixels[i];
        const int a = static_cast<int>(p >> 24);
        auto straight = [a](DWORD c) { return static_cast<uint8_t>(a ? std::min(255, static_cast<int>(c) * 255 / a) : 0); };
        pixels[i] = {straight(p >> 16 & 255), straight(p >> 8 & 255), straight(p & 255), static_cast<uint8_t>(a)};
    }
    return pixels;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: capture_launcher LAUNCHER.exe OUT.png\n");
        return 2;
    }
    CLauncherProcess launcher;
    if (!launcher.Start(argv[1], CLauncherProcess::ProbeBesideThisProgram())) {
        std::fprintf(stderr, "capture_launcher: cannot start %s\n", argv[1]);
        return 1;
    }
    HWND window = launcher.WaitForMainWindow(kLongestWaitMs);
    if (!window) {
        std::fprintf(stderr, "capture_launcher: the launcher showed no window\n");
        return 1;
    }
    const FrameProbeShared* frame = launcher.Probe();
    const LONG seen = launcher.WaitUntilSettled(kSettleMs, kLongestWaitMs);
    int result = 0;
    if (seen <= 0 || frame->width <= 0) {
        std::fprintf(stderr, "capture_launcher: the launcher presented no frame\n");
        result = 1;
    } else {
        const std::vector<uint8_t> png = tvrl::swf::writer::encodePng(frame->width, frame->height, StraightPixels(*frame));
        std::ofstream out(argv[2], std::ios::binary);
        out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
        if (!out) {
            std::fprintf(stderr, "capture_launcher: cannot write %s\n", argv[2]);
            result = 1;
        } else {
            std::printf("%ldx%ld frame after %ld presentations written to %s\n", frame->width, frame->height, seen,
                        argv[2]);
        }
    }
    PostMessageW(window, WM_CLOSE, 0, 0);
    launcher.WaitForExit(10000);
    return result;
}
