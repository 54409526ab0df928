// Writes pictures as uncompressed 8-bit indexed Windows BMP files (BITMAPINFOHEADER,
// bottom-up rows padded to 4 bytes, full 256-entry colour table): the one format the
// game's load_bmp reads identically at every colour depth. Called by make_assets.
#pragma once

#include "indexed_image.h"
#include "rgb.h"

#include <array>
#include <string>

// Throws std::runtime_error if the file cannot be written.
void write_indexed_bmp(const std::string &path, const IndexedImage &image,
                       const std::array<Rgb, 256> &colours);
