// The checks a data file's bytes pass before the library parses them. The
// library's loaders trust every size and count in a header; each check here
// accepts only what its loader and player handle safely, and follows the
// loader's own reading of the file (field widths, signs, offsets) where that
// differs from the format's. Pure functions over bytes; data_files.cpp calls
// them for every picture, sound, the music and the patch set.
#pragma once

#include <optional>
#include <string>
#include <vector>

// The largest picture side the game takes, in pixels.
constexpr long MAX_PICTURE_SIDE = 4096;

// A BMP picture: an OS/2 or Windows header, 1 to 4096 pixels each way, 1, 4,
// 8, 16, 24 or 32 bits a pixel, palette and pixels within the file;
// RLE-compressed only when every run stays inside the picture and the file.
bool picture_is_usable(const std::vector<unsigned char> &file);

// A WAV sound: PCM, one or two channels of 8 or 16 bits at a rate the mixer
// can step through, one data chunk of whole frames, every chunk in the file.
bool sound_is_usable(const std::vector<unsigned char> &file);

// A standard MIDI file: format 0 or 1, 1 to 32 tracks, a time division that
// is not 0, and every track a well-formed run of events ending in its End of
// Track, inside the file. The song must last at least one tick: the player
// loops a song of no length forever.
bool music_is_usable(const std::vector<unsigned char> &file);

// A GUS patch: the header the library knows, and every wave's samples and
// loop inside the file.
bool patch_is_usable(const std::vector<unsigned char> &file);

// The patch files an index such as default.cfg names, read as the library
// reads it: names relative to the index's directory, ".pat" added to a name
// without an extension. nullopt when an entry would land outside the
// library's table of 256 instruments.
std::optional<std::vector<std::string>> patch_set_files(const std::string &index,
                                                        const std::string &directory);
