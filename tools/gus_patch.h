// Writes Gravis UltraSound patch files (.pat), the instrument format that the library's
// software MIDI synthesiser plays the music with. One instrument of one layer per file,
// holding one or more 16-bit waves, each covering a range of keys. Called by the patch
// set builder of make_assets.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The volume envelope of a wave: six stages, each ramping the volume linearly to its
// level (0..255) at its rate. A sustaining wave runs the first three when its key goes
// down and holds the third's level; the last three run when the key is let go. A wave
// that does not sustain runs all six at once.
struct GusEnvelope {
    std::array<std::uint8_t, 6> rates{};
    std::array<std::uint8_t, 6> levels{};
};

// One stage as the synthesiser should play it: the level to reach and how long to take.
struct GusStage {
    int level;
    double seconds;
};

// The envelope going through `stages` from silence. A rate byte holds two bits of range
// and six of increment; the library's synthesiser sweeps the whole level range in
// 3.5 s / increment / 8^(3 - range), so a stage's time is only met to a few per cent,
// and no stage can be slower than 3.5 s for the whole range.
GusEnvelope gus_envelope(const std::array<GusStage, 6> &stages);

struct GusWave {
    std::vector<std::int16_t> samples;
    int sample_rate = 0;
    // The keys this wave plays, and the pitch it sounds at when played at its own rate.
    double low_hz = 0, high_hz = 0, root_hz = 0;
    // A loop over samples [loop_start, loop_end), played while the note lasts.
    bool looping = false;
    std::size_t loop_start = 0, loop_end = 0;
    bool sustain = false; // hold the envelope at stage 3 until the key is let go
    bool envelope = false;
    GusEnvelope volume;
    int balance = 7; // 0 left .. 15 right
    // Whether and how the pitch follows the key: 1024 is one semitone a key, 0 fixed.
    int scale_key = 60;
    int scale_factor = 1024;
};

struct GusPatch {
    std::string description; // up to 60 characters, shown by patch editors
    std::string name;        // up to 16 characters
    std::vector<GusWave> waves;
};

// The bytes of the .pat file; throws std::invalid_argument for a wave the format cannot
// hold (too long, a loop outside it, a rate beyond 16 bits).
std::vector<std::uint8_t> encode_gus_patch(const GusPatch &patch);

// Throws std::runtime_error if the file cannot be written.
void write_gus_patch(const std::string &path, const GusPatch &patch);
