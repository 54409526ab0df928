// Reading xwd's screenshots and writing them out as PNG for a look.
#include "screen_image.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <unistd.h>

namespace window_test {

namespace {

// The XWD header is 25 big-endian 32-bit words, whatever the machine.
enum HeaderWord {
    WORD_HEADER_SIZE = 0,
    WORD_FILE_VERSION = 1,
    WORD_PIXMAP_FORMAT = 2,
    WORD_PIXMAP_WIDTH = 4,
    WORD_PIXMAP_HEIGHT = 5,
    WORD_BYTE_ORDER = 7,
    WORD_BITS_PER_PIXEL = 11,
    WORD_BYTES_PER_LINE = 12,
    WORD_VISUAL_CLASS = 13,
    WORD_RED_MASK = 14,
    WORD_GREEN_MASK = 15,
    WORD_BLUE_MASK = 16,
    WORD_NCOLORS = 19,
    HEADER_WORDS = 25
};
constexpr uint32_t XWD_VERSION = 7;
constexpr uint32_t Z_PIXMAP = 2;
constexpr uint32_t TRUE_COLOR = 4;
constexpr uint32_t MSB_FIRST = 1;
constexpr std::size_t COLOR_ENTRY_SIZE = 12;

uint32_t header_word(const std::vector<unsigned char> &xwd, int index) {
    const std::size_t at = 4 * static_cast<std::size_t>(index);
    return uint32_t{xwd[at]} << 24 | uint32_t{xwd[at + 1]} << 16 | uint32_t{xwd[at + 2]} << 8 |
           uint32_t{xwd[at + 3]};
}

// One colour channel of a pixel value, scaled to 0 .. 255.
int channel(uint32_t value, uint32_t mask) {
    if (mask == 0)
        return 0;
    int shift = 0;
    while (!((mask >> shift) & 1u))
        shift++;
    const uint32_t top = mask >> shift;
    return static_cast<int>(((value & mask) >> shift) * 255u / top);
}

} // namespace

bool Rgb::near(const Rgb &o, int tolerance) const {
    return std::abs(r - o.r) <= tolerance && std::abs(g - o.g) <= tolerance &&
           std::abs(b - o.b) <= tolerance;
}

std::string to_string(const Rgb &c) {
    return "(" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) +
           ")";
}

ScreenImage::ScreenImage(int width, int height, std::vector<Rgb> pixels)
    : width_(width), height_(height), pixels_(std::move(pixels)) {}

Rgb ScreenImage::at(int x, int y) const {
    if (!contains(x, y))
        throw std::out_of_range("pixel (" + std::to_string(x) + ", " + std::to_string(y) +
                                ") is outside the " + std::to_string(width_) + " x " +
                                std::to_string(height_) + " screenshot");
    return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                   static_cast<std::size_t>(x)];
}

bool ScreenImage::save_png(const std::string &path) const {
    const std::string ppm = path + ".ppm";
    FILE *file = std::fopen(ppm.c_str(), "wb");
    if (!file)
        return false;
    std::fprintf(file, "P6\n%d %d\n255\n", width_, height_);
    for (const Rgb &c : pixels_) {
        const unsigned char rgb[3] = {static_cast<unsigned char>(c.r),
                                      static_cast<unsigned char>(c.g),
                                      static_cast<unsigned char>(c.b)};
        std::fwrite(rgb, 1, 3, file);
    }
    const bool written = std::fclose(file) == 0;
    // Without the time stamps, the same picture makes the same file.
    const std::string command =
        "convert '" + ppm + "' -define png:exclude-chunks=date,time '" + path + "' >/dev/null 2>&1";
    const bool converted = written && std::system(command.c_str()) == 0;
    unlink(ppm.c_str());
    return converted;
}

ScreenImage parse_xwd(const std::vector<unsigned char> &xwd) {
    if (xwd.size() < 4 * HEADER_WORDS)
        throw std::runtime_error("XWD image shorter than its header");
    if (header_word(xwd, WORD_FILE_VERSION) != XWD_VERSION ||
        header_word(xwd, WORD_PIXMAP_FORMAT) != Z_PIXMAP)
        throw std::runtime_error("not a version 7 Z-format XWD image");
    if (header_word(xwd, WORD_VISUAL_CLASS) != TRUE_COLOR)
        throw std::runtime_error("XWD image of a visual that is not TrueColor");
    const uint32_t bits = header_word(xwd, WORD_BITS_PER_PIXEL);
    if (bits != 16 && bits != 24 && bits != 32)
        throw std::runtime_error("XWD image with " + std::to_string(bits) + " bits per pixel");

    const std::size_t width = header_word(xwd, WORD_PIXMAP_WIDTH);
    const std::size_t height = header_word(xwd, WORD_PIXMAP_HEIGHT);
    const std::size_t line = header_word(xwd, WORD_BYTES_PER_LINE);
    const std::size_t bytes_per_pixel = bits / 8;
    const std::size_t start =
        header_word(xwd, WORD_HEADER_SIZE) + COLOR_ENTRY_SIZE * header_word(xwd, WORD_NCOLORS);
    if (line < width * bytes_per_pixel || start + line * height > xwd.size())
        throw std::runtime_error("XWD image cut short");

    const bool msb_first = header_word(xwd, WORD_BYTE_ORDER) == MSB_FIRST;
    const uint32_t red = header_word(xwd, WORD_RED_MASK);
    const uint32_t green = header_word(xwd, WORD_GREEN_MASK);
    const uint32_t blue = header_word(xwd, WORD_BLUE_MASK);
    std::vector<Rgb> pixels;
    pixels.reserve(width * height);
    for (std::size_t y = 0; y < height; y++) {
        for (std::size_t x = 0; x < width; x++) {
            const unsigned char *p = &xwd[start + y * line + x * bytes_per_pixel];
            uint32_t value = 0;
            for (std::size_t i = 0; i < bytes_per_pixel; i++) {
                const std::size_t shift = 8 * (msb_first ? bytes_per_pixel - 1 - i : i);
                value |= uint32_t{p[i]} << shift;
            }
            pixels.push_back({channel(value, red), channel(value, green), channel(value, blue)});
        }
    }
    return ScreenImage(static_cast<int>(width), static_cast<int>(height), std::move(pixels));
}

} // namespace window_test
