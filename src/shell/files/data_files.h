// Reading the game's data files and handing them to the library's loaders
// only once their bytes have passed the checks of data_checks.h. The library
// parses exactly the bytes that were checked: they reach it from memory.
// Called by loadfile() (output/assets.cpp) and, through picture_files.h, Sprite::Create.
#pragma once

#include "../../ui/picture_files.h"

#include <allegro.h>

#include <optional>
#include <vector>

// A data file read whole, by its name in the working directory (the data
// directory); nullopt when there is no such regular file - a FIFO, device or
// directory of the name counts as none. A file that is there but cannot be
// read whole comes back empty, which no check accepts.
std::optional<std::vector<unsigned char>> read_data_file(const char *name);

// Hands the ui (picture_files.h) this module's loader: a BMP picture and its
// palette, where a file that is there but fails its check, or that the
// library still cannot read, is DAMAGED; and the start-up message for a
// picture the game cannot do without.
void use_checked_pictures();

// A WAV sound or the MIDI music; null when missing or damaged, which the game
// plays without.
SAMPLE *load_sound(const char *name);
MIDI *load_music(const char *name);

// Whether every patch file the index (default.cfg) names is there and sound:
// the library loads the instruments when the music starts, trusting them.
bool patch_set_is_usable(const char *index_name);
