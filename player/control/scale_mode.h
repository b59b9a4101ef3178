#pragma once
// The Scale property's names ("showAll", "noBorder", "exactFit", "noScale"; any case) as the
// engine's scale modes. An unknown name shows all, the Flash control's default.
#include <string>

#include "player/player.h"

tvrl::player::ScaleMode ScaleModeFromName(const std::wstring& name);
