// Builds the shared game palette for make_assets: hand-picked ramps for each material,
// the exact colours the game uses itself, then the spare entries spread over the colour
// cube so that any other colour the game asks for at 8 bits finds a close match.
#include "palette.h"

#include <algorithm>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// The library keeps palettes at 6 bits per channel; storing the value it will expand
// back to makes the BMP show exactly what the game shows.
// Truncating, as the library does both when it reads a BMP colour table and when makecol
// looks up the nearest entry at 8 bits.
std::uint8_t to_six_bits(int channel) {
    return static_cast<std::uint8_t>(channel >> 2);
}
std::uint8_t from_six_bits(int six) {
    return static_cast<std::uint8_t>((six << 2) | (six >> 4));
}

Rgb snap(int r, int g, int b) {
    return {from_six_bits(to_six_bits(r)), from_six_bits(to_six_bits(g)),
            from_six_bits(to_six_bits(b))};
}

// Expansion of a 6-bit value as the library does it when it converts a paletted picture
// to true colour; both roundings are checked so neither can hit the mask colour.
int expand_floor(int six) {
    return six * 255 / 63;
}
int expand_round(int six) {
    return (six * 255 + 31) / 63;
}

bool becomes_mask_colour(Rgb c) {
    const int r6 = to_six_bits(c.r), g6 = to_six_bits(c.g), b6 = to_six_bits(c.b);
    for (int (*expand)(int) : {expand_floor, expand_round}) {
        const int r = expand(r6), g = expand(g6), b = expand(b6);
        const bool pink_15 = (r >> 3) == 31 && (g >> 3) == 0 && (b >> 3) == 31;
        const bool pink_16 = (r >> 3) == 31 && (g >> 2) == 0 && (b >> 3) == 31;
        if (pink_15 || pink_16) {
            return true;
        }
    }
    return false;
}

struct Key {
    float at;
    int r, g, b;
};

class PaletteBuilder {
  public:
    explicit PaletteBuilder(GamePalette &palette) : palette_(palette) { add(snap(255, 0, 255)); }

    std::uint8_t add(Rgb colour) {
        if (used_ >= 256) {
            throw std::runtime_error("game palette overflows 256 entries");
        }
        palette_.colours[static_cast<std::size_t>(used_)] = colour;
        return static_cast<std::uint8_t>(used_++);
    }

    std::uint8_t add(int r, int g, int b) { return add(snap(r, g, b)); }

    // Shades spaced evenly between key colours at positions 0..1.
    Ramp ramp(int count, std::initializer_list<Key> keys) {
        const std::vector<Key> stops(keys);
        Ramp result{used_, count};
        for (int i = 0; i < count; ++i) {
            const float t = count > 1 ? static_cast<float>(i) / static_cast<float>(count - 1) : 0;
            std::size_t k = 0;
            while (k + 2 < stops.size() && t > stops[k + 1].at) {
                ++k;
            }
            const Key &a = stops[k];
            const Key &b = stops[k + 1];
            const float u = std::clamp((t - a.at) / (b.at - a.at), 0.0f, 1.0f);
            auto mix = [u](int from, int to) {
                return static_cast<int>(static_cast<float>(from) +
                                        (static_cast<float>(to - from)) * u + 0.5f);
            };
            add(mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b));
        }
        return result;
    }

    // Consecutive entries of the given grey levels, dark to light.
    Ramp greys(std::initializer_list<int> levels) {
        Ramp result{used_, static_cast<int>(levels.size())};
        for (int level : levels) {
            add(level, level, level);
        }
        return result;
    }

    // Fills the spare entries from a 6-level colour cube, each time taking the candidate
    // farthest from every colour already present.
    void spread_spares() {
        std::vector<Rgb> candidates;
        for (int r = 0; r < 6; ++r) {
            for (int g = 0; g < 6; ++g) {
                for (int b = 0; b < 6; ++b) {
                    const Rgb c = snap(r * 51, g * 51, b * 51);
                    if (!becomes_mask_colour(c)) {
                        candidates.push_back(c);
                    }
                }
            }
        }
        while (used_ < 256) {
            std::size_t best = 0;
            int best_distance = -1;
            for (std::size_t i = 0; i < candidates.size(); ++i) {
                const int d = distance_to_palette(candidates[i]);
                if (d > best_distance) {
                    best_distance = d;
                    best = i;
                }
            }
            add(candidates[best]);
            candidates.erase(candidates.begin() + static_cast<std::ptrdiff_t>(best));
        }
    }

  private:
    int distance_to_palette(Rgb c) const {
        int nearest = 1 << 30;
        for (int i = 1; i < used_; ++i) {
            const Rgb p = palette_.colours[static_cast<std::size_t>(i)];
            const int dr = c.r - p.r, dg = c.g - p.g, db = c.b - p.b;
            nearest = std::min(nearest, dr * dr + dg * dg + db * db);
        }
        return nearest;
    }

    GamePalette &palette_;
    int used_ = 0;
};

void check(const GamePalette &palette) {
    for (int i = 1; i < 256; ++i) {
        const Rgb c = palette.colours[static_cast<std::size_t>(i)];
        if (becomes_mask_colour(c)) {
            throw std::runtime_error("palette entry " + std::to_string(i) +
                                     " turns into the mask colour");
        }
        for (int j = 0; j < i; ++j) {
            if (palette.colours[static_cast<std::size_t>(j)] == c) {
                throw std::runtime_error("palette entries " + std::to_string(j) + " and " +
                                         std::to_string(i) + " are the same colour");
            }
        }
    }
}

GamePalette build() {
    GamePalette p;
    PaletteBuilder b(p);
    // The greys include exactly the black, the button greys and the white that the game
    // asks makecol for, and the entry after them its cleared-frame green, so at 8 bits
    // per pixel its text, buttons and field look as they do in true colour.
    p.grey = b.greys({0, 16, 32, 48, 64, 80, 96, 112, 128, 144, 160, 176, 192, 208, 227, 255});
    p.black = p.grey.darkest();
    p.pale_grey = p.grey.shade(14);
    p.white = p.grey.lightest();
    b.add(0, 128, 0);

    p.apple = b.ramp(
        8, {{0, 18, 48, 12}, {0.45f, 70, 150, 25}, {0.8f, 150, 215, 50}, {1, 230, 252, 170}});
    p.lemon = b.ramp(
        8, {{0, 72, 44, 8}, {0.45f, 205, 155, 12}, {0.8f, 252, 225, 50}, {1, 255, 252, 200}});
    p.cherry =
        b.ramp(8, {{0, 58, 6, 18}, {0.45f, 175, 22, 40}, {0.8f, 236, 70, 66}, {1, 255, 200, 190}});
    p.grape = b.ramp(
        8, {{0, 14, 14, 58}, {0.45f, 45, 70, 180}, {0.8f, 95, 140, 240}, {1, 210, 228, 255}});
    p.leaf = b.ramp(6, {{0, 12, 42, 22}, {0.5f, 36, 120, 52}, {1, 130, 205, 110}});
    p.wood = b.ramp(8, {{0, 32, 18, 10}, {0.5f, 112, 70, 36}, {1, 200, 150, 96}});
    p.skin = b.ramp(6, {{0, 84, 44, 28}, {0.5f, 205, 140, 100}, {1, 255, 222, 190}});
    p.shirt = b.ramp(7, {{0, 8, 44, 56}, {0.5f, 28, 140, 152}, {1, 150, 232, 226}});
    p.cap = b.ramp(6, {{0, 76, 28, 6}, {0.55f, 232, 112, 22}, {1, 255, 206, 124}});
    p.fire = b.ramp(8, {{0, 88, 8, 4},
                        {0.3f, 200, 40, 8},
                        {0.55f, 250, 124, 12},
                        {0.8f, 255, 214, 48},
                        {1, 255, 255, 214}});
    p.steel = b.ramp(8, {{0, 20, 22, 30}, {0.5f, 78, 88, 108}, {1, 224, 232, 244}});
    p.grass = b.ramp(12, {{0, 38, 66, 34}, {0.5f, 74, 108, 56}, {1, 112, 146, 80}});
    p.sand = b.ramp(12, {{0, 150, 118, 78}, {0.5f, 200, 174, 124}, {1, 230, 212, 168}});
    p.stone = b.ramp(12, {{0, 66, 68, 78}, {0.5f, 112, 116, 126}, {1, 160, 162, 170}});
    p.ballast = b.ramp(6, {{0, 26, 24, 24}, {1, 92, 84, 76}});
    p.brick = b.ramp(6, {{0, 58, 20, 16}, {0.5f, 140, 62, 42}, {1, 196, 110, 78}});
    p.navy = b.ramp(6, {{0, 8, 10, 28}, {1, 44, 56, 110}});
    p.smoke = b.ramp(5, {{0, 110, 110, 118}, {1, 246, 246, 250}});
    b.spread_spares();
    check(p);
    return p;
}

} // namespace

std::uint8_t Ramp::shade(int level) const {
    return static_cast<std::uint8_t>(first + std::clamp(level, 0, count - 1));
}

const GamePalette &game_palette() {
    static const GamePalette palette = build();
    return palette;
}
