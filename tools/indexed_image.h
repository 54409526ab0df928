// An 8-bit picture whose pixels are indices into the game palette. Every picture that
// make_assets draws lives in one of these before the BMP writer stores it; the contact
// sheet reads them back the same way.
#pragma once

#include <cstdint>
#include <vector>

class IndexedImage {
  public:
    IndexedImage(int width, int height, std::uint8_t fill)
        : width_(width), height_(height),
          pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill) {}

    int width() const { return width_; }
    int height() const { return height_; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    std::uint8_t at(int x, int y) const { return pixels_[offset(x, y)]; }

    // Drawing code paints shapes that may reach past the edge; those pixels are dropped.
    void set(int x, int y, std::uint8_t index) {
        if (contains(x, y)) {
            pixels_[offset(x, y)] = index;
        }
    }

    void fill_rect(int left, int top, int right, int bottom, std::uint8_t index) {
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                set(x, y, index);
            }
        }
    }

  private:
    std::size_t offset(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
               static_cast<std::size_t>(x);
    }

    int width_;
    int height_;
    std::vector<std::uint8_t> pixels_;
};
