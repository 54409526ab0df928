// The game's patch set for the library's software MIDI synthesiser: which patch file
// plays which General MIDI program or drum key of the town tune, and the two index
// files that lead the library to them. make_assets writes it beside the other data.
#pragma once

#include "gus_patch.h"

#include <set>
#include <string>
#include <vector>

struct PatchSetEntry {
    std::string file; // the patch's file name, ".pat" included
    bool drum;        // false: a melodic program; true: a key of the drum channel
    int number;       // GM program from 1 (as default.cfg counts), or the drum key
    GusPatch (*make)(const std::set<int> &keys);
};

// Exactly the programs and drums of the town tune, in the order default.cfg lists them.
const std::vector<PatchSetEntry> &patch_set();

// The keys the tune plays with an entry: its own for a drum.
std::set<int> tune_keys(const PatchSetEntry &entry);

// The index the synthesiser reads: "N file" lines, the drums in a multipatch block.
std::string default_cfg_text();

// The library's settings file for the game's directory: DIGMID as the MIDI driver and
// default.cfg as its patch set.
std::string allegro_cfg_text();

// Writes every patch, default.cfg and allegro.cfg into `directory`; throws
// std::runtime_error if a file cannot be written.
void write_patch_set(const std::string &directory);
