// The data checks on tables of headers, sound and damaged, one field changed
// at a time from a file the library reads well; the game's own data files
// must all pass. No library needed: the checks only look at bytes.
#include "../data_file_samples.h"
#include "../headless.h"

#include "shell/files/data_checks.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

using namespace samples;

namespace {

struct Case {
    const char *name;
    Bytes bytes;
    bool usable;
};

void expect_cases(bool (*check)(const Bytes &), const std::vector<Case> &cases) {
    for (const Case &c : cases)
        EXPECT_EQ(check(c.bytes), c.usable) << c.name;
}

Bytes read_file(const std::filesystem::path &path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

Bytes with32le(Bytes b, size_t at, uint32_t v) {
    put32le(b, at, v);
    return b;
}
Bytes with16le(Bytes b, size_t at, uint32_t v) {
    put16le(b, at, v);
    return b;
}
Bytes with16be(Bytes b, size_t at, uint32_t v) {
    put16be(b, at, v);
    return b;
}
Bytes with_byte(Bytes b, size_t at, unsigned v) {
    b[at] = static_cast<unsigned char>(v);
    return b;
}

TEST(DataChecks, TheGamesOwnFilesPass) {
    int checked = 0;
    for (const auto &entry : std::filesystem::directory_iterator(data_dir())) {
        const std::string name = entry.path().filename();
        const std::string extension = entry.path().extension();
        if (name.rfind("save.dat", 0) == 0)
            continue; // a player's, from `make run`
        const Bytes bytes = read_file(entry.path());
        if (name == "town.dat")
            EXPECT_TRUE(music_is_usable(bytes));
        else if (extension == ".dat")
            EXPECT_TRUE(picture_is_usable(bytes)) << name;
        else if (extension == ".wav")
            EXPECT_TRUE(sound_is_usable(bytes)) << name;
        else if (extension == ".pat")
            EXPECT_TRUE(patch_is_usable(bytes)) << name;
        else
            continue;
        checked++;
    }
    EXPECT_EQ(checked, 33);
}

TEST(DataChecks, Pictures) {
    const Bytes os2 = [] {
        Bytes b = bmp(4, 4, 8);
        b.erase(b.begin() + 26, b.begin() + BMP_HEADER_END);
        put32le(b, 14, 12);
        put16le(b, 18, 4);
        put16le(b, 20, 4);
        put16le(b, 22, 1);
        put16le(b, 24, 8);
        put32le(b, BMP_PIXEL_OFFSET, 26 + 1024);
        return b;
    }();
    expect_cases(
        picture_is_usable,
        {
            {"8 bits", bmp(32, 32), true},
            {"24 bits", bmp(5, 3, 24), true},
            {"OS/2 header", os2, true},
            {"the largest side", bmp(4096, 1), true},
            {"65536 x 65537", with32le(with32le(bmp(4, 4), BMP_WIDTH, 65536), BMP_HEIGHT, 65537),
             false},
            {"INT_MAX x INT_MAX",
             with32le(with32le(bmp(4, 4), BMP_WIDTH, 0x7FFFFFFF), BMP_HEIGHT, 0x7FFFFFFF), false},
            {"height INT_MIN", with32le(bmp(4, 4), BMP_HEIGHT, 0x80000000), false},
            {"top-down, read unsigned", with32le(bmp(4, 4), BMP_HEIGHT, -4), false},
            {"width 0", with32le(bmp(4, 4), BMP_WIDTH, 0), false},
            {"width 4097", with32le(bmp(4097, 1), BMP_WIDTH, 4097), false},
            {"a pixel short", truncated(bmp(32, 32), 2101), false},
            {"pixel offset past the end", with32le(bmp(4, 4), BMP_PIXEL_OFFSET, 5000), false},
            {"2 bits a pixel", with16le(bmp(4, 4), BMP_BITS, 2), false},
            {"not BM", with_byte(bmp(4, 4), 0, 'X'), false},
            {"empty", {}, false},
            {"RLE8", rle8(4, 2, {4, 9, 0, 0, 1, 1, 0, 3, 5, 6, 7, 0, 0, 1}), true},
            {"RLE8 delta within", rle8(4, 2, {0, 2, 1, 1, 3, 1, 0, 1}), true},
            {"RLE8 run past the line", rle8(4, 2, {5, 9, 0, 1}), false},
            {"RLE8 literal past the line", rle8(4, 2, {0, 5, 1, 2, 3, 4, 5, 0, 0, 1}), false},
            {"RLE8 delta below the bottom", rle8(4, 2, {0, 2, 0, 2, 1, 9, 0, 1}), false},
            {"RLE8 without its end", rle8(4, 2, {4, 9}), false},
            {"RLE4", rle4(6, 2, {6, 0x12, 0, 0, 0, 4, 0x12, 0x34, 0, 1}), true},
            {"RLE4 literal past the line", rle4(3, 1, {0, 4, 0x12, 0x34, 0, 1}), false},
        });
}

TEST(DataChecks, Sounds) {
    const Bytes extra_chunk = [] {
        Bytes b = wav();
        Bytes list;
        append_text(list, "LIST");
        append(list, {3, 0, 0, 0, 1, 2, 3});
        b.insert(b.begin() + 12, list.begin(), list.end());
        return b;
    }();
    const Bytes two_data = [] {
        Bytes b = wav(1, 8, 22050, 4);
        append_text(b, "data");
        append(b, {2, 0, 0, 0, 1, 2});
        return b;
    }();
    const Bytes data_first = [] {
        Bytes b = wav(1, 8, 22050, 4);
        Bytes format(b.begin() + 12, b.begin() + 36);
        b.erase(b.begin() + 12, b.begin() + 36);
        b.insert(b.end(), format.begin(), format.end());
        return b;
    }();
    Bytes trailing = wav();
    append(trailing, {0, 0, 0});
    Bytes half_header = wav();
    append(half_header, {'d', 'a', 't', 'a', 0});
    expect_cases(sound_is_usable,
                 {
                     {"16-bit mono", wav(), true},
                     {"8-bit stereo", wav(2, 8), true},
                     {"a chunk of odd length before the data", extra_chunk, true},
                     {"three bytes after the last chunk", trailing, true},
                     {"no channels", with16le(wav(), WAV_CHANNELS, 0), false},
                     {"rate 0", with32le(wav(), WAV_RATE, 0), false},
                     {"the highest rate", with32le(wav(), WAV_RATE, 524287), true},
                     {"a rate the mixer overflows on", with32le(wav(), WAV_RATE, 524288), false},
                     {"floating point", with16le(wav(), 20, 3), false},
                     {"data past the end", with32le(wav(), WAV_DATA_LENGTH, 130), false},
                     {"data of 2 GB", with32le(wav(), WAV_DATA_LENGTH, 0x80000000), false},
                     {"no data", with32le(wav(), WAV_DATA_LENGTH, 0), false},
                     {"half a frame", truncated(with32le(wav(), WAV_DATA_LENGTH, 127), 171), false},
                     {"two data chunks", two_data, false},
                     {"data before its format", data_first, false},
                     {"a chunk header cut short", half_header, false},
                     {"no data chunk", truncated(wav(), 36), false},
                 });
}

TEST(DataChecks, Music) {
    const Bytes two_tracks = [] {
        Bytes b = tune();
        put16be(b, MIDI_FORMAT, 1);
        put16be(b, MIDI_TRACK_COUNT, 2);
        const Bytes track(b.begin() + 14, b.end());
        b.insert(b.end(), track.begin(), track.end());
        return b;
    }();
    Bytes after_end = tune();
    append(after_end, {0, 0xC0, 0x90});
    put32be(after_end, MIDI_TRACK_LENGTH, static_cast<uint32_t>(after_end.size() - MIDI_EVENTS));
    expect_cases(
        music_is_usable,
        {
            {"a tune", tune(), true},
            {"two tracks", two_tracks, true},
            {"running status, sysex and metas",
             midi({0,    0x90, 60,   100,  10, 62, 100,  0,    0xF0, 2,  1,
                   0xF7, 0,    0xFF, 0x51, 3,  7,  0xA1, 0x20, 10,   60, 0}),
             true},
            {"a first delta over 127 the scan gets past", midi({0x81, 0, 0x80, 60, 0}), true},
            {"time division 0", with16be(tune(), MIDI_DIVISION, 0), false},
            {"no tracks", with16be(tune(), MIDI_TRACK_COUNT, 0), false},
            {"33 tracks", with16be(tune(), MIDI_TRACK_COUNT, 33), false},
            {"track past the end", with_byte(tune(), MIDI_TRACK_LENGTH + 3, 200), false},
            {"no End of Track", truncated(with_byte(tune(), MIDI_TRACK_LENGTH + 3, 19), 41), false},
            {"events after End of Track", after_end, false},
            {"a note over 127", midi({0, 0x90, 200, 100, 0x60, 0x80, 60, 0}), false},
            {"running status with no status", midi({0, 60, 100, 0x60}), false},
            {"a tempo of two bytes", midi({0, 0xFF, 0x51, 2, 7, 0xA1, 0x60, 0x80, 60, 0}), false},
            {"a delta of five bytes", midi({0x81, 0x81, 0x81, 0x81, 0, 0x80, 60, 0}), false},
            {"sysex past the end", midi({0, 0xF0, 100, 1}), false},
            {"a system message", midi({0, 0xF1, 0x60, 0x80, 60, 0}), false},
            {"a song of no length", midi({0, 0x90, 60, 100}), false},
            {"RMID wrapper", with_byte(tune(), 0, 'R'), false},
        });
}

TEST(DataChecks, MusicWhoseFirstDeltaTheInstrumentScanReadsAsAnEvent) {
    // The scan takes the first delta 0x81 for a note off with two data bytes,
    // and comes out of step: it reads the next delta's 0xC1 as a program
    // change, of program 0x81. Only the first delta's length moves it.
    const Bytes out_of_step = midi({0x81, 0, 0xC0, 5, 0xC1, 0x81, 0, 0x90, 60, 64});
    const Bytes in_step = midi({0x10, 0xC0, 5, 0xC1, 0x81, 0, 0x90, 60, 64});
    EXPECT_FALSE(music_is_usable(out_of_step));
    EXPECT_TRUE(music_is_usable(in_step));
}

TEST(DataChecks, Patches) {
    const Bytes noise = [] {
        Bytes b = patch();
        const Bytes random = random_bytes(b.size() - 22, 11);
        std::copy(random.begin(), random.end(), b.begin() + 22);
        return b;
    }();
    const size_t wave = wave_at(0);
    expect_cases(
        patch_is_usable,
        {
            {"one wave", patch(), true},
            {"no waves", patch(0), true},
            {"more than 64 waves, of which the library reads 64",
             with_byte(patch(64, 2), PATCH_WAVES, 65), true},
            {"random bytes after its name", noise, false},
            {"a wave past the end", with32le(patch(), wave + WAVE_LENGTH, 65), false},
            {"a wave of 4 GB", with32le(patch(), wave + WAVE_LENGTH, 0xFFFFFFF0), false},
            {"a wave cut short", truncated(patch(2), wave_at(1) + 50), false},
            {"loop end past the wave", with32le(patch(), wave + WAVE_LOOP_END, 65), false},
            {"loop points the mixer ignores",
             with32le(with32le(patch(), wave + WAVE_LOOP_START, 900), wave + WAVE_LOOP_END, 800),
             true},
            {"rate 0", with16le(patch(), wave + WAVE_RATE, 0), false},
            {"root 0", with32le(patch(), wave + WAVE_ROOT, 0), false},
            {"pan 16", with_byte(patch(), wave + WAVE_PAN, 16), false},
            {"a rate that sends the lowest note below 1 Hz",
             with16le(patch(), wave + WAVE_RATE, 32), false},
            {"the lowest rate that does not", with16le(patch(), wave + WAVE_RATE, 33), true},
            {"a drum's pitch fixed by scale factor 0 at its note",
             with16le(with16le(patch(), wave + WAVE_SCALE_FACTOR, 0), wave + WAVE_SCALE_NOTE, 42),
             true},
            {"a pitch fixed at scale note 0, 0 Hz", with16le(patch(), wave + WAVE_SCALE_FACTOR, 0),
             false},
            {"scaled from a pivot above the lowest note",
             with16le(with16le(patch(), wave + WAVE_SCALE_FACTOR, 2048), wave + WAVE_SCALE_NOTE,
                      60),
             false},
        });
}

TEST(DataChecks, PatchIndex) {
    const std::string shipped = [] {
        const Bytes b = read_file(std::filesystem::path(data_dir()) / "default.cfg");
        return std::string(b.begin(), b.end());
    }();
    const struct {
        const char *name;
        std::string index;
        std::optional<std::vector<std::string>> files;
    } cases[] = {
        {"the game's own", shipped,
         std::vector<std::string>{"d/piano.pat", "d/marimba.pat", "d/acbass.pat", "d/kick.pat",
                                  "d/snare.pat", "d/hihat.pat"}},
        {"separators, comments, extensions and paths",
         "# a comment\r\n1=piano.v2 # trailing\n2\tdrum.pat\n3 /abs/bass\n\n9",
         std::vector<std::string>{"d/piano.v2", "d/drum.pat", "/abs/bass.pat"}},
        {"programs outside 1 .. 128 are skipped", "0 zero\n129 high\n-3 low\nword x",
         std::vector<std::string>{}},
        {"overrides are skipped to the end of the block",
         "5 override_patch\n1 skipped\nend_multipatch\n2 kept",
         std::vector<std::string>{"d/kept.pat"}},
        {"drums from key 0 at the top of the table",
         "129 begin_multipatch\n0 a\n127 b\nEND_MULTIPATCH\n128 c",
         std::vector<std::string>{"d/a.pat", "d/b.pat", "d/c.pat"}},
        {"drums past the table", "130 begin_multipatch\n127 b", std::nullopt},
        {"drums below the table", "-5 begin_multipatch\n1 a", std::nullopt},
        {"a line longer than the library reads", std::string(1024, '1') + " a", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(patch_set_files(c.index, "d/"), c.files) << c.name;
}

} // namespace
