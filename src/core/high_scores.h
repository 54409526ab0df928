// The high-score table: the ten best finished games, each with the player's
// name, the score, the level reached and the date, best first. Pure data:
// ranking, inserting and the file image. The file itself (shell/files/high_score_file.cpp)
// and the screens (ui/high_score_screens.cpp) build on it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

constexpr int HIGH_SCORE_COUNT = 10;
constexpr int PLAYER_NAME_MAX = 12; // characters of a name in the table

struct HIGH_SCORE {
    char name[PLAYER_NAME_MAX + 1]; // 1 .. 12 printable ASCII characters
    int32_t score;                  // points, at least 1
    int32_t level;                  // the level the game ended on, at least 1
    int32_t date;                   // the day it ended, as yyyymmdd
};

struct HIGH_SCORE_TABLE {
    int count;                          // entries in use, 0 .. HIGH_SCORE_COUNT
    HIGH_SCORE entry[HIGH_SCORE_COUNT]; // best first
};

extern HIGH_SCORE_TABLE high_scores; // the player's table, read at start-up

// The place (0 = the best) a game of this score would take, or -1 when it
// does not enter the table: a game of no points never does, and a full
// table's last entry keeps its place against an equal score, since an equal
// score ranks below the older entry.
int high_score_rank(const HIGH_SCORE_TABLE &table, int32_t score);

// Puts the entry in its place, dropping the eleventh; returns the place, or
// -1 when it does not enter.
int insert_high_score(HIGH_SCORE_TABLE &table, const HIGH_SCORE &entry);

// Whether a name can stand in the table: 1 .. 12 characters from space to
// tilde, neither beginning nor ending with a space.
bool is_high_score_name(const char *name);

// Whether the date is a real day of a year from 1970 to 9999, as yyyymmdd.
bool is_high_score_date(int32_t date);

// The table as the file holds it: a first line naming the file, then one line
// per entry, best first: "score level yyyy-mm-dd name".
std::string encode_high_scores(const HIGH_SCORE_TABLE &table);

// Reads a file image. False, leaving `table` empty, for anything the encoder
// would not have written: a wrong first line, a field out of its range, a
// table out of order, more than ten entries, a missing last line break.
bool decode_high_scores(const char *bytes, std::size_t size, HIGH_SCORE_TABLE &table);
