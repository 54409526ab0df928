// The PNG writer of make_assets; see png_writer.h. A PNG is a signature and chunks
// (length, type, data, CRC-32); the pixels go in a zlib stream of stored deflate
// blocks, each row led by filter type 0.
#include "png_writer.h"

#include "byte_io.h"

#include <algorithm>

namespace {

constexpr std::size_t max_stored_block = 65535;

std::uint32_t crc32(const std::vector<std::uint8_t> &bytes, std::size_t from) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = from; i < bytes.size(); ++i) {
        c = table[(c ^ bytes[i]) & 0xFF] ^ (c >> 8);
    }
    return c ^ 0xFFFFFFFFu;
}

std::uint32_t adler32(const std::vector<std::uint8_t> &bytes) {
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : bytes) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return b << 16 | a;
}

void put_chunk(std::vector<std::uint8_t> &out, const char *type,
               const std::vector<std::uint8_t> &data) {
    put_be32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t checked_from = out.size();
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(type[i]));
    }
    out.insert(out.end(), data.begin(), data.end());
    put_be32(out, crc32(out, checked_from));
}

std::vector<std::uint8_t> zlib_stored(const std::vector<std::uint8_t> &raw) {
    std::vector<std::uint8_t> out = {0x78, 0x01}; // deflate, 32 KB window, no dictionary
    std::size_t at = 0;
    do {
        const std::size_t length = std::min(max_stored_block, raw.size() - at);
        const bool last = at + length == raw.size();
        out.push_back(last ? 1 : 0); // BFINAL, BTYPE 00: stored
        put_le16(out, static_cast<std::uint32_t>(length));
        put_le16(out, static_cast<std::uint32_t>(~length & 0xFFFF));
        out.insert(out.end(), raw.begin() + static_cast<long>(at),
                   raw.begin() + static_cast<long>(at + length));
        at += length;
    } while (at < raw.size());
    put_be32(out, adler32(raw));
    return out;
}

} // namespace

std::vector<std::uint8_t> encode_indexed_png(const IndexedImage &image,
                                             const std::array<Rgb, 256> &palette) {
    std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

    std::vector<std::uint8_t> header;
    put_be32(header, static_cast<std::uint32_t>(image.width()));
    put_be32(header, static_cast<std::uint32_t>(image.height()));
    header.push_back(8); // bits per index
    header.push_back(3); // colour type: palette
    header.push_back(0); // deflate
    header.push_back(0); // adaptive filtering, all rows filter 0
    header.push_back(0); // not interlaced
    put_chunk(out, "IHDR", header);

    std::vector<std::uint8_t> colours;
    for (const Rgb &c : palette) {
        colours.push_back(c.r);
        colours.push_back(c.g);
        colours.push_back(c.b);
    }
    put_chunk(out, "PLTE", colours);
    // Entry 0, the game's magic pink, is the transparent one.
    put_chunk(out, "tRNS", {0});

    std::vector<std::uint8_t> rows;
    for (int y = 0; y < image.height(); ++y) {
        rows.push_back(0);
        for (int x = 0; x < image.width(); ++x) {
            rows.push_back(image.at(x, y));
        }
    }
    put_chunk(out, "IDAT", zlib_stored(rows));
    put_chunk(out, "IEND", {});
    return out;
}

void write_indexed_png(const std::string &path, const IndexedImage &image,
                       const std::array<Rgb, 256> &palette) {
    write_file(path, encode_indexed_png(image, palette));
}
