#pragma once
// Puts a movie frame, rendered once into premultiplied BGRA pixels, onto a device context:
// composited over what the DC holds (a transparent control), or over a solid background.
// A 32-bit top-down DIB section is written in place; any other DC goes through a copy.
#include <windows.h>

#include <cstdint>
#include <optional>

struct FramePixels {
    const uint32_t* pixels;
    int width;
    int height;
};

// Composites `frame` at `bounds` (logical units of `hdc`, MM_TEXT) over the DC's pixels,
// first filling the bounds with `background` (0x00BBGGRR) when one is given. Returns false
// when the DC could not be drawn on.
bool DrawFrameOnDC(HDC hdc, const RECT& bounds, const FramePixels& frame, std::optional<COLORREF> background);

// Source-over of premultiplied pixels: dst = src + dst * (255 - src alpha) / 255.
void CompositeRow(uint32_t* dst, const uint32_t* src, int count);
