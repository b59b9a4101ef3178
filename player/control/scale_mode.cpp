#include "player/control/scale_mode.h"

#include <windows.h>

tvrl::player::ScaleMode ScaleModeFromName(const std::wstring& name)
{
    using tvrl::player::ScaleMode;
    if (lstrcmpiW(name.c_str(), L"noBorder") == 0)
        return ScaleMode::NoBorder;
    if (lstrcmpiW(name.c_str(), L"exactFit") == 0)
        return ScaleMode::ExactFit;
    if (lstrcmpiW(name.c_str(), L"noScale") == 0)
        return ScaleMode::NoScale;
    return ScaleMode::ShowAll;
}
