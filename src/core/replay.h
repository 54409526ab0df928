// A game as a replay: where it started and the input record of every pass,
// enough for the core to play it again exactly, with a hash of the game's
// state every few seconds so that playback finds the first pass where it
// goes another way. The shell records every game (shell/files/replay_file.cpp),
// plays replays back and verifies them; the core encodes and decodes them.
//
// The file, all numbers little-endian:
//   "TVRP", format version (u32), the game's version (16 bytes, NUL-padded),
//   the tuning values the rules read (def_train_speed, DELAY,
//   def_train_speed2, def_player_speed, def_fruit_count, SW, SH: 7 x i32),
//   the game's seed and the generator's state at the start (2 x u32), the
//   menu and focus flags (u8), how the game began (u8, ReplayBegan), the game
//   records at the start (the save file's 2484 bytes); from version 2, when
//   the game began new (BEGAN_BY_START, BEGAN_AFTER_GAME_OVER), the record of
//   the pass that began it (u16);
//   then the passes as runs: their count (varint), each run a length
//   (varint) and one record (u16, a bit an action);
//   then the checkpoints: their count (varint), each the pass after which
//   it was taken (varint) and the state's hash (u32).
// Version 1 kept a new game's start whole, a pass late: the pass that began
// it had already moved the player. Version 2 starts a new game where its
// setup left it, before the rest of that pass, so that the start is the one
// its seed makes and anyone can make it again from the seed alone (the
// board does, rather than trust the file). Both versions play.
#pragma once

#include "input_record.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr uint32_t REPLAY_FORMAT = 2;
constexpr uint32_t REPLAY_OLDEST_FORMAT = 1;

// How the recorded game began, and so where its start was taken.
enum ReplayBegan : uint8_t {
    // A new game, its start taken after the pass that began it (version 1).
    BEGAN_NEW_GAME = 0,
    // Continue: the saved game as loaded, taken after the pass that loaded it.
    BEGAN_CONTINUED = 1,
    // The Start button, or the game after a game over: the start is the new
    // game's setup, the rest of the pass that began it still to be played.
    BEGAN_BY_START = 2,
    BEGAN_AFTER_GAME_OVER = 3,
};

// Passes between two hashes of the state: about eight seconds of play.
constexpr uint32_t REPLAY_CHECKPOINT_EVERY = 256;

struct REPLAY_CHECKPOINT {
    uint32_t pass; // the hash is taken after this many passes
    uint32_t hash;
};

struct REPLAY {
    // As read, or this Tarvellion's: a replay is written back in its own
    // format, so an older file reads back as exactly its image.
    uint32_t format = REPLAY_FORMAT;
    char version[16];
    int32_t tuning[7];
    uint32_t seed;
    uint32_t random_state;
    uint8_t flags; // 1: the menu is shown, 2: the rules stand still for a window away
    uint8_t began; // ReplayBegan
    unsigned char start[2484];
    uint16_t first_record; // the pass that began a game begun from its seed
    std::vector<uint16_t> passes;
    std::vector<REPLAY_CHECKPOINT> checkpoints;
};

// The records, the tuning and the generator as they stand, as a replay's
// start with no passes yet.
REPLAY replay_of_now(bool continued);

// Whether the replay's start is a new game's setup, the one its seed makes.
bool starts_from_seed(const REPLAY &replay);

// Puts the records, the tuning and the generator where the replay starts;
// of a game begun from its seed, plays the rest of the pass that began it,
// so that its passes follow as they do after any other start.
void start_replay(const REPLAY &replay);

// The rules keep the start of every new game as its setup leaves it, with
// how it began (BEGAN_BY_START or BEGAN_AFTER_GAME_OVER), for the recorder:
// the pass goes on to move the player before the recording can begin.
void keep_new_game_start(ReplayBegan began);
const REPLAY &latest_new_game_start();

// The start the seed makes, with the tuning as it stands and the menu and
// focus flags given: what a replay begun from its seed must start from.
// Leaves the game at that start.
REPLAY replay_of_seed(uint32_t seed, ReplayBegan began, uint8_t flags);

// A pass has just been played on `record`: the record joins the replay, and
// every REPLAY_CHECKPOINT_EVERY passes the state's hash with it.
void add_pass(REPLAY &replay, const INPUT_RECORD &record);

// The replay is complete: its last checkpoint holds the state it ends in.
void close_replay(REPLAY &replay);

// A record as the replay keeps it: the actions the rules read.
uint16_t pack_record(const INPUT_RECORD &record);
INPUT_RECORD unpack_record(uint16_t bits);

// A hash of everything the rules run on: the records, the generator, the
// tuning they change and the menu's and screens' state.
uint32_t state_hash();

std::vector<unsigned char> encode_replay(const REPLAY &replay);

// Reads a file image of either version; encoding writes the latest.
// Returns an empty string, or what is wrong with it for a message: not a
// replay, a replay of another format version, or damaged.
std::string decode_replay(const unsigned char *bytes, std::size_t size, REPLAY &replay);
