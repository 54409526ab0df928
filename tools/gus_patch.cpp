// The GUS patch writer of make_assets; see gus_patch.h. The layout is the GF1 patch
// format, version 1.10: a 129-byte file header, a 63-byte instrument header, a 47-byte
// layer header, then for each wave a 96-byte header followed by its samples. All
// numbers are little-endian; frequencies are in thousandths of a hertz.
#include "gus_patch.h"

#include "byte_io.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <stdexcept>

namespace {

constexpr std::uint8_t mode_16_bit = 0x01;
constexpr std::uint8_t mode_looping = 0x04;
constexpr std::uint8_t mode_sustain = 0x20;
constexpr std::uint8_t mode_envelope = 0x40;

void put_text(std::vector<std::uint8_t> &out, const std::string &text, std::size_t field) {
    for (std::size_t i = 0; i < field; ++i) {
        out.push_back(i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0);
    }
    if (text.size() >= field) {
        out.back() = 0;
    }
}

void put_zeros(std::vector<std::uint8_t> &out, std::size_t count) {
    out.insert(out.end(), count, 0);
}

std::uint32_t milli_hz(double hz) {
    return static_cast<std::uint32_t>(std::lround(hz * 1000.0));
}

void check(const GusWave &wave) {
    if (wave.samples.empty() ||
        wave.samples.size() * 2 > std::numeric_limits<std::uint32_t>::max()) {
        throw std::invalid_argument("a patch wave must hold samples");
    }
    if (wave.sample_rate <= 0 || wave.sample_rate > 0xFFFF) {
        throw std::invalid_argument("a patch wave's sample rate must fit in 16 bits");
    }
    if (wave.looping &&
        !(wave.loop_start < wave.loop_end && wave.loop_end <= wave.samples.size())) {
        throw std::invalid_argument("a patch wave's loop must lie inside it");
    }
    if (!(wave.low_hz <= wave.root_hz && wave.root_hz <= wave.high_hz) || wave.low_hz <= 0) {
        throw std::invalid_argument("a patch wave's root must lie in its key range");
    }
}

void put_wave(std::vector<std::uint8_t> &out, const GusWave &wave, int index) {
    check(wave);
    put_text(out, "w" + std::to_string(index), 7);
    out.push_back(0); // loop fractions: loops start and end on whole samples
    put_le32(out, static_cast<std::uint32_t>(wave.samples.size() * 2));
    put_le32(out, static_cast<std::uint32_t>(wave.loop_start * 2));
    put_le32(out,
             static_cast<std::uint32_t>((wave.looping ? wave.loop_end : wave.samples.size()) * 2));
    put_le16(out, static_cast<std::uint32_t>(wave.sample_rate));
    put_le32(out, milli_hz(wave.low_hz));
    put_le32(out, milli_hz(wave.high_hz));
    put_le32(out, milli_hz(wave.root_hz));
    put_le16(out, 0); // tune
    out.push_back(static_cast<std::uint8_t>(wave.balance));
    out.insert(out.end(), wave.volume.rates.begin(), wave.volume.rates.end());
    out.insert(out.end(), wave.volume.levels.begin(), wave.volume.levels.end());
    put_zeros(out, 6); // no tremolo, no vibrato
    std::uint8_t modes = mode_16_bit;
    if (wave.looping) {
        modes |= mode_looping;
    }
    if (wave.sustain) {
        modes |= mode_sustain;
    }
    if (wave.envelope) {
        modes |= mode_envelope;
    }
    out.push_back(modes);
    put_le16(out, static_cast<std::uint32_t>(wave.scale_key));
    put_le16(out, static_cast<std::uint32_t>(wave.scale_factor));
    put_zeros(out, 36);
    for (std::int16_t sample : wave.samples) {
        put_le16(out, static_cast<std::uint16_t>(sample));
    }
}

// The rate byte that sweeps the whole level range in about `seconds`: the slowest range
// whose increment still fits six bits keeps the most precision.
std::uint8_t sweep_rate(double seconds) {
    constexpr double slowest_sweep_s = 3.5;
    double increment = slowest_sweep_s / std::max(seconds, 1e-4);
    int range = 3;
    while (increment > 63.5 && range > 0) {
        increment /= 8;
        --range;
    }
    const long whole = std::clamp(std::lround(increment), 1L, 63L);
    return static_cast<std::uint8_t>(range << 6 | whole);
}

} // namespace

GusEnvelope gus_envelope(const std::array<GusStage, 6> &stages) {
    GusEnvelope envelope;
    int level = 0;
    for (std::size_t i = 0; i < stages.size(); ++i) {
        const GusStage &stage = stages[i];
        if (stage.level < 0 || stage.level > 255) {
            throw std::invalid_argument("an envelope level lies in 0..255");
        }
        // A stage that moves by a part of the range moves at the rate of a whole sweep
        // that much longer.
        const int distance = std::max(std::abs(stage.level - level), 1);
        envelope.rates[i] = sweep_rate(stage.seconds * 255.0 / distance);
        envelope.levels[i] = static_cast<std::uint8_t>(stage.level);
        level = stage.level;
    }
    return envelope;
}

std::vector<std::uint8_t> encode_gus_patch(const GusPatch &patch) {
    if (patch.waves.empty() || patch.waves.size() > 255) {
        throw std::invalid_argument("a patch holds 1 to 255 waves");
    }
    std::vector<std::uint8_t> waves;
    for (std::size_t i = 0; i < patch.waves.size(); ++i) {
        put_wave(waves, patch.waves[i], static_cast<int>(i));
    }
    const auto data_size = static_cast<std::uint32_t>(waves.size());

    std::vector<std::uint8_t> out;
    // Two strings, both with their terminating zero: the format and the maker's id.
    const char magic[] = "GF1PATCH110\0ID#000002";
    for (char c : magic) {
        out.push_back(static_cast<std::uint8_t>(c));
    }
    put_text(out, patch.description, 60);
    out.push_back(1);  // instruments
    out.push_back(14); // voices the patch was made for
    out.push_back(0);  // channels
    put_le16(out, static_cast<std::uint32_t>(patch.waves.size()));
    put_le16(out, 127); // master volume
    put_le32(out, data_size);
    put_zeros(out, 36);

    put_le16(out, 0); // instrument number
    put_text(out, patch.name, 16);
    put_le32(out, data_size);
    out.push_back(1); // layers
    put_zeros(out, 40);

    out.push_back(0); // layer duplicate
    out.push_back(0); // layer number
    put_le32(out, data_size);
    out.push_back(static_cast<std::uint8_t>(patch.waves.size()));
    put_zeros(out, 40);

    out.insert(out.end(), waves.begin(), waves.end());
    return out;
}

void write_gus_patch(const std::string &path, const GusPatch &patch) {
    write_file(path, encode_gus_patch(patch));
}
