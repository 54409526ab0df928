// Reads back the 8-bit indexed BMP files that make_assets writes, for the contact sheet.
// Only that one layout is accepted; anything else is reported, not guessed at.
#pragma once

#include "indexed_image.h"
#include "rgb.h"

#include <array>
#include <string>

struct IndexedPicture {
    IndexedImage image;
    std::array<Rgb, 256> colours;
};

// Throws std::runtime_error naming the file if it is missing or not an uncompressed
// 8-bit BMP.
IndexedPicture read_indexed_bmp(const std::string &path);
