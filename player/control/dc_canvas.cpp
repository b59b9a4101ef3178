#include "player/control/dc_canvas.h"

#include <cstddef>
#include <algorithm>
#include <vector>

namespace {

uint32_t Opaque(COLORREF color)
{
    return 0xFF000000u | (static_cast<uint32_t>(GetRValue(color)) << 16) |
           (static_cast<uint32_t>(GetGValue(color)) << 8) | GetBValue(color);
}

// The rows of a 32-bit DIB section selected into `hdc`, when its logical and device
// coordinates agree: `rows` is the top row, `stride` the step to the next one down (negative
// for a bottom-up bitmap).
struct DirectPixels {
    uint32_t* rows = nullptr;
    int width = 0;
    int height = 0;
    ptrdiff_t stride = 0;
};

// GetObject does not tell a top-down DIB section from a bottom-up one on every system, so
// the DC is asked to set the top-left pixel and the bits are looked at.
bool IsTopDown(HDC hdc, uint32_t* bits, int height, ptrdiff_t stride)
{
    if (height <= 1)
        return true;
    uint32_t* first = bits;
    uint32_t* last = bits + (height - 1) * stride;
    const uint32_t savedFirst = *first, savedLast = *last;
    GdiFlush();
    SetPixelV(hdc, 0, 0, RGB(1, 2, 3));
    GdiFlush();
    const bool topDown = (*first & 0xFFFFFF) == 0x010203;
    *first = savedFirst;
    *last = savedLast;
    return topDown;
}

bool FindDirectPixels(HDC hdc, DirectPixels& out)
{
    HGDIOBJ bitmap = GetCurrentObject(hdc, OBJ_BITMAP);
    DIBSECTION section;
    if (!bitmap || GetObjectA(bitmap, sizeof section, &section) != sizeof section)
        return false;
    if (section.dsBm.bmBitsPixel != 32 || !section.dsBm.bmBits || section.dsBm.bmWidthBytes % 4)
        return false;
    POINT viewport, window;
    if (GetMapMode(hdc) != MM_TEXT || !GetViewportOrgEx(hdc, &viewport) || !GetWindowOrgEx(hdc, &window) ||
        viewport.x != window.x || viewport.y != window.y)
        return false;
    auto* bits = static_cast<uint32_t*>(section.dsBm.bmBits);
    out.width = section.dsBm.bmWidth;
    out.height = section.dsBm.bmHeight;
    out.stride = section.dsBm.bmWidthBytes / 4;
    if (!IsTopDown(hdc, bits, out.height, out.stride)) {
        bits += (out.height - 1) * out.stride;
        out.stride = -out.stride;
    }
    out.rows = bits;
    return true;
}

void Compose(uint32_t* target, ptrdiff_t targetStride, int targetWidth, int targetHeight, int left, int top,
             const FramePixels& frame, std::optional<COLORREF> background)
{
    const int x0 = std::max(0, left), y0 = std::max(0, top);
    const int x1 = std::min(targetWidth, left + frame.width), y1 = std::min(targetHeight, top + frame.height);
    if (x0 >= x1 || y0 >= y1)
        return;
    for (int y = y0; y < y1; ++y) {
        uint32_t* row = target + y * targetStride + x0;
        if (background)
            std::fill(row, row + (x1 - x0), Opaque(*background));
        CompositeRow(row, frame.pixels + static_cast<size_t>(y - top) * frame.width + (x0 - left), x1 - x0);
    }
}

}  // namespace

void CompositeRow(uint32_t* dst, const uint32_t* src, int count)
{
    for (int i = 0; i < count; ++i) {
        const uint32_t s = src[i];
        const uint32_t inverse = 255 - (s >> 24);
        if (inverse == 255)
            continue;
        if (inverse == 0) {
            dst[i] = s;
            continue;
        }
        const uint32_t d = dst[i];
        // Two channels at a time, each rounded as x / 255 = (x + 128 + ((x + 128) >> 8)) >> 8.
        uint32_t rb = (d & 0x00FF00FFu) * inverse + 0x00800080u;
        rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
        uint32_t ag = ((d >> 8) & 0x00FF00FFu) * inverse + 0x00800080u;
        ag = (ag + ((ag >> 8) & 0x00FF00FFu)) & 0xFF00FF00u;
        dst[i] = s + (rb | ag);
    }
}

bool DrawFrameOnDC(HDC hdc, const RECT& bounds, const FramePixels& frame, std::optional<COLORREF> background)
{
    if (!hdc || frame.width <= 0 || frame.height <= 0)
        return false;
    DirectPixels direct;
    if (FindDirectPixels(hdc, direct)) {
        GdiFlush();  // GDI may still owe the bitmap earlier drawing
        Compose(direct.rows, direct.stride, direct.width, direct.height, bounds.left, bounds.top, frame, background);
        return true;
    }

    // Any other DC: its pixels are copied out, composited and copied back.
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = frame.width;
    info.bmiHeader.biHeight = -frame.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP copy = CreateDIBSection(hdc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC copyDC = copy ? CreateCompatibleDC(hdc) : nullptr;
    bool drawn = false;
    if (copyDC) {
        HGDIOBJ old = SelectObject(copyDC, copy);
        if (BitBlt(copyDC, 0, 0, frame.width, frame.height, hdc, bounds.left, bounds.top, SRCCOPY)) {
            GdiFlush();
            Compose(static_cast<uint32_t*>(bits), frame.width, frame.width, frame.height, 0, 0, frame, background);
            drawn = BitBlt(hdc, bounds.left, bounds.top, frame.width, frame.height, copyDC, 0, 0, SRCCOPY) != FALSE;
        }
        SelectObject(copyDC, old);
        DeleteDC(copyDC);
    }
    if (copy)
        DeleteObject(copy);
    return drawn;
}
