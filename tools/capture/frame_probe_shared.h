#pragma once
// What the frame probe, loaded into a running launcher, shares with the test that loaded it:
// a named file mapping, made by the test, holding a count of presented frames and the last
// one's pixels (premultiplied BGRA as handed to UpdateLayeredWindow).
#include <windows.h>

#define TVRL_FRAME_PROBE_MAPPING L"TvrlFrameProbe-%lu"  // the launcher's process id

enum { kProbeMaxWidth = 1024, kProbeMaxHeight = 768 };

struct FrameProbeShared {
    volatile LONG frames;        // presentations so far
    volatile LONG hooked;        // 1 once the probe sits between the launcher and the call
    LONG width, height;          // of the last frame
    POINT position;              // where the last frame was presented, in screen coordinates
    DWORD firstFrameTick;        // GetTickCount at the first and last presentation
    DWORD lastFrameTick;
    DWORD pixels[kProbeMaxWidth * kProbeMaxHeight];
};
