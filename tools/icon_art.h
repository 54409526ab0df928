// The game's desktop icon: the player and a fruit on a patch of the first level's
// meadow, drawn from the game's own pictures. Called by make_assets.
#pragma once

#include "indexed_image.h"

constexpr int icon_size = 64;

// Opaque, icon_size x icon_size, in the game palette.
IndexedImage draw_icon();
