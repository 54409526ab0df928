// The board's storage: the entries and their replays in one table, its
// schema versioned and brought up to date on opening. Written on sql.h, so
// that SQLite and PostgreSQL run the same statements; the server
// (board_main.cpp) calls it one request at a time per connection.
#pragma once

#include "sql.h"

#include <cstdint>
#include <string>
#include <vector>

struct NEW_ENTRY {
    std::string name;
    int32_t score, level;
    uint32_t passes, seed;
    bool daily;
    uint32_t day;     // yyyymmdd: the daily challenge's, else the day it came
    int64_t sent;     // seconds since 1970
    std::string hash; // of the body, which is sent once only
    std::string replay;
};

struct BOARD_ENTRY {
    int place;
    int64_t id;
    std::string name;
    int32_t score, level;
    uint32_t day;
};

// Makes the schema or brings it to the latest version; "" or what failed.
std::string prepare_store(SqlConnection &db);

enum StoreResult { STORED, SENT_BEFORE, STORE_FAILED };

// Stores an entry: its id and its place on its board (all time, or its day's).
StoreResult store_entry(SqlConnection &db, const NEW_ENTRY &entry, int64_t &id, int &place);

// The best entries of all time, or of a day's daily challenge; false when the
// database failed.
bool read_board(SqlConnection &db, bool daily, uint32_t day, int limit,
                std::vector<BOARD_ENTRY> &entries);

// An entry's replay; false when there is no such entry or the database failed.
bool read_replay(SqlConnection &db, int64_t id, std::string &replay);
