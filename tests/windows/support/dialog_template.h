#pragma once
// Reads an extended dialog template (DLGTEMPLATEEX) as stored in a module's resources.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct DialogItem {
    int32_t id = 0;
    uint32_t style = 0;
    uint32_t exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::wstring windowClass;  // predefined classes by name ("Button", "Static", ...)
    std::wstring title;        // an ordinal title as "#N"
};

struct DialogTemplate {
    uint32_t style = 0;
    uint32_t exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::wstring caption;
    uint16_t pointSize = 0;
    std::wstring typeface;
    std::vector<DialogItem> items;
};

// Parses `size` bytes; false when they are not a well-formed extended template.
bool ParseDialogTemplate(const void* data, size_t size, DialogTemplate& out);
