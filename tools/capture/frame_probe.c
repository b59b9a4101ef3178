/* A probe loaded into the launcher's process by a test: the launcher looks up
 * UpdateLayeredWindow by name for every frame, so the probe answers that lookup with a
 * function of its own that copies the frame into memory the test shares, then presents it
 * as usual. Nothing else of the launcher changes. */
#include <windows.h>
#include <stdio.h>
#include <string.h>

#include "frame_probe_shared.h"

typedef BOOL(WINAPI* UpdateLayeredWindowFn)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*, DWORD);
typedef FARPROC(WINAPI* GetProcAddressFn)(HMODULE, LPCSTR);

static struct FrameProbeShared* g_shared;
static GetProcAddressFn g_realGetProcAddress;
static UpdateLayeredWindowFn g_realUpdate;

static void CopyFrame(HDC source, const POINT* position, const SIZE* size)
{
    DIBSECTION section;
    HGDIOBJ bitmap = GetCurrentObject(source, OBJ_BITMAP);
    if (!bitmap || GetObjectA(bitmap, sizeof section, &section) != sizeof section || section.dsBm.bmBitsPixel != 32 ||
        !section.dsBm.bmBits)
        return;
    LONG width = section.dsBm.bmWidth, height = section.dsBm.bmHeight;
    if (size && size->cx <= width && size->cy <= height) {
        width = size->cx;
        height = size->cy;
    }
    if (width > kProbeMaxWidth || height > kProbeMaxHeight)
        return;
    GdiFlush();
    /* GetObject does not say which way the rows run on every system: the DC is asked to set
     * its top-left pixel, and the bits show where that went. */
    DWORD* bits = (DWORD*)section.dsBm.bmBits;
    DWORD* lastRow = (DWORD*)((BYTE*)bits + (section.dsBm.bmHeight - 1) * section.dsBm.bmWidthBytes);
    const DWORD savedFirst = bits[0], savedLast = lastRow[0];
    SetPixelV(source, 0, 0, RGB(1, 2, 3));
    GdiFlush();
    const BOOL bottomUp = section.dsBm.bmHeight > 1 && (bits[0] & 0xFFFFFF) != 0x010203;
    bits[0] = savedFirst;
    lastRow[0] = savedLast;
    for (LONG y = 0; y < height; ++y) {
        const LONG row = bottomUp ? section.dsBm.bmHeight - 1 - y : y;
        memcpy(&g_shared->pixels[y * width], (const BYTE*)section.dsBm.bmBits + row * section.dsBm.bmWidthBytes,
               (size_t)width * 4);
    }
    g_shared->width = width;
    g_shared->height = height;
    if (position)
        g_shared->position = *position;
    g_shared->lastFrameTick = GetTickCount();
    if (g_shared->frames == 0)
        g_shared->firstFrameTick = g_shared->lastFrameTick;
    InterlockedIncrement(&g_shared->frames);
}

static BOOL WINAPI ProbeUpdateLayeredWindow(HWND window, HDC destination, POINT* position, SIZE* size, HDC source,
                                            POINT* sourcePosition, COLORREF key, BLENDFUNCTION* blend, DWORD flags)
{
    if (g_shared && source)
        CopyFrame(source, position, size);
    return g_realUpdate(window, destination, position, size, source, sourcePosition, key, blend, flags);
}

static FARPROC WINAPI ProbeGetProcAddress(HMODULE module, LPCSTR name)
{
    if (!IS_INTRESOURCE(name) && strcmp(name, "UpdateLayeredWindow") == 0 && g_realUpdate)
        return (FARPROC)(void*)ProbeUpdateLayeredWindow;
    return g_realGetProcAddress(module, name);
}

/* Points the program's import of GetProcAddress at the probe. */
static BOOL HookImport(void)
{
    BYTE* base = (BYTE*)GetModuleHandleA(NULL);
    IMAGE_NT_HEADERS* nt = (IMAGE_NT_HEADERS*)(base + ((IMAGE_DOS_HEADER*)base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY* directory = &nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!directory->VirtualAddress)
        return FALSE;
    for (IMAGE_IMPORT_DESCRIPTOR* import = (IMAGE_IMPORT_DESCRIPTOR*)(base + directory->VirtualAddress); import->Name;
         ++import) {
        if (lstrcmpiA((const char*)(base + import->Name), "KERNEL32.dll") != 0)
            continue;
        IMAGE_THUNK_DATA* names = (IMAGE_THUNK_DATA*)(base + (import->OriginalFirstThunk ? import->OriginalFirstThunk
                                                                                        : import->FirstThunk));
        IMAGE_THUNK_DATA* slots = (IMAGE_THUNK_DATA*)(base + import->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const IMAGE_IMPORT_BY_NAME* byName = (IMAGE_IMPORT_BY_NAME*)(base + names->u1.AddressOfData);
            if (strcmp((const char*)byName->Name, "GetProcAddress") != 0)
                continue;
            DWORD old;
            if (!VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &old))
                return FALSE;
            slots->u1.Function = (ULONG_PTR)(void*)ProbeGetProcAddress;
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, old, &old);
            return TRUE;
        }
    }
    return FALSE;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)instance;
    (void)reserved;
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    wchar_t name[64];
    swprintf(name, 64, TVRL_FRAME_PROBE_MAPPING, GetCurrentProcessId());
    HANDLE mapping = OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, name);
    if (!mapping)
        return TRUE;
    g_shared = (struct FrameProbeShared*)MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0);
    if (!g_shared)
        return TRUE;
    HMODULE kernel32 = GetModuleHandleA("kernel32.dll");
    HMODULE user32 = LoadLibraryA("user32.dll");
    g_realGetProcAddress = (GetProcAddressFn)(void*)GetProcAddress(kernel32, "GetProcAddress");
    g_realUpdate = (UpdateLayeredWindowFn)(void*)GetProcAddress(user32, "UpdateLayeredWindow");
    if (g_realGetProcAddress && g_realUpdate && HookImport())
        InterlockedExchange(&g_shared->hooked, 1);
    return TRUE;
}
