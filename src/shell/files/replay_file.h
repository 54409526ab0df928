// Every game recorded as it is played, and replays read back. The main loop
// begins a recording when a game begins and adds each pass's input record;
// the last game is kept as "last-game.replay" in the player's directory, and
// each high-score entry's game as "highscore-N.replay" beside the table (N
// its place, 1 the best).
#pragma once

#include "../../core/replay.h"

#include <string>

extern const char *const LAST_GAME_REPLAY;

// Whether games are recorded: start-up turns it on; tests and tools, and a
// run that plays a replay, leave it off.
void record_games(bool on);

// A game began in this pass (continued from the save file, or new): the
// game recorded so far is written as the last game, and a new recording
// starts: a new game's from its setup (the rules keep it, replay.h), the
// pass's record its first; a continued game's from the records as they
// stand at the end of the pass.
void begin_recording(bool continued);

// The pass's input stage ran on `input`: the record joins the game's.
void record_pass();

// The rules of this pass ended the game (its high-score screen comes up):
// the recording ends with this pass.
void record_game_over();

// The game recorded last, as it ended: what the world board is sent.
const REPLAY &last_game();

// Writes the game recorded so far as the last game, and stops recording;
// at the end of the run.
void finish_recording();

// The game that just ended took this place (0 the best) in the high-score
// table: the entries' replays below it move down a place, the tenth's is
// removed, and this game's is kept in its place.
void keep_replay_for_entry(int place);

// Reads a replay file. Returns an empty string, or why it cannot be played.
std::string read_replay(const std::string &path, REPLAY &replay);

// read_replay() for the command line: false, with the reason told the
// player, when the file cannot be played.
bool load_replay(const std::string &path, REPLAY &replay);
