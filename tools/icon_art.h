// The game's desktop icon: the player and a fruit on a rounded tile of the first
// level's meadow, drawn from the game's own pictures. Every size the desktops' icon
// theme asks for is drawn for itself rather than scaled from another: the shapes are
// sampled anew at that size, the outlines keep their width in pixels, and the smallest
// sizes show the fruit alone, large enough to read. Called by make_assets.
#pragma once

#include "indexed_image.h"

constexpr int icon_sizes[] = {16, 24, 32, 48, 64, 128, 256};

// size x size in the game palette, transparent outside the tile's rounded corners.
IndexedImage draw_icon(int size);
