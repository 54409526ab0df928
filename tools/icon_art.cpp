// The icon drawing of make_assets; see icon_art.h.
#include "icon_art.h"

#include "actor_art.h"
#include "fruit_art.h"
#include "palette.h"
#include "screen_art.h"
#include "shape_painter.h"
#include "xorshift.h"

#include <algorithm>
#include <cmath>

namespace {

// The icon is designed on a 64 x 64 grid; the tile shows the field from here on.
constexpr float design_size = 64.0f;
constexpr Vec2 field_corner{200.0f, 160.0f};
constexpr float corner_radius = 9.0f;
// Below this size the figure and the fruit side by side are too small to tell apart.
constexpr int smallest_with_player = 32;

// The rounded square, drawn `inset` design units in from the edge so that its outline
// fits on the picture.
bool inside_tile(float x, float y, float inset) {
    const float low = inset + corner_radius, high = design_size - inset - corner_radius;
    const float dx = std::max({low - x, x - high, 0.0f});
    const float dy = std::max({low - y, y - high, 0.0f});
    return x >= inset && y >= inset && x <= design_size - inset && y <= design_size - inset &&
           dx * dx + dy * dy <= corner_radius * corner_radius;
}

} // namespace

IndexedImage draw_icon(int size) {
    const GamePalette &palette = game_palette();
    const float scale = static_cast<float>(size) / design_size;
    const Placement tile_place{{0.0f, 0.0f}, scale, std::max(1, static_cast<int>(scale + 0.5f))};
    const float inset = static_cast<float>(tile_place.contour) / scale;
    IndexedImage icon(size, size, GamePalette::transparent);

    // The tile's edge is the hedge's darkest green; inside lies the meadow, its grain
    // only where there are pixels enough to show it.
    const Part tile{[inset](float x, float y) { return inside_tile(x, y, inset); },
                    [](float, float) { return 0.0f; }, palette.leaf};
    paint(icon, tile, tile_place);
    const float grain_strength = size >= 48 ? 0.07f : 0.0f;
    Xorshift grain(13);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const float dx = (static_cast<float>(x) + 0.5f) / scale;
            const float dy = (static_cast<float>(y) + 0.5f) / scale;
            const float lightness = meadow_lightness(field_corner.x + dx, field_corner.y + dy) +
                                    grain_strength * grain.signed_unit();
            if (inside_tile(dx, dy, inset)) {
                icon.set(x, y, meadow_shade(palette.grass, lightness));
            }
        }
    }

    // The cherries up to the right, the player coming down for them from the left; on
    // the smallest icons the cherries alone fill the tile.
    const int outline = std::max(1, static_cast<int>(scale + 0.5f));
    if (size < smallest_with_player) {
        paint_fruit(icon, Fruit::red_cherries, 1, {{0.0f, 0.0f}, scale * 2.0f, 1});
    } else {
        paint_fruit(icon, Fruit::red_cherries, 1, {{29.0f, 4.0f}, scale, outline});
        paint_player(icon, 1, {{4.0f, 28.0f}, scale, outline});
    }
    return icon;
}
