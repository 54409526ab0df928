// Draws the backgrounds, the game-over panel and the mouse pointer for make_assets; see
// screen_art.h.
#include "screen_art.h"

#include "block_font.h"
#include "fruit_art.h"
#include "palette.h"
#include "value_noise.h"
#include "xorshift.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int screen_width = 640;
constexpr int screen_height = 480;
// Trains run on a centre line 16 pixels in from each edge.
constexpr int track_width = 32;
constexpr int wall_width = 6;
constexpr int field_edge = track_width + wall_width;

int level_in(const Ramp &ramp, std::uint8_t index) {
    return index - ramp.first;
}

int clamp_level(float level, int low, int high) {
    return std::clamp(static_cast<int>(std::floor(level)), low, high);
}

} // namespace

float meadow_lightness(float x, float y) {
    static const ValueNoise broad(11, 90.0f, screen_width, screen_height);
    static const ValueNoise patches(12, 22.0f, screen_width, screen_height);
    return 0.5f + 0.22f * broad.at(x, y) + 0.12f * patches.at(x, y);
}

std::uint8_t meadow_shade(const Ramp &grass, float lightness) {
    return grass.shade(clamp_level(3.0f + lightness * 6.0f, 2, 9));
}

namespace {

// Quiet enough that fruit and shots stand out: a few neighbouring shades only.
void draw_meadow(IndexedImage &image, const Ramp &grass) {
    Xorshift grain(13);
    for (int y = 0; y < screen_height; ++y) {
        for (int x = 0; x < screen_width; ++x) {
            const float fx = static_cast<float>(x), fy = static_cast<float>(y);
            const float v = meadow_lightness(fx, fy) + 0.07f * grain.signed_unit();
            image.set(x, y, meadow_shade(grass, v));
        }
    }
    Xorshift blades(14);
    for (int i = 0; i < 1600; ++i) {
        const int x = blades.below(screen_width), y = blades.below(screen_height);
        const int length = 2 + blades.below(2);
        const int lean = blades.below(3) - 1;
        const int base = level_in(grass, image.at(x, y));
        for (int k = 0; k < length; ++k) {
            const bool tip = k == length - 1;
            image.set(x + (tip ? lean : 0), y - k, grass.shade(base + (tip ? 2 : 1)));
        }
    }
}

void draw_sand(IndexedImage &image, const Ramp &sand) {
    const ValueNoise broad(21, 120.0f, screen_width, screen_height);
    const ValueNoise bend(22, 70.0f, screen_width, screen_height);
    Xorshift grain(23);
    for (int y = 0; y < screen_height; ++y) {
        for (int x = 0; x < screen_width; ++x) {
            const float fx = static_cast<float>(x), fy = static_cast<float>(y);
            // Wind ripples: faint wavy bands across the sand.
            const float ripple = std::sin(fy * 0.35f + fx * 0.05f + 4.0f * bend.at(fx, fy));
            const float v =
                0.5f + 0.2f * broad.at(fx, fy) + 0.08f * ripple + 0.08f * grain.signed_unit();
            image.set(x, y, sand.shade(clamp_level(3.0f + v * 6.0f, 2, 9)));
        }
    }
    Xorshift pebbles(24);
    for (int i = 0; i < 90; ++i) {
        const int x = pebbles.below(screen_width), y = pebbles.below(screen_height);
        const int base = level_in(sand, image.at(x, y));
        image.set(x, y, sand.shade(base + 2));
        image.set(x + 1, y, sand.shade(base + 1));
        image.set(x, y + 1, sand.shade(base - 1));
        image.set(x + 1, y + 1, sand.shade(base - 2));
        image.set(x + 2, y + 1, sand.shade(base - 2));
    }
}

void draw_stone_tiles(IndexedImage &image, const Ramp &stone) {
    constexpr int tile = 32;
    const ValueNoise mottle(31, 9.0f, screen_width, screen_height);
    Xorshift random(32);
    for (int ty = 0; ty < screen_height / tile; ++ty) {
        for (int tx = 0; tx < screen_width / tile; ++tx) {
            const int base = 5 + random.below(3) - 1;
            for (int gy = 0; gy < tile; ++gy) {
                for (int gx = 0; gx < tile; ++gx) {
                    const int x = tx * tile + gx, y = ty * tile + gy;
                    int level;
                    if (gx == 0 || gy == 0 || gx == tile - 1 || gy == tile - 1) {
                        level = 1; // grout
                    } else if (gx == 1 || gy == 1) {
                        level = base + 2;
                    } else if (gx == tile - 2 || gy == tile - 2) {
                        level = base - 2;
                    } else {
                        const float v =
                            0.9f * mottle.at(static_cast<float>(x), static_cast<float>(y)) +
                            0.4f * random.signed_unit();
                        level = base + static_cast<int>(std::lround(v));
                    }
                    image.set(x, y, stone.shade(level));
                }
            }
            if (random.below(100) < 14) {
                int x = tx * tile + 6 + random.below(tile - 12),
                    y = ty * tile + 6 + random.below(tile - 12);
                const int steps = 6 + random.below(6);
                const int dx = random.below(2) * 2 - 1;
                for (int s = 0; s < steps; ++s) {
                    image.set(x, y, stone.shade(base - 2));
                    if (random.below(2) == 0) {
                        x += dx;
                    } else {
                        ++y;
                    }
                }
            }
        }
    }
}

bool in_track(int x, int y) {
    return x < track_width || y < track_width || x >= screen_width - track_width ||
           y >= screen_height - track_width;
}

// Gravel, sleepers and two rails along each edge; the corners, where two lines cross,
// get a steel plate. Dark all over, for the status line.
void draw_track(IndexedImage &image, const GamePalette &palette) {
    Xorshift gravel(41);
    for (int y = 0; y < screen_height; ++y) {
        for (int x = 0; x < screen_width; ++x) {
            if (!in_track(x, y)) {
                continue;
            }
            const int level = gravel.below(100) < 8 ? 4 : 1 + gravel.below(3);
            image.set(x, y, palette.ballast.shade(level));
        }
    }
    for (int cx : {0, screen_width - track_width}) {
        for (int cy : {0, screen_height - track_width}) {
            image.fill_rect(cx, cy, cx + track_width, cy + track_width, palette.steel.shade(1));
            image.fill_rect(cx + 1, cy + 1, cx + track_width - 1, cy + track_width - 1,
                            palette.steel.shade(2));
            for (int rx : {3, track_width - 4}) {
                for (int ry : {3, track_width - 4}) {
                    image.set(cx + rx, cy + ry, palette.steel.shade(4));
                }
            }
        }
    }
    Xorshift grain(42);
    constexpr int sleeper_pitch = 14, sleeper_width = 5;
    auto sleeper = [&](int along, int across, bool horizontal, int band_origin) {
        const int position = along % sleeper_pitch;
        if (position >= sleeper_width || across < 3 || across > track_width - 4) {
            return;
        }
        // Lit side first, then the body with a little grain, then the shaded side.
        int level = position == 0 ? 4 : position == sleeper_width - 1 ? 1 : 2 + grain.below(2);
        if (across == 3 || across == track_width - 4) {
            level = 1;
        }
        const int x = horizontal ? along : band_origin + across;
        const int y = horizontal ? band_origin + across : along;
        image.set(x, y, palette.wood.shade(level));
    };
    for (int along = track_width; along < screen_width - track_width; ++along) {
        for (int across = 0; across < track_width; ++across) {
            sleeper(along, across, true, 0);
            sleeper(along, across, true, screen_height - track_width);
        }
    }
    for (int along = track_width; along < screen_height - track_width; ++along) {
        for (int across = 0; across < track_width; ++across) {
            sleeper(along, across, false, 0);
            sleeper(along, across, false, screen_width - track_width);
        }
    }
    // Each rail: a bright top, its darker side, and a shadow on the gravel. Shadows go
    // down first so that where lines cross no shadow cuts a rail.
    const int rail_offsets[] = {6, 24};
    for (bool shadows : {true, false}) {
        for (int band : {0, screen_height - track_width}) {
            for (int offset : rail_offsets) {
                for (int x = 0; x < screen_width; ++x) {
                    if (shadows) {
                        image.set(x, band + offset + 2, palette.ballast.shade(0));
                    } else {
                        image.set(x, band + offset, palette.steel.shade(6));
                        image.set(x, band + offset + 1, palette.steel.shade(4));
                    }
                }
            }
        }
        for (int band : {0, screen_width - track_width}) {
            for (int offset : rail_offsets) {
                for (int y = 0; y < screen_height; ++y) {
                    if (shadows) {
                        image.set(band + offset + 2, y, palette.ballast.shade(0));
                    } else {
                        image.set(band + offset, y, palette.steel.shade(6));
                        image.set(band + offset + 1, y, palette.steel.shade(4));
                    }
                }
            }
        }
    }
}

// One pixel of the wall ring; `along` runs along the wall, `across` from 0 at the track
// to wall_width - 1 at the field.
std::uint8_t wall_pixel(Ground ground, int along, int across, Xorshift &random,
                        const GamePalette &palette) {
    if (across == 0) {
        return palette.black;
    }
    switch (ground) {
    case Ground::meadow: {
        // A clipped hedge: lumpy leaves, lighter along the top.
        if (across == wall_width - 1) {
            return palette.leaf.shade(0);
        }
        const int lump = (along / 3 + across) % 4 == 0 ? 1 : 0;
        return palette.leaf.shade((across == 1 ? 3 : 2) + lump - random.below(2));
    }
    case Ground::sand: {
        // A timber beam with a post every 24 pixels.
        if (along % 24 < 4) {
            const int post = along % 24;
            return palette.wood.shade(post == 0 ? 6 : post == 3 ? 2 : 5);
        }
        if (across == wall_width - 1) {
            return palette.wood.shade(1);
        }
        return palette.wood.shade(across == 1 ? 5 : (along * 7 + across * 3) % 11 == 0 ? 2 : 4);
    }
    case Ground::stone_tiles: {
        // Brick coping: two courses of bricks, staggered.
        if (across == wall_width - 1) {
            return palette.brick.shade(0);
        }
        const bool upper = across <= 2;
        const int joint = (along + (upper ? 0 : 5)) % 10;
        if (joint == 0 || across == 3) {
            return palette.grey.shade(5);
        }
        return palette.brick.shade((across == 1 || across == 4 ? 4 : 3) - (joint == 9 ? 1 : 0));
    }
    }
    return palette.black;
}

void draw_wall(IndexedImage &image, Ground ground, const Ramp &ground_ramp,
               const GamePalette &palette) {
    Xorshift random(51);
    for (int y = track_width; y < screen_height - track_width; ++y) {
        for (int x = track_width; x < screen_width - track_width; ++x) {
            const int from_left = x - track_width, from_top = y - track_width;
            const int from_right = screen_width - track_width - 1 - x;
            const int from_bottom = screen_height - track_width - 1 - y;
            const int across = std::min({from_left, from_top, from_right, from_bottom});
            if (across < wall_width) {
                const bool horizontal = across == from_top || across == from_bottom;
                image.set(x, y, wall_pixel(ground, horizontal ? x : y, across, random, palette));
            } else if (across < wall_width + 2 && (across == from_top || across == from_left)) {
                // The sun is at the upper left: the top and left walls shade the field.
                image.set(x, y, ground_ramp.shade(level_in(ground_ramp, image.at(x, y)) - 2));
            }
        }
    }
}

// Ordered dithering between two neighbouring shades, for smooth panel gradients.
bool dither_up(int x, int y, float fraction) {
    static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    return fraction * 16.0f > static_cast<float>(bayer[y & 3][x & 3]) + 0.5f;
}

float rounded_box_distance(float x, float y, float width, float height, float radius) {
    const float qx = std::fabs(x - width / 2) - (width / 2 - radius);
    const float qy = std::fabs(y - height / 2) - (height / 2 - radius);
    const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

void stamp_text(IndexedImage &image, const TextMask &text, int left, int top, std::uint8_t shadow,
                int shadow_offset, std::uint8_t outline, const Ramp *gradient, std::uint8_t flat) {
    auto on = [&text](int x, int y) {
        return x >= 0 && y >= 0 && x < text.width && y < text.height &&
               text.cells[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
    };
    for (int y = -2; y < text.height + 2; ++y) {
        for (int x = -2; x < text.width + 2; ++x) {
            if (on(x - shadow_offset, y - shadow_offset)) {
                image.set(left + x, top + y, shadow);
            }
        }
    }
    for (int y = -1; y <= text.height; ++y) {
        for (int x = -1; x <= text.width; ++x) {
            if (!on(x, y) &&
                (on(x - 1, y) || on(x + 1, y) || on(x, y - 1) || on(x, y + 1) || on(x - 1, y - 1) ||
                 on(x + 1, y + 1) || on(x - 1, y + 1) || on(x + 1, y - 1))) {
                image.set(left + x, top + y, outline);
            }
        }
    }
    for (int y = 0; y < text.height; ++y) {
        for (int x = 0; x < text.width; ++x) {
            if (!on(x, y)) {
                continue;
            }
            if (gradient == nullptr) {
                image.set(left + x, top + y, flat);
                continue;
            }
            // Bright gold at the top of the letters running down into red.
            const float t = static_cast<float>(y) / static_cast<float>(text.height - 1);
            const float level = 7.0f - 5.0f * t;
            const int low = static_cast<int>(level);
            image.set(
                left + x, top + y,
                gradient->shade(dither_up(x, y, level - static_cast<float>(low)) ? low + 1 : low));
        }
    }
}

} // namespace

IndexedImage draw_background(Ground ground) {
    const GamePalette &palette = game_palette();
    IndexedImage image(screen_width, screen_height, palette.black);
    const Ramp *ground_ramp = &palette.grass;
    switch (ground) {
    case Ground::meadow:
        draw_meadow(image, palette.grass);
        break;
    case Ground::sand:
        ground_ramp = &palette.sand;
        draw_sand(image, palette.sand);
        break;
    case Ground::stone_tiles:
        ground_ramp = &palette.stone;
        draw_stone_tiles(image, palette.stone);
        break;
    }
    draw_track(image, palette);
    draw_wall(image, ground, *ground_ramp, palette);
    return image;
}

IndexedImage draw_game_over() {
    const GamePalette &palette = game_palette();
    constexpr int width = 320, height = 200;
    constexpr float corner = 14.0f, rim = 2.0f, frame = 6.0f;
    IndexedImage image(width, height, GamePalette::transparent);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const float px = static_cast<float>(x) + 0.5f, py = static_cast<float>(y) + 0.5f;
            const float inset = -rounded_box_distance(px, py, width, height, corner);
            if (inset < 0) {
                continue;
            }
            if (inset < rim) {
                image.set(x, y, palette.wood.darkest());
            } else if (inset < rim + frame) {
                // A rounded gold moulding: its outer half faces out, its inner half in.
                const float e = 0.5f;
                const float gx = rounded_box_distance(px + e, py, width, height, corner) -
                                 rounded_box_distance(px - e, py, width, height, corner);
                const float gy = rounded_box_distance(px, py + e, width, height, corner) -
                                 rounded_box_distance(px, py - e, width, height, corner);
                const float slope = 1.0f - 2.0f * (inset - rim) / frame;
                const float facing = slope * (-0.6f * gx - 0.8f * gy);
                image.set(x, y, palette.lemon.shade(clamp_level(4.0f + 3.4f * facing, 1, 7)));
            } else if (inset < rim + frame + 1.0f) {
                image.set(x, y, palette.navy.darkest());
            } else {
                const float level = 4.0f - 3.0f * py / static_cast<float>(height);
                const int low = static_cast<int>(level);
                image.set(x, y,
                          palette.navy.shade(
                              dither_up(x, y, level - static_cast<float>(low)) ? low + 1 : low));
            }
        }
    }
    const TextMask title = draw_block_text("GAME OVER", 5);
    stamp_text(image, title, (width - title.width) / 2, 36, palette.black, 3,
               palette.fire.darkest(), &palette.fire, 0);

    const Fruit fruit_row[] = {Fruit::green_apple, Fruit::yellow_lemon, Fruit::red_cherries,
                               Fruit::blue_grapes};
    for (int i = 0; i < 4; ++i) {
        const IndexedImage fruit = draw_fruit(fruit_row[i], 0);
        const int left = 72 + i * 48, top = 90;
        for (int y = 0; y < fruit.height(); ++y) {
            for (int x = 0; x < fruit.width(); ++x) {
                if (fruit.at(x, y) != GamePalette::transparent) {
                    image.set(left + x, top + y, fruit.at(x, y));
                }
            }
        }
    }

    const TextMask hint = draw_block_text("PRESS ANY KEY", 2);
    stamp_text(image, hint, (width - hint.width) / 2, 146, palette.black, 1, palette.navy.darkest(),
               nullptr, palette.pale_grey);
    return image;
}

IndexedImage draw_mouse_pointer() {
    static const char *const arrow[] = {
        "X...........", "XX..........", "XOX.........", "XOOX........", "XOOOX.......",
        "XOOOOX......", "XOOOOOX.....", "XOOOOOOX....", "XOOOOOOOX...", "XOOOOOOOOX..",
        "XOOOOOOOOOX.", "XOOOOOOXXXXX", "XOOOXOOX....", "XOOXXOOX....", "XOX..XOOX...",
        "XX...XOOX...", "X.....XOOX..", "......XOOX..", ".......XX...",
    };
    const GamePalette &palette = game_palette();
    IndexedImage image(16, 20, GamePalette::transparent);
    for (int y = 0; y < 19; ++y) {
        for (int x = 0; arrow[y][x] != '\0'; ++x) {
            if (arrow[y][x] == 'X') {
                image.set(x, y, palette.black);
            } else if (arrow[y][x] == 'O') {
                image.set(x, y, palette.white);
            }
        }
    }
    return image;
}
