// The icon drawing of make_assets; see icon_art.h.
#include "icon_art.h"

#include "actor_art.h"
#include "fruit_art.h"
#include "palette.h"
#include "screen_art.h"

namespace {

// Copies the picture's opaque pixels onto the canvas with its top-left at (left, top).
void paste(IndexedImage &canvas, const IndexedImage &picture, int left, int top) {
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (picture.at(x, y) != GamePalette::transparent) {
                canvas.set(left + x, top + y, picture.at(x, y));
            }
        }
    }
}

} // namespace

IndexedImage draw_icon() {
    // A patch of open field, clear of the track and the wall round the edge.
    constexpr int field_left = 200, field_top = 160;
    const IndexedImage meadow = draw_background(Ground::meadow);
    IndexedImage icon(icon_size, icon_size, GamePalette::transparent);
    for (int y = 0; y < icon_size; ++y) {
        for (int x = 0; x < icon_size; ++x) {
            icon.set(x, y, meadow.at(field_left + x, field_top + y));
        }
    }
    // The cherries up to the right, the player coming down for them from the left.
    paste(icon, draw_fruit(Fruit::red_cherries, 1), 30, 3);
    paste(icon, draw_player(1), 3, 29);
    return icon;
}
