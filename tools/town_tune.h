// The game's background music, "town": a cheerful 32-bar tune in C major that the game
// plays looping. Called by make_assets, which writes it as town.dat.
//
// General MIDI instruments used (a patch set for the game needs exactly these):
//   program 13 (from zero: 12) Marimba            - melody, channel 1
//   program  1 (from zero:  0) Acoustic Grand Piano - off-beat chords, channel 2
//   program 33 (from zero: 32) Acoustic Bass      - bass, channel 3
//   channel 10 drums: 36 Bass Drum 1, 38 Acoustic Snare, 42 Closed Hi-Hat
#pragma once

#include <map>
#include <set>
#include <string>

constexpr double town_tempo_bpm = 132.0;
constexpr int town_bars = 32;

// Throws std::runtime_error if the file cannot be written.
void write_town_tune(const std::string &path);

// What the tune plays, for a patch set that holds just that: the keys of each General
// MIDI program (from zero) and of the drum channel.
struct TownTuneNotes {
    std::map<int, std::set<int>> keys_by_program;
    std::set<int> drum_keys;
};
TownTuneNotes town_tune_notes();
