// The one 256-colour palette that every picture of the game is drawn in. The game sets
// the palette of mouse.dat as the screen palette at 8 bits per pixel, so all pictures
// must share it; at the true-colour depths the library converts through it. Entry 0 is
// magic pink and is the only transparent colour. make_assets draws with the named ramps;
// the BMP writer stores the colour table.
#pragma once

#include "rgb.h"

#include <array>
#include <cstdint>

// A run of palette entries graded from dark (shade 0) to light (shade count - 1).
struct Ramp {
    int first = 0;
    int count = 0;

    std::uint8_t shade(int level) const;
    std::uint8_t darkest() const { return shade(0); }
    std::uint8_t lightest() const { return shade(count - 1); }
};

struct GamePalette {
    static constexpr std::uint8_t transparent = 0;

    std::array<Rgb, 256> colours{};

    std::uint8_t black = 0;
    std::uint8_t white = 0;
    std::uint8_t pale_grey = 0;

    Ramp grey;
    Ramp apple;
    Ramp lemon;
    Ramp cherry;
    Ramp grape;
    Ramp leaf;
    Ramp wood;
    Ramp skin;
    Ramp shirt;
    Ramp cap;
    Ramp fire;
    Ramp steel;
    Ramp grass;
    Ramp sand;
    Ramp stone;
    Ramp ballast;
    Ramp brick;
    Ramp navy;
    Ramp smoke;
};

// Built once; throws if two entries collapse into one colour of the library's 6-bit
// palette or if any entry but 0 would turn into the mask colour at 15 or 16 bits.
const GamePalette &game_palette();
