// The generator's only source of randomness: a fixed-seed xorshift, so every run writes
// byte-identical files. Used by the texture, sprite and sound code of make_assets.
#pragma once

#include <cstdint>

class Xorshift {
  public:
    explicit Xorshift(std::uint32_t seed) : state_(seed != 0 ? seed : 0x9E3779B9u) {}

    std::uint32_t next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }

    // Uniform in [0, 1).
    float unit() { return static_cast<float>(next() >> 8) / 16777216.0f; }

    // Uniform in [-1, 1).
    float signed_unit() { return unit() * 2.0f - 1.0f; }

    // Uniform integer in [0, bound).
    int below(int bound) { return static_cast<int>(next() % static_cast<std::uint32_t>(bound)); }

  private:
    std::uint32_t state_;
};
