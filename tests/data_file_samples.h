// Data files made in memory for the tests of the data checks: sound pictures,
// sounds, music and patches to edit, and the damaged files every test level
// uses - the unit tests of the checks and the loader, the window test and the
// fuzz target's seeds. Header only, no library calls.
#pragma once

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

namespace samples {

using Bytes = std::vector<unsigned char>;

inline void put16le(Bytes &b, size_t at, uint32_t v) {
    b[at] = v & 0xFF;
    b[at + 1] = v >> 8 & 0xFF;
}
inline void put32le(Bytes &b, size_t at, uint32_t v) {
    put16le(b, at, v & 0xFFFF);
    put16le(b, at + 2, v >> 16);
}
inline void put16be(Bytes &b, size_t at, uint32_t v) {
    b[at] = v >> 8 & 0xFF;
    b[at + 1] = v & 0xFF;
}
inline void put32be(Bytes &b, size_t at, uint32_t v) {
    put16be(b, at, v >> 16);
    put16be(b, at + 2, v & 0xFFFF);
}
inline void append(Bytes &b, std::initializer_list<unsigned> bytes) {
    for (unsigned byte : bytes)
        b.push_back(static_cast<unsigned char>(byte));
}
inline void append_text(Bytes &b, const char *text) {
    b.insert(b.end(), text, text + std::strlen(text));
}
inline Bytes random_bytes(size_t size, unsigned seed) {
    std::mt19937 random(seed);
    Bytes b(size);
    for (unsigned char &byte : b)
        byte = static_cast<unsigned char>(random());
    return b;
}

// Offsets of the fields the cases edit.
constexpr size_t BMP_PIXEL_OFFSET = 10, BMP_WIDTH = 18, BMP_HEIGHT = 22, BMP_BITS = 28,
                 BMP_COMPRESSION = 30, BMP_HEADER_END = 54;
constexpr size_t WAV_CHANNELS = 22, WAV_RATE = 24, WAV_BITS = 34, WAV_DATA_LENGTH = 40;
constexpr size_t MIDI_FORMAT = 8, MIDI_TRACK_COUNT = 10, MIDI_DIVISION = 12, MIDI_TRACK_LENGTH = 18,
                 MIDI_EVENTS = 22;
constexpr size_t PATCH_WAVES = 198, PATCH_HEADER_END = 239, WAVE_LENGTH = 8, WAVE_LOOP_START = 12,
                 WAVE_LOOP_END = 16, WAVE_RATE = 20, WAVE_ROOT = 30, WAVE_PAN = 36,
                 WAVE_SCALE_NOTE = 56, WAVE_SCALE_FACTOR = 58, WAVE_HEADER = 96;

// An uncompressed Windows BMP with a greyscale palette for 1 to 8 bits.
inline Bytes bmp(uint32_t width, uint32_t height, uint32_t bits = 8) {
    const uint32_t palette = bits <= 8 ? 4u << bits : 0;
    const uint32_t row = (bits * width + 31) / 32 * 4;
    const uint32_t offset = BMP_HEADER_END + palette;
    Bytes b(offset + row * height);
    b[0] = 'B';
    b[1] = 'M';
    put32le(b, 2, static_cast<uint32_t>(b.size()));
    put32le(b, BMP_PIXEL_OFFSET, offset);
    put32le(b, 14, 40);
    put32le(b, BMP_WIDTH, width);
    put32le(b, BMP_HEIGHT, height);
    put16le(b, 26, 1);
    put16le(b, BMP_BITS, bits);
    for (uint32_t i = 0; i < palette / 4; i++)
        b[BMP_HEADER_END + 4 * i] = b[BMP_HEADER_END + 4 * i + 1] = b[BMP_HEADER_END + 4 * i + 2] =
            static_cast<unsigned char>(i);
    for (size_t i = offset; i < b.size(); i++)
        b[i] = static_cast<unsigned char>(i * 7);
    return b;
}

// An 8-bit BMP whose pixels are the given RLE8 stream.
inline Bytes rle8(uint32_t width, uint32_t height, std::initializer_list<unsigned> stream) {
    Bytes b = bmp(width, 1);
    b.resize(BMP_HEADER_END + 1024);
    put32le(b, BMP_HEIGHT, height);
    put32le(b, BMP_COMPRESSION, 1);
    append(b, stream);
    return b;
}

// A 4-bit BMP whose pixels are the given RLE4 stream.
inline Bytes rle4(uint32_t width, uint32_t height, std::initializer_list<unsigned> stream) {
    Bytes b = bmp(width, 1, 4);
    b.resize(BMP_HEADER_END + 64);
    put32le(b, BMP_HEIGHT, height);
    put32le(b, BMP_COMPRESSION, 2);
    append(b, stream);
    return b;
}

// A PCM WAV of a short rising tone.
inline Bytes wav(uint32_t channels = 1, uint32_t bits = 16, uint32_t rate = 22050,
                 uint32_t frames = 64) {
    Bytes b;
    append_text(b, "RIFF");
    append(b, {0, 0, 0, 0});
    append_text(b, "WAVEfmt ");
    append(b, {16, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    put16le(b, WAV_CHANNELS, channels);
    put32le(b, WAV_RATE, rate);
    put32le(b, 28, rate * channels * bits / 8);
    put16le(b, 32, channels * bits / 8);
    put16le(b, WAV_BITS, bits);
    append_text(b, "data");
    const uint32_t length = frames * channels * bits / 8;
    append(b, {0, 0, 0, 0});
    put32le(b, WAV_DATA_LENGTH, length);
    for (uint32_t i = 0; i < length; i++)
        b.push_back(static_cast<unsigned char>(i * 5));
    put32le(b, 4, static_cast<uint32_t>(b.size() - 8));
    return b;
}

// A format 0 MIDI file of one track holding `events` (delta times included),
// then End of Track.
inline Bytes midi(std::initializer_list<unsigned> events, uint32_t division = 96) {
    Bytes b;
    append_text(b, "MThd");
    append(b, {0, 0, 0, 6, 0, 0, 0, 1, 0, 0});
    put16be(b, MIDI_DIVISION, division);
    append_text(b, "MTrk");
    append(b, {0, 0, 0, 0});
    append(b, events);
    append(b, {0, 0xFF, 0x2F, 0});
    put32be(b, MIDI_TRACK_LENGTH, static_cast<uint32_t>(b.size() - MIDI_EVENTS));
    return b;
}

// A tune that plays: a program change, then two notes a beat long.
inline Bytes tune() {
    return midi(
        {0, 0xC0, 0, 0, 0x90, 60, 100, 0x60, 0x80, 60, 0, 0, 0x99, 36, 100, 0x60, 0x89, 36, 0});
}

// The offset of wave `i` of a patch made by patch().
inline size_t wave_at(size_t i, uint32_t length = 64) {
    return PATCH_HEADER_END + i * (WAVE_HEADER + length);
}

// A GUS patch of `waves` 8-bit looped waves of `length` samples.
inline Bytes patch(uint32_t waves = 1, uint32_t length = 64) {
    Bytes b(PATCH_HEADER_END);
    std::memcpy(b.data(), "GF1PATCH110\0ID#000002", 22);
    b[PATCH_WAVES] = static_cast<unsigned char>(waves);
    for (uint32_t i = 0; i < waves; i++) {
        const size_t at = b.size();
        b.resize(at + WAVE_HEADER + length);
        put32le(b, at + WAVE_LENGTH, length);
        put32le(b, at + WAVE_LOOP_START, 0);
        put32le(b, at + WAVE_LOOP_END, length);
        put16le(b, at + WAVE_RATE, 22050);
        put32le(b, at + 22, 8176);     // lowest note, mHz
        put32le(b, at + 26, 12543854); // highest note
        put32le(b, at + WAVE_ROOT, 261626);
        b[at + WAVE_PAN] = 7;
        b[at + 55] = 4; // 8-bit, signed, looped
        put16le(b, at + WAVE_SCALE_FACTOR, 1024);
        for (uint32_t s = 0; s < length; s++)
            b[at + WAVE_HEADER + s] = static_cast<unsigned char>(s * 9);
    }
    return b;
}

template <class Edit> Bytes edited(Bytes b, Edit edit) {
    edit(b);
    return b;
}

inline Bytes truncated(Bytes b, size_t size) {
    b.resize(size);
    return b;
}

// A damaged data file the game is handed: which of its files it replaces.
struct Damaged {
    const char *name;
    const char *file;
    Bytes bytes;
};

// One or two damaged files of each fault the library's loaders have. The
// pictures, the music and the patches crashed or froze the game before the
// checks; the sounds did not (the library refuses the one past its end, and
// loads one of rate 0 against its own assertion into a voice that never
// moves), but are not loaded either.
inline std::vector<Damaged> damaged_files() {
    const auto sized = [](uint32_t w, uint32_t h) {
        return edited(bmp(32, 32), [&](Bytes &b) {
            put32le(b, BMP_WIDTH, w);
            put32le(b, BMP_HEIGHT, h);
        });
    };
    return {
        {"HugeGameOverPicture", "lost.dat", sized(65536, 65537)},
        {"HugeBackground", "back0.dat", sized(65536, 65537)},
        {"LargestPointer", "mouse.dat", sized(0x7FFFFFFF, 0x7FFFFFFF)},
        {"GameOverPictureOfHeightIntMin", "lost.dat", sized(32, 0x80000000)},
        {"PlayerFrameOfRandomRuns", "player0.dat",
         edited(rle8(32, 32, {}),
                [](Bytes &b) {
                    const Bytes noise = random_bytes(1024, 7);
                    b.insert(b.end(), noise.begin(), noise.end());
                })},
        {"BackgroundRunsPastItsLines", "back1.dat", rle8(640, 480, {255, 1, 255, 1, 255, 1, 0, 1})},
        {"MusicOfTimeDivisionZero", "town.dat", midi({0, 0x90, 60, 100, 0x60, 0x80, 60, 0}, 0)},
        {"MusicWithoutEndOfTrack", "town.dat",
         edited(tune(),
                [](Bytes &b) {
                    b.resize(b.size() - 4);
                    put32be(b, MIDI_TRACK_LENGTH, static_cast<uint32_t>(b.size() - MIDI_EVENTS));
                })},
        {"MusicOfNoLength", "town.dat", midi({})},
        {"BassPatchOfRandomBytes", "acbass.pat",
         edited(patch(),
                [](Bytes &b) {
                    const Bytes noise = random_bytes(b.size() - 22, 11);
                    std::copy(noise.begin(), noise.end(), b.begin() + 22);
                })},
        {"PianoPatchWaveLongerThanTheFile", "piano.pat",
         edited(patch(), [](Bytes &b) { put32le(b, wave_at(0) + WAVE_LENGTH, 0xFFFFFFF0); })},
        {"PatchIndexDrumsOutsideTheTable", "default.cfg",
         [] {
             Bytes b;
             append_text(b, "1 piano\n13 marimba\n33 acbass\n\n"
                            "1000 begin_multipatch\n36 kick\n38 snare\n42 hihat\nend_multipatch\n");
             return b;
         }()},
        {"SoundOfRateZero", "eat.wav", edited(wav(), [](Bytes &b) { put32le(b, WAV_RATE, 0); })},
        {"SoundLongerThanTheFile", "tada.wav",
         edited(wav(), [](Bytes &b) { put32le(b, WAV_DATA_LENGTH, 0x7FFFFFF0); })},
    };
}

} // namespace samples
