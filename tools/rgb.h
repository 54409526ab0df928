// A plain 8-bit-per-channel colour, shared by the palette, the BMP reader and writer and
// the contact sheet.
#pragma once

#include <cstdint>

struct Rgb {
    std::uint8_t r;
    std::uint8_t g;
    std::uint8_t b;
};

inline bool operator==(Rgb a, Rgb b) {
    return a.r == b.r && a.g == b.g && a.b == b.b;
}
