// The 8-bit BMP writer used by make_assets; see bmp_writer.h.
#include "bmp_writer.h"

#include "byte_io.h"

#include <vector>

void write_indexed_bmp(const std::string &path, const IndexedImage &image,
                       const std::array<Rgb, 256> &colours) {
    const std::uint32_t row_bytes = (static_cast<std::uint32_t>(image.width()) + 3u) & ~3u;
    const std::uint32_t pixel_bytes = row_bytes * static_cast<std::uint32_t>(image.height());
    const std::uint32_t header_bytes = 14 + 40 + 256 * 4;

    std::vector<std::uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    put_le32(out, header_bytes + pixel_bytes);
    put_le32(out, 0);
    put_le32(out, header_bytes);

    put_le32(out, 40);
    put_le32(out, static_cast<std::uint32_t>(image.width()));
    put_le32(out, static_cast<std::uint32_t>(image.height()));
    put_le16(out, 1);
    put_le16(out, 8);
    put_le32(out, 0);
    put_le32(out, pixel_bytes);
    put_le32(out, 2835); // 72 dpi, for image viewers only
    put_le32(out, 2835);
    put_le32(out, 256);
    put_le32(out, 0);

    for (const Rgb &c : colours) {
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        out.push_back(0);
    }

    for (int y = image.height() - 1; y >= 0; --y) {
        for (int x = 0; x < image.width(); ++x) {
            out.push_back(image.at(x, y));
        }
        for (std::uint32_t pad = static_cast<std::uint32_t>(image.width()); pad < row_bytes;
             ++pad) {
            out.push_back(0);
        }
    }
    write_file(path, out);
}
