#pragma once
// The doubles of the control start from the same all-E_NOTIMPL face as the player does.
#include "player/control/shockwave_flash_defaults.h"
