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
//   menu and focus flags (u8), whether the game was continued (u8), the game
//   records at the start (the save file's 2484 bytes);
//   then the passes as runs: their count (varint), each run a length
//   (varint) and one record (u16, a bit an action);
//   then the checkpoints: their count (varint), each the pass after which
//   it was taken (varint) and the state's hash (u32).
// A new game's start is kept whole as well: the pass that began it has
// already moved the player when the recording starts.
#pragma once

#include "input_record.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr uint32_t REPLAY_FORMAT = 1;

// Passes between two hashes of the state: about eight seconds of play.
constexpr uint32_t REPLAY_CHECKPOINT_EVERY = 256;

struct REPLAY_CHECKPOINT {
    uint32_t pass; // the hash is taken after this many passes
    uint32_t hash;
};

struct REPLAY {
    char version[16];
    int32_t tuning[7];
    uint32_t seed;
    uint32_t random_state;
    uint8_t flags; // 1: the menu is shown, 2: the rules stand still for a window away
    uint8_t continued;
    unsigned char start[2484];
    std::vector<uint16_t> passes;
    std::vector<REPLAY_CHECKPOINT> checkpoints;
};

// The records, the tuning and the generator as they stand, as a replay's
// start with no passes yet.
REPLAY replay_of_now(bool continued);

// Puts the records, the tuning and the generator where the replay starts.
void start_replay(const REPLAY &replay);

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

// Reads a file image. Returns an empty string, or what is wrong with it for
// a message: not a replay, a replay of another format version, or damaged.
std::string decode_replay(const unsigned char *bytes, std::size_t size, REPLAY &replay);
