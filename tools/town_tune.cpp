// Composes and writes the town tune; see town_tune.h for its instruments. The last bar
// is a G7 turnaround with a snare fill, so when the game loops the file the tune falls
// straight back onto its opening C chord.
#include "town_tune.h"

#include "midi_writer.h"

#include <set>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace {

constexpr int ticks_per_quarter = 480;
constexpr std::uint32_t eighth = ticks_per_quarter / 2;
constexpr std::uint32_t bar = ticks_per_quarter * 4;

constexpr int melody_channel = 0, chord_channel = 1, bass_channel = 2, drum_channel = 9;
constexpr int marimba = 12, acoustic_grand_piano = 0, acoustic_bass = 32;
constexpr int bass_drum = 36, snare = 38, closed_hi_hat = 42;

enum class Chord { C, Am, F, G, Em, Dm, G7 };

struct Harmony {
    int bass_root;
    std::vector<int> voicing;
};

Harmony harmony(Chord chord) {
    switch (chord) {
    case Chord::C:
        return {36, {60, 64, 67}};
    case Chord::Am:
        return {45, {57, 60, 64}};
    case Chord::F:
        return {41, {57, 60, 65}};
    case Chord::G:
        return {43, {55, 59, 62}};
    case Chord::Em:
        return {40, {55, 59, 64}};
    case Chord::Dm:
        return {38, {57, 62, 65}};
    case Chord::G7:
        return {43, {55, 59, 65}};
    }
    throw std::logic_error("unknown chord");
}

// One bar: its melody in a small notation ("e5:2" is E5 lasting two eighths, "r:2" a
// rest) and the chords of its two halves.
struct Bar {
    const char *melody;
    Chord first_half;
    Chord second_half;
    bool drum_fill;
};

const std::vector<Bar> &score() {
    using C = Chord;
    static const std::vector<Bar> bars = {
        // A
        {"e5:1 g5:1 c6:2 g5:1 e5:1 g5:2", C::C, C::C, false},
        {"a5:2 g5:1 e5:1 c5:2 e5:2", C::Am, C::Am, false},
        {"f5:1 a5:1 c6:2 a5:1 f5:1 a5:2", C::F, C::F, false},
        {"g5:3 f5:1 e5:2 d5:2", C::G, C::G, false},
        {"e5:1 g5:1 c6:2 d6:1 c6:1 b5:1 c6:1", C::C, C::C, false},
        {"a5:2 e5:2 a5:1 b5:1 c6:2", C::Am, C::Am, false},
        {"c6:1 a5:1 f5:2 b5:1 g5:1 d5:2", C::F, C::G, false},
        {"c5:2 e5:1 g5:1 c6:4", C::C, C::C, false},
        // A again, closing lower
        {"e5:1 g5:1 c6:2 g5:1 e5:1 g5:2", C::C, C::C, false},
        {"a5:2 g5:1 e5:1 c5:2 e5:2", C::Am, C::Am, false},
        {"f5:1 a5:1 c6:2 a5:1 f5:1 a5:2", C::F, C::F, false},
        {"g5:3 f5:1 e5:2 d5:2", C::G, C::G, false},
        {"e5:1 g5:1 c6:2 d6:1 c6:1 b5:1 c6:1", C::C, C::C, false},
        {"a5:2 e5:2 a5:1 b5:1 c6:2", C::Am, C::Am, false},
        {"c6:1 a5:1 f5:2 b5:1 g5:1 d5:2", C::F, C::G, false},
        {"e5:2 d5:2 c5:4", C::C, C::C, false},
        // B
        {"a5:3 g5:1 f5:2 a5:2", C::F, C::F, false},
        {"g5:3 f5:1 d5:2 g5:2", C::G, C::G, false},
        {"e5:1 g5:1 b5:2 g5:1 e5:1 g5:2", C::Em, C::Em, false},
        {"a5:4 e5:2 a5:2", C::Am, C::Am, false},
        {"c6:3 a5:1 f5:2 c6:2", C::F, C::F, false},
        {"b5:3 g5:1 d5:2 b5:2", C::G, C::G, false},
        {"a5:2 f5:2 d5:2 f5:2", C::Dm, C::Dm, false},
        {"g5:2 f5:1 e5:1 d5:2 b4:2", C::G7, C::G7, true},
        // A, turning round to the start
        {"e5:1 g5:1 c6:2 g5:1 e5:1 g5:2", C::C, C::C, false},
        {"a5:2 g5:1 e5:1 c5:2 e5:2", C::Am, C::Am, false},
        {"f5:1 a5:1 c6:2 a5:1 f5:1 a5:2", C::F, C::F, false},
        {"g5:3 f5:1 e5:2 d5:2", C::G, C::G, false},
        {"e5:1 g5:1 c6:2 d6:1 c6:1 b5:1 c6:1", C::C, C::C, false},
        {"a5:2 e5:2 a5:1 b5:1 c6:2", C::Am, C::Am, false},
        {"c6:1 a5:1 f5:2 b5:1 g5:1 d5:2", C::F, C::G, false},
        {"g5:2 f5:1 d5:1 b4:2 d5:2", C::G7, C::G7, true},
    };
    return bars;
}

int key_number(const std::string &name) {
    static const int semitones[] = {9, 11, 0, 2, 4, 5, 7}; // a b c d e f g
    if (name.size() != 2 || name[0] < 'a' || name[0] > 'g' || name[1] < '0' || name[1] > '9') {
        throw std::runtime_error("bad note name '" + name + "'");
    }
    return 12 * (name[1] - '0' + 1) + semitones[name[0] - 'a'];
}

void add_melody(MidiTrack &track, const Bar &b, std::uint32_t start) {
    std::istringstream notes(b.melody);
    std::string token;
    std::uint32_t at = start;
    while (notes >> token) {
        const std::size_t colon = token.find(':');
        const std::uint32_t length =
            eighth * static_cast<std::uint32_t>(std::stoi(token.substr(colon + 1)));
        const std::string pitch = token.substr(0, colon);
        if (pitch != "r") {
            const int velocity = at == start ? 104 : 92;
            track.note(at, length * 9 / 10, melody_channel, key_number(pitch), velocity);
        }
        at += length;
    }
    if (at != start + bar) {
        throw std::runtime_error(std::string("melody bar does not fill four beats: ") + b.melody);
    }
}

// Oom-pah: the bass on every beat (root, fifth, octave, fifth; root and fifth of each
// chord when a bar has two), the piano on beats two and four.
void add_accompaniment(MidiTrack &chords, MidiTrack &bass, const Bar &b, std::uint32_t start) {
    for (int beat = 0; beat < 4; ++beat) {
        const Harmony h = harmony(beat < 2 ? b.first_half : b.second_half);
        const bool split = b.first_half != b.second_half;
        static const int one_chord_line[] = {0, 7, 12, 7};
        static const int two_chord_line[] = {0, 7, 0, 7};
        const int step = split ? two_chord_line[beat] : one_chord_line[beat];
        const std::uint32_t at = start + static_cast<std::uint32_t>(beat) * ticks_per_quarter;
        bass.note(at, ticks_per_quarter * 8 / 10, bass_channel, h.bass_root + step,
                  beat % 2 == 0 ? 96 : 84);
        if (beat % 2 == 1) {
            for (int key : h.voicing) {
                chords.note(at, eighth * 8 / 10, chord_channel, key, 58);
            }
        }
    }
}

void add_drums(MidiTrack &drums, const Bar &b, std::uint32_t start) {
    for (int e = 0; e < 8; ++e) {
        const std::uint32_t at = start + static_cast<std::uint32_t>(e) * eighth;
        const bool in_fill = b.drum_fill && e >= 4;
        if (e == 0 || e == 4) {
            drums.note(at, eighth / 2, drum_channel, bass_drum, 100);
        }
        if (!in_fill) {
            drums.note(at, eighth / 2, drum_channel, closed_hi_hat, e % 2 == 0 ? 72 : 52);
            if (e == 2 || e == 6) {
                drums.note(at, eighth / 2, drum_channel, snare, 88);
            }
        }
    }
    if (b.drum_fill) {
        // Beat three in eighths, beat four in sixteenths, growing louder into the top.
        const std::uint32_t sixteenth = eighth / 2;
        const std::uint32_t fill[] = {0, 2, 4, 5, 6, 7};
        for (std::size_t i = 0; i < 6; ++i) {
            drums.note(start + 2 * ticks_per_quarter + fill[i] * sixteenth, sixteenth / 2,
                       drum_channel, snare, 70 + static_cast<int>(i) * 8);
        }
    }
}

struct Composition {
    std::vector<MidiTrack> tracks;
    std::uint32_t end_tick;
};

Composition compose() {
    MidiTrack conductor, melody, chords, bass, drums;
    conductor.name("Tarvellion - town");
    conductor.tempo(0, town_tempo_bpm);
    conductor.four_four_time(0);

    melody.name("Marimba melody");
    melody.program(0, melody_channel, marimba);
    melody.controller(0, melody_channel, 7, 110);
    chords.name("Piano chords");
    chords.program(0, chord_channel, acoustic_grand_piano);
    chords.controller(0, chord_channel, 7, 78);
    chords.controller(0, chord_channel, 10, 48);
    bass.name("Bass");
    bass.program(0, bass_channel, acoustic_bass);
    bass.controller(0, bass_channel, 7, 100);
    drums.name("Drums");
    drums.controller(0, drum_channel, 7, 92);

    const std::vector<Bar> &bars = score();
    if (static_cast<int>(bars.size()) != town_bars) {
        throw std::runtime_error("town tune has the wrong number of bars");
    }
    for (std::size_t i = 0; i < bars.size(); ++i) {
        const std::uint32_t start = static_cast<std::uint32_t>(i) * bar;
        add_melody(melody, bars[i], start);
        add_accompaniment(chords, bass, bars[i], start);
        add_drums(drums, bars[i], start);
    }
    return {{conductor, melody, chords, bass, drums},
            static_cast<std::uint32_t>(bars.size()) * bar};
}

} // namespace

void write_town_tune(const std::string &path) {
    const Composition tune = compose();
    write_midi_file(path, ticks_per_quarter, tune.tracks, tune.end_tick);
}

TownTuneNotes town_tune_notes() {
    constexpr int channels = 16;
    const Composition tune = compose();
    TownTuneNotes notes;
    for (int channel = 0; channel < channels; ++channel) {
        std::set<int> programs, keys;
        for (const MidiTrack &track : tune.tracks) {
            programs.merge(track.programs(channel));
            keys.merge(track.keys(channel));
        }
        if (keys.empty()) {
            continue;
        }
        if (channel == drum_channel) {
            notes.drum_keys = keys;
        } else if (programs.size() > 1) {
            throw std::logic_error("the town tune changes program on a channel");
        } else {
            // A channel that never selects a program plays the first, the piano.
            notes.keys_by_program[programs.empty() ? 0 : *programs.begin()].merge(keys);
        }
    }
    return notes;
}
