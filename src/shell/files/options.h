// The player's preferences beyond setting.ini, kept in "options.ini" in the
// player's directory as plain text, one `name = value` per line, with the
// bindings' lines (bindings.h). Start-up
// reads them; whatever changes one (the Options screen, the display keys,
// mute) writes them back.
// setting.ini keeps its nine numbers and is never written.
#pragma once

#include "../../core/high_scores.h"
#include "../../ui/present.h"

// The longest board address options.ini may give.
constexpr int BOARD_ADDRESS_MAX = 255;

// The board a player has before choosing one: none on the desktop; the
// browser build's is the address given when it was built, else its own
// site's (".").
extern const char *const DEFAULT_BOARD;

struct GAME_OPTIONS {
    int scale;      // 0: the largest the desktop has room for; else pixels per field pixel
    int fullscreen; // -1: never chosen (setting.ini's graphics mode decides); 0 or 1
    int mute;       // 1: no music and no sound effects
    int attract;    // 1: the menu left alone plays a demo; 0: it never does
    char name[PLAYER_NAME_MAX + 1]; // the name last typed into the high-score table
    int music_volume;               // 0 (silent) to MAX_VOLUME
    int effects_volume;             // 0 (silent) to MAX_VOLUME
    char board[BOARD_ADDRESS_MAX + 1]; // the world board's address; "" for none
    int send_games; // to the board: -1 never asked, 0 no, 1 yes
};

constexpr int MAX_VOLUME = 10;

extern GAME_OPTIONS options;

// Back to the defaults: scale 0, fullscreen -1, sound on at full volume, the
// demo on, no name, the default board never asked about, the default keys
// and pad buttons.
void reset_options();

// Reads the file at path. A missing file, or one that is not text, leaves the
// defaults; a line whose value is out of range leaves that option's default.
// Lines the game does not know are kept for write_options.
void read_options(const char *path);

// Writes the options to the player's options.ini (player_files.h), as every
// change of a preference does. A file that cannot be written is not
// reported: the choice still holds for this run.
void keep_options();

// Whether keep_options() writes (from the start it does): a replay shown
// with --replay touches none of the player's files, and turns it off.
void keep_changed_options(bool on);

// Writes the options to path atomically, with every line of the file that
// read_options did not know kept as it was. Returns 0 or an errno value.
int write_options(const char *path);
