// A screenshot of the game's window as plain RGB pixels, read from the XWD
// format that xwd writes. The window harness makes them; the window tests
// read pixels from them in window coordinates.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace window_test {

struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;

    bool operator==(const Rgb &o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb &o) const { return !(*this == o); }
    // Every channel within `tolerance` of the other colour's.
    bool near(const Rgb &o, int tolerance) const;
};

std::string to_string(const Rgb &c);

class ScreenImage {
  public:
    ScreenImage() = default;
    ScreenImage(int width, int height, std::vector<Rgb> pixels);

    int width() const { return width_; }
    int height() const { return height_; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    // Throws std::out_of_range outside the picture.
    Rgb at(int x, int y) const;

    // Writes the picture as a PNG through ImageMagick's convert, for a person
    // to look at; false if that did not work.
    bool save_png(const std::string &path) const;

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<Rgb> pixels_;
};

// Reads an XWD file of a true-colour window (Z format, 16, 24 or 32 bits per
// pixel, either byte order). Throws std::runtime_error on anything else.
ScreenImage parse_xwd(const std::vector<unsigned char> &xwd);

} // namespace window_test
