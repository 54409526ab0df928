// The Windows game as the tests of tests/windows play it: the zip unpacked by
// prepare-wine-run.sh in this test run's folder, run under the run's private
// Wine prefix in a real window on Xvfb, through the window harness.
#pragma once

#include "real_window.h"

#include <string>
#include <utility>
#include <vector>

namespace window_test {

// The unpacked zip, and the copy in a folder named in Cyrillic with
// portable.txt beside the program.
std::string unpacked_game();
std::string portable_game();
// %APPDATA%\Tarvellion inside the prefix, as a Linux path.
std::string appdata_dir();

// What every Wine command of the run is started with: the prefix and its home.
std::vector<std::pair<std::string, std::string>> wine_environment();

// tarvellion.exe of a copy of the unpacked zip, started with these arguments;
// the player's files in %APPDATA%\Tarvellion.
GameOptions windows_game(const std::vector<std::string> &arguments = {});

// Runs a Wine program of the prefix, such as wineboot, to its end; its exit code.
int run_in_prefix(const std::vector<std::string> &argv);

// Before each run of the game: ends what an earlier run left of the Wine
// session (its desktop process keeps the X display it was started on, which
// has gone with that run), and removes the player's files the game wrote in
// the prefix and the portable folder.
void fresh_session();

} // namespace window_test
