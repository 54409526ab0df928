// Smooth, repeatable 2-D value noise for the ground textures of the backgrounds: random
// values on a square lattice, blended with a smoothstep. Seeded, so make_assets always
// draws the same ground.
#pragma once

#include "xorshift.h"

#include <algorithm>
#include <vector>

class ValueNoise {
  public:
    // cell: lattice spacing in pixels; covers width x height pixels.
    ValueNoise(std::uint32_t seed, float cell, int width, int height)
        : cell_(cell), columns_(static_cast<int>(static_cast<float>(width) / cell) + 2),
          rows_(static_cast<int>(static_cast<float>(height) / cell) + 2) {
        Xorshift random(seed);
        lattice_.resize(static_cast<std::size_t>(columns_ * rows_));
        for (float &value : lattice_) {
            value = random.signed_unit();
        }
    }

    // About -1 .. 1.
    float at(float x, float y) const {
        const float gx = x / cell_, gy = y / cell_;
        const int ix = static_cast<int>(gx), iy = static_cast<int>(gy);
        const float fx = smooth(gx - static_cast<float>(ix)),
                    fy = smooth(gy - static_cast<float>(iy));
        const float top = mix(corner(ix, iy), corner(ix + 1, iy), fx);
        const float bottom = mix(corner(ix, iy + 1), corner(ix + 1, iy + 1), fx);
        return mix(top, bottom, fy);
    }

  private:
    static float smooth(float t) { return t * t * (3.0f - 2.0f * t); }
    static float mix(float a, float b, float t) { return a + (b - a) * t; }
    float corner(int x, int y) const {
        x = std::min(std::max(x, 0), columns_ - 1);
        y = std::min(std::max(y, 0), rows_ - 1);
        return lattice_[static_cast<std::size_t>(y * columns_ + x)];
    }

    float cell_;
    int columns_;
    int rows_;
    std::vector<float> lattice_;
};
