// The game brought up without a display for the fuzz targets and the soak:
// the library with memory bitmaps as screen and buffer, the assets loaded in a
// working directory of their own, a clock for the waits that leaps ahead, and
// the invariants every pass of a game in play must keep.
#pragma once

#include <functional>
#include <string>

// Installs the library with no system driver; once per process.
void start_library();

// Makes screen and buffer of this size and depth, as setvideo() does with a
// window of that size. Does nothing when they already have it.
void use_screen(int width, int height, int depth);

// A fresh temporary directory, on a memory file system where there is one
// (the save file is written with fsync); it is removed when the process ends.
std::string make_temp_dir();

// Runs `work` with dir as the working directory, then goes back to the one
// it left: the game reads and writes its files in the working directory, the
// fuzzer keeps its corpus paths relative to its own.
void in_directory(const std::string &dir, const std::function<void()> &work);

// Links the game's data files (not a save or settings file found there) into
// dir and runs loadfile() there. A missing game-over or pointer picture would
// stop the loading before the sprites and buttons are made, so a placeholder
// picture stands in for it; missing sprite frames stay missing. The music is
// released again: it cannot play without a system driver. Returns how many
// data files were found.
int load_assets_in(const std::string &dir);

// The waits' clock and sleep for these runs: a second passes at every reading
// of the clock and none in a sleep, so the screens between levels and the key
// commands' waits end at once.
void leap_through_waits();

// Checks the records of a game in play against the bands the rules keep
// figures in. Returns what is broken, or an empty string; no game (fruitmax
// 0) breaks nothing.
std::string broken_invariant();

// Prints the message and aborts, which the fuzzer and CTest both catch.
[[noreturn]] void fail(const std::string &message);
