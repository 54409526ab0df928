// Where the player's own files live: setting.ini, save.dat, the options and
// the high scores. Start-up sets the directory once (the platform layer finds
// it); every reader and writer of those files asks here for the path.
#pragma once

#include <string>

// "." (the working directory) until start-up sets it.
void set_player_dir(const std::string &dir);

// The path of the named file in the player's directory.
std::string player_path(const char *name);
