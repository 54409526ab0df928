// The player's directory, set by start-up (main.cpp) and read by the settings,
// the save file and the options.
#include "player_files.h"

namespace {

std::string player_dir = ".";

} // namespace

void set_player_dir(const std::string &dir) {
    player_dir = dir.empty() ? "." : dir;
}

std::string player_path(const char *name) {
    // Relative names keep the tests' and make run's paths as they always were.
    if (player_dir == ".")
        return name;
    return player_dir + "/" + name;
}
