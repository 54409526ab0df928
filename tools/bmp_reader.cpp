// The 8-bit BMP reader of the contact sheet; see bmp_reader.h.
#include "bmp_reader.h"

#include "byte_io.h"

#include <stdexcept>

IndexedPicture read_indexed_bmp(const std::string &path) {
    const std::vector<std::uint8_t> bytes = read_file(path);
    auto fail = [&path](const char *why) { return std::runtime_error(path + ": " + why); };
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') {
        throw fail("not a BMP file");
    }
    const std::uint32_t pixel_offset = get_le32(bytes, 10);
    const std::uint32_t header_size = get_le32(bytes, 14);
    const int width = static_cast<int>(get_le32(bytes, 18));
    const int height = static_cast<int>(get_le32(bytes, 22));
    if (header_size != 40 || get_le16(bytes, 28) != 8 || get_le32(bytes, 30) != 0) {
        throw fail("not an uncompressed 8-bit BMP");
    }
    if (width <= 0 || height <= 0) {
        throw fail("unsupported picture size");
    }
    std::uint32_t colour_count = get_le32(bytes, 46);
    if (colour_count == 0) {
        colour_count = 256;
    }
    IndexedPicture picture{IndexedImage(width, height, 0), {}};
    for (std::uint32_t i = 0; i < colour_count && i < 256; ++i) {
        const std::size_t at = 14 + header_size + i * 4;
        picture.colours[i] = {bytes.at(at + 2), bytes.at(at + 1), bytes.at(at)};
    }
    const std::size_t row_bytes = (static_cast<std::size_t>(width) + 3u) & ~std::size_t{3};
    if (pixel_offset + row_bytes * static_cast<std::size_t>(height) > bytes.size()) {
        throw fail("pixel data is cut short");
    }
    for (int y = 0; y < height; ++y) {
        const std::size_t row = pixel_offset + row_bytes * static_cast<std::size_t>(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            picture.image.set(x, y, bytes[row + static_cast<std::size_t>(x)]);
        }
    }
    return picture;
}
