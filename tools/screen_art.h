// The full-screen and interface pictures: the three level backgrounds (640 x 480), the
// game-over panel and the mouse pointer. Called by make_assets.
#pragma once

#include "indexed_image.h"
#include "palette.h"

#include <cstdint>

// Field grounds taken in turn level by level.
enum class Ground { meadow, sand, stone_tiles };

// Opaque 640 x 480: rail track in the outer 32 pixels, a low wall inside it, then the
// field. The track is dark so the white status line at the top stays readable.
IndexedImage draw_background(Ground ground);
// The meadow's ground at a point of the field, before its grain and blades of grass:
// about 0 (dark) .. 1 (light). The icon paints its ground with it at every size.
float meadow_lightness(float x, float y);
// The grass shade of the meadow for a lightness.
std::uint8_t meadow_shade(const Ramp &grass, float lightness);
// 320 x 200 framed "GAME OVER" panel with transparent rounded corners.
IndexedImage draw_game_over();
// Arrow pointer whose tip is the top-left pixel, as the game draws it at the mouse
// position.
IndexedImage draw_mouse_pointer();
