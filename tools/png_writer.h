// Writes 8-bit palette PNG files, the format of the game's desktop icons, with palette
// entry 0 transparent. The image data is stored, not compressed: an icon is small, and
// stored blocks need no deflate encoder. Called by make_assets.
#pragma once

#include "indexed_image.h"
#include "rgb.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

std::vector<std::uint8_t> encode_indexed_png(const IndexedImage &image,
                                             const std::array<Rgb, 256> &palette);

// Throws std::runtime_error if the file cannot be written.
void write_indexed_png(const std::string &path, const IndexedImage &image,
                       const std::array<Rgb, 256> &palette);
