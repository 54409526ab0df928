// Reading the game's data files and handing them to the library's loaders
// only once their bytes have passed the checks of data_checks.h. The library
// parses exactly the bytes that were checked: they reach it from memory.
// Called by loadfile() (assets.cpp) and Sprite::Create.
#pragma once

#include <allegro.h>

#include <optional>
#include <vector>

// A data file read whole, by its name in the working directory (the data
// directory); nullopt when there is no such regular file - a FIFO, device or
// directory of the name counts as none. A file that is there but cannot be
// read whole comes back empty, which no check accepts.
std::optional<std::vector<unsigned char>> read_data_file(const char *name);

enum class PictureLoad { LOADED, MISSING, DAMAGED };

// Loads a BMP picture and its palette into `picture` (null unless LOADED).
// A file that is there but fails its check, or that the library still cannot
// read, is DAMAGED.
PictureLoad load_picture(const char *name, RGB *palette, BITMAP *&picture);

// The start-up message for a picture the game cannot do without.
void report_unusable_picture(const char *name);

// A WAV sound or the MIDI music; null when missing or damaged, which the game
// plays without.
SAMPLE *load_sound(const char *name);
MIDI *load_music(const char *name);

// Whether every patch file the index (default.cfg) names is there and sound:
// the library loads the instruments when the music starts, trusting them.
bool patch_set_is_usable(const char *index_name);
