// The checks on the data files' bytes; see data_checks.h. Each follows the
// library's loader step by step where the loader's reading decides what is
// safe, and adds the size checks the loader leaves out.
#include "data_checks.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

using File = std::vector<unsigned char>;

uint32_t u16le(const File &f, size_t at) {
    return f[at] | f[at + 1] << 8;
}
uint32_t u32le(const File &f, size_t at) {
    return u16le(f, at) | u16le(f, at + 2) << 16;
}
uint32_t u16be(const File &f, size_t at) {
    return f[at] << 8 | f[at + 1];
}
uint32_t u32be(const File &f, size_t at) {
    return u16be(f, at) << 16 | u16be(f, at + 2);
}

bool tag_at(const File &f, size_t at, const char *tag, size_t length) {
    return f.size() >= at + length && std::memcmp(f.data() + at, tag, length) == 0;
}

// Pictures ------------------------------------------------------------------

constexpr size_t BMP_FILE_HEADER = 14;
constexpr uint32_t WINDOWS_HEADER = 40;
constexpr uint32_t OS2_HEADER = 12;
constexpr size_t BITFIELD_MASKS = 12;
enum : uint32_t { BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3 };

// Walks RLE-compressed pixels from `at` the way the library's decoder does,
// which writes every run without looking at the picture's bounds and reads on
// past the file's end. Every run must land inside the picture, and the
// decoder must come to its end within the file.
bool rle_fits(const File &f, size_t at, long width, long height, bool four_bits) {
    long line = height - 1;
    const auto read = [&](unsigned &byte) {
        if (at >= f.size())
            return false;
        byte = f[at++];
        return true;
    };
    const auto inside = [&](long pos, long count) {
        return line >= 0 && line < height && pos >= 0 && pos + count <= width;
    };
    for (;;) {
        long pos = 0;
        bool end_of_line = false;
        bool end_of_picture = false;
        while (!end_of_line && !end_of_picture) {
            unsigned count, value;
            if (!read(count) || !read(value))
                return false;
            if (count > 0) {
                if (!inside(pos, count))
                    return false;
                pos += count;
            } else if (value == 0) {
                end_of_line = true;
            } else if (value == 1) {
                end_of_picture = true;
            } else if (value == 2) {
                unsigned right, up;
                if (!read(right) || !read(up))
                    return false;
                pos += right;
                line -= up;
            } else {
                // Literal pixels: 8-bit ones padded to a whole word, 4-bit
                // ones read a word for every four.
                const size_t bytes = four_bits ? (value + 3) / 4 * 2 : value + value % 2;
                if (!inside(pos, value) || bytes > f.size() - at)
                    return false;
                at += bytes;
                pos += value;
            }
            if (pos - 1 > width)
                end_of_line = true;
        }
        line--;
        if (line < 0 || end_of_picture)
            return true;
    }
}

bool known_bitfields(const File &f, size_t at, size_t &bytes_per_pixel) {
    const uint32_t red = u32le(f, at);
    const uint32_t blue = u32le(f, at + 8);
    bytes_per_pixel = blue == 0xFF && red == 0xFF0000 ? 4 : 2;
    return blue == 0x1F ? red == 0x7C00 || red == 0xF800 : blue == 0xFF && red == 0xFF0000;
}

// Sounds --------------------------------------------------------------------

// The mixer keeps a voice's frequency shifted left by 12 in an int.
constexpr uint32_t MAX_SAMPLE_RATE = (1u << 19) - 1;
constexpr size_t RIFF_HEADER = 12;
constexpr size_t CHUNK_HEADER = 8;
constexpr uint32_t FORMAT_FIELDS = 16;
constexpr uint32_t PCM = 1;

// Music ---------------------------------------------------------------------

constexpr size_t MIDI_HEADER = 14;
constexpr uint32_t MIDI_HEADER_LENGTH = 6;
constexpr uint32_t MAX_TRACKS = 32; // the library's MIDI_TRACKS
constexpr unsigned INSTRUMENTS = 128;
constexpr unsigned SYSEX = 0xF0, SYSEX_CONTINUED = 0xF7, META = 0xFF;
constexpr unsigned END_OF_TRACK = 0x2F, TEMPO = 0x51, TEMPO_BYTES = 3;
constexpr int MAX_VARIABLE_LENGTH_BYTES = 4;

// A variable-length number of at most four bytes, all before `end`.
bool variable_length(const File &f, size_t &at, size_t end, uint32_t &value) {
    value = 0;
    for (int i = 0; i < MAX_VARIABLE_LENGTH_BYTES; i++) {
        if (at >= end)
            return false;
        const unsigned byte = f[at++];
        value = value << 7 | (byte & 0x7F);
        if (!(byte & 0x80))
            return true;
    }
    return false;
}

// Data bytes a channel message carries, by its high nibble.
int data_bytes(unsigned status) {
    const unsigned kind = status >> 4;
    return kind == 0xC || kind == 0xD ? 1 : 2;
}

// The player follows a track's events with no bound but its End of Track, so
// the events must be well formed up to it, and it must be the last of them.
// Adds the track's length in ticks to `ticks`.
bool track_plays(const File &f, size_t at, size_t end, uint64_t &ticks) {
    unsigned running = 0;
    for (;;) {
        uint32_t delta;
        if (!variable_length(f, at, end, delta) || at >= end)
            return false;
        ticks += delta;
        unsigned status = f[at];
        if (status & 0x80)
            at++;
        else if (running)
            status = running;
        else
            return false;
        if (status < SYSEX) {
            running = status;
            for (int i = 0; i < data_bytes(status); i++, at++)
                if (at >= end || f[at] & 0x80)
                    return false;
            continue;
        }
        unsigned type = 0;
        if (status == META) {
            if (at >= end)
                return false;
            type = f[at++];
        } else if (status != SYSEX && status != SYSEX_CONTINUED) {
            return false;
        }
        uint32_t length;
        if (!variable_length(f, at, end, length) || length > end - at ||
            (status == META && type == TEMPO && length < TEMPO_BYTES))
            return false;
        at += length;
        if (status == META && type == END_OF_TRACK)
            return at == end;
    }
}

// Before playing, the library scans each track once more for the instruments
// it uses, in a walk of its own that takes the track's first delta time for
// an event, and marks each program change and drum note in a table of 128
// entries indexed by the byte that follows. That walk must stay in the track
// and its indices in the tables.
bool instrument_scan_fits(const File &f, size_t at, size_t end) {
    constexpr unsigned DRUM_CHANNEL = 9;
    unsigned running = 0;
    uint32_t length;
    while (at < end) {
        unsigned event = f[at];
        if (event & 0x80) {
            at++;
            if (event != SYSEX && event != SYSEX_CONTINUED && event != META)
                running = event;
        } else {
            event = running;
        }
        const bool marks =
            event >> 4 == 0xC || (event >> 4 == 0x9 && (event & 0xF) == DRUM_CHANNEL);
        if (marks && (at >= end || f[at] >= INSTRUMENTS))
            return false;
        switch (event >> 4) {
        case 0x8:
        case 0x9:
        case 0xA:
        case 0xB:
        case 0xE:
            at += 2;
            break;
        case 0xC:
        case 0xD:
            at += 1;
            break;
        case 0xF:
            if (event == META)
                at++;
            if (event == SYSEX || event == SYSEX_CONTINUED || event == META) {
                if (!variable_length(f, at, end, length))
                    return false;
                at += length;
            } else if (event == 0xF2 || event == 0xF3) {
                at += event == 0xF2 ? 2 : 1;
            }
            break;
        default:
            break;
        }
        if (at < end && !variable_length(f, at, end, length))
            return false;
    }
    return true;
}

// Patches -------------------------------------------------------------------

constexpr size_t PATCH_HEADER = 239;
constexpr size_t WAVE_COUNT_AT = 198;
constexpr unsigned MAX_WAVES = 64; // the library's MAX_LAYERS
constexpr size_t WAVE_HEADER = 96;
constexpr unsigned MAX_PAN = 15;
constexpr double LOWEST_NOTE_MHZ = 8175; // the synthesiser's table, note 0
constexpr uint32_t UNSCALED = 1024;      // the scale factor that leaves the pitch alone
constexpr double SCALE_NOTE_PER_RATE = 60;
constexpr int PATCH_TABLE_SIZE = 256;
constexpr size_t MAX_INDEX_LINE = 1023; // the library reads the index in lines this long

// The synthesiser plays a note of a wave at the note's frequency times
// rate / root, in floating point truncated to an unsigned integer; unless the
// scale factor is 1024 it then moves that toward a pivot, rate * scale note /
// 60, as (f - pivot) * factor / 1024 + pivot. Every note must come out at
// 1 Hz or more (the mixer is never to be given 0), and not below the pivot,
// where the subtraction wraps round and the scaling overflows. Both happen
// first at the lowest note.
bool lowest_note_plays(uint32_t rate, uint32_t root, uint32_t scale_note, uint32_t factor) {
    const auto scaled = [](double value, double by) { return static_cast<uint64_t>(value * by); };
    const uint64_t note = scaled(LOWEST_NOTE_MHZ, static_cast<double>(rate) / root);
    if (factor == UNSCALED)
        return note >= 1;
    const uint64_t pivot = scaled(rate, scale_note / SCALE_NOTE_PER_RATE);
    if (factor == 0)
        return pivot >= 1;
    return note >= pivot && scaled(static_cast<double>(note - pivot), factor / 1024.0) + pivot >= 1;
}

bool all_digits(const std::string &word) {
    return std::all_of(word.begin(), word.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) || c == '-';
    });
}

bool same_word(std::string word, const char *keyword) {
    std::transform(word.begin(), word.end(), word.begin(),
                   [](char c) { return std::tolower(static_cast<unsigned char>(c)); });
    return word == keyword;
}

// The library splits a line at spaces, tabs and '=', stops at a word that
// starts with '#', and keeps at most 16 words.
std::vector<std::string> index_words(const std::string &line) {
    constexpr size_t MAX_WORDS = 16;
    std::vector<std::string> words;
    size_t at = 0;
    while (at < line.size() && words.size() < MAX_WORDS) {
        at = line.find_first_not_of(" \t=", at);
        if (at == std::string::npos || line[at] == '#')
            break;
        const size_t end = std::min(line.find_first_of(" \t=", at), line.size());
        words.push_back(line.substr(at, end - at));
        at = end;
    }
    return words;
}

int32_t index_number(const std::string &word) {
    return static_cast<int32_t>(std::strtol(word.c_str(), nullptr, 10));
}

std::string patch_file_name(const std::string &name, const std::string &directory) {
    std::string path = name[0] == '/' ? name : directory + name;
    const size_t dot = path.find_last_of("./");
    if (dot == std::string::npos || path[dot] != '.' || dot + 1 == path.size())
        path += ".pat";
    return path;
}

} // namespace

bool picture_is_usable(const File &f) {
    if (f.size() < BMP_FILE_HEADER + 4 || !tag_at(f, 0, "BM", 2))
        return false;
    const uint32_t header = u32le(f, BMP_FILE_HEADER);
    if ((header != WINDOWS_HEADER && header != OS2_HEADER) || f.size() < BMP_FILE_HEADER + header)
        return false;
    // The loader reads every field unsigned: a negative (top-down) height
    // comes out as a huge one.
    const bool windows = header == WINDOWS_HEADER;
    const long width = windows ? u32le(f, 18) : u16le(f, 18);
    const long height = windows ? u32le(f, 22) : u16le(f, 20);
    const uint32_t bits = windows ? u16le(f, 28) : u16le(f, 24);
    const uint32_t compression = windows ? u32le(f, 30) : BI_RGB;
    if (width < 1 || width > MAX_PICTURE_SIDE || height < 1 || height > MAX_PICTURE_SIDE)
        return false;

    // The pixels follow the palette, which the loader takes to be every byte
    // up to the file's pixel offset, counted in an int; it never seeks.
    const size_t after_header = BMP_FILE_HEADER + header;
    size_t pixels = after_header + BITFIELD_MASKS;
    if (compression != BI_BITFIELDS)
        pixels =
            after_header + std::max<int32_t>(0, static_cast<int32_t>(u32le(f, 10) - after_header));
    if (pixels > f.size())
        return false;

    const auto rows_fit = [&](size_t bits_per_pixel) {
        const size_t row = (bits_per_pixel * width + 31) / 32 * 4;
        return row * height <= f.size() - pixels;
    };
    size_t bytes_per_pixel;
    switch (compression) {
    case BI_RGB:
        return (bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32) &&
               rows_fit(bits);
    case BI_RLE8:
        return bits == 8 && rle_fits(f, pixels, width, height, false);
    case BI_RLE4:
        return bits == 4 && rle_fits(f, pixels, width, height, true);
    case BI_BITFIELDS:
        return known_bitfields(f, after_header, bytes_per_pixel) && rows_fit(8 * bytes_per_pixel);
    default:
        return false;
    }
}

bool sound_is_usable(const File &f) {
    if (!tag_at(f, 0, "RIFF", 4) || !tag_at(f, 8, "WAVE", 4))
        return false;
    uint32_t channels = 0;
    uint32_t bits = 0;
    bool samples = false;
    // The loader steps from chunk to chunk by their lengths alone, with no
    // padding after an odd one, until fewer than four bytes are left.
    size_t at = RIFF_HEADER;
    while (f.size() - at >= 4) {
        if (f.size() - at < CHUNK_HEADER)
            return false;
        const uint32_t length = u32le(f, at + 4);
        const size_t body = at + CHUNK_HEADER;
        if (length > f.size() - body)
            return false;
        if (tag_at(f, at, "fmt ", 4)) {
            if (length < FORMAT_FIELDS)
                return false;
            channels = u16le(f, body + 2);
            const uint32_t rate = u32le(f, body + 4);
            bits = u16le(f, body + 14);
            if (u16le(f, body) != PCM || (channels != 1 && channels != 2) || rate < 1 ||
                rate > MAX_SAMPLE_RATE || (bits != 8 && bits != 16))
                return false;
        } else if (tag_at(f, at, "data", 4)) {
            // A second data chunk would be loaded over the first, which is lost.
            const uint32_t frame = channels * bits / 8;
            if (samples || frame == 0 || length == 0 || length % frame != 0)
                return false;
            samples = true;
        }
        at = body + length;
    }
    return samples;
}

bool music_is_usable(const File &f) {
    if (f.size() < MIDI_HEADER || !tag_at(f, 0, "MThd", 4) || u32be(f, 4) != MIDI_HEADER_LENGTH)
        return false;
    const uint32_t format = u16be(f, 8);
    const uint32_t tracks = u16be(f, 10);
    // The player divides by the time division.
    if (format > 1 || tracks < 1 || tracks > MAX_TRACKS || u16be(f, 12) == 0)
        return false;
    uint64_t longest = 0;
    size_t at = MIDI_HEADER;
    for (uint32_t i = 0; i < tracks; i++) {
        if (!tag_at(f, at, "MTrk", 4) || f.size() - at < CHUNK_HEADER)
            return false;
        const size_t begin = at + CHUNK_HEADER;
        const uint32_t length = u32be(f, at + 4);
        if (length > f.size() - begin)
            return false;
        uint64_t ticks = 0;
        if (!track_plays(f, begin, begin + length, ticks) ||
            !instrument_scan_fits(f, begin, begin + length))
            return false;
        longest = std::max(longest, ticks);
        at = begin + length;
    }
    return longest > 0;
}

bool patch_is_usable(const File &f) {
    static const char ID[] = "GF1PATCH110\0ID#000002";
    if (f.size() < PATCH_HEADER || !tag_at(f, 0, ID, sizeof ID))
        return false;
    const unsigned waves = std::min<unsigned>(f[WAVE_COUNT_AT], MAX_WAVES);
    size_t at = PATCH_HEADER;
    for (unsigned i = 0; i < waves; i++) {
        if (f.size() - at < WAVE_HEADER)
            return false;
        const uint32_t length = u32le(f, at + 8);
        const uint32_t loop_start = u32le(f, at + 12);
        const uint32_t loop_end = u32le(f, at + 16);
        const uint32_t rate = u16le(f, at + 20);
        const uint32_t root = u32le(f, at + 30);
        const unsigned pan = f[at + 36];
        const uint32_t scale_note = u16le(f, at + 56);
        const uint32_t scale_factor = u16le(f, at + 58);
        at += WAVE_HEADER;
        // The mixer loops between the loop points whenever start < end.
        if (length > f.size() - at || (loop_start < loop_end && loop_end > length) || rate == 0 ||
            root == 0 || pan > MAX_PAN || !lowest_note_plays(rate, root, scale_note, scale_factor))
            return false;
        at += length;
    }
    return true;
}

std::optional<std::vector<std::string>> patch_set_files(const std::string &index,
                                                        const std::string &directory) {
    std::vector<std::string> files;
    bool drums = false;
    bool overriding = false;
    int64_t drum_start = 0;
    size_t at = 0;
    while (at < index.size()) {
        const size_t end = std::min(index.find_first_of("\r\n", at), index.size());
        if (end - at > MAX_INDEX_LINE)
            return std::nullopt;
        const std::vector<std::string> words = index_words(index.substr(at, end - at));
        at = end + 1;
        if (words.size() >= 2 && all_digits(words[0])) {
            if (same_word(words[1], "begin_multipatch")) {
                drum_start = int64_t{index_number(words[0])} - 1;
                drums = true;
            } else if (same_word(words[1], "override_patch")) {
                overriding = true;
            } else if (!overriding) {
                int64_t number = index_number(words[0]) - (drums ? 0 : 1);
                if (number < 0 || number >= INSTRUMENTS)
                    continue;
                if (drums)
                    number += drum_start;
                if (number < 0 || number >= PATCH_TABLE_SIZE)
                    return std::nullopt;
                files.push_back(patch_file_name(words[1], directory));
            }
        } else if (!words.empty() && same_word(words[0], "end_multipatch")) {
            drums = false;
            overriding = false;
        }
    }
    return files;
}
