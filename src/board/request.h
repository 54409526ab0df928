// What a request asks, read from its query: the player's name, the board and
// the day. Pure and bounded, for the server (board_main.cpp) and the fuzz
// target; every answer is either a value within its limits or a reason.
#pragma once

#include <cstdint>
#include <string>

constexpr std::size_t MAX_NAME = 16;
constexpr int DEFAULT_BOARD_LIMIT = 10;
constexpr int MAX_BOARD_LIMIT = 100;

// A name of 1 to 16 printable ASCII characters; "" or the reason it is not.
std::string check_name(const std::string &name);

// A day written YYYY-MM-DD, from 2000 to 2999, to yyyymmdd; 0 when it is no day.
uint32_t parse_day(const std::string &date);

// The day yyyymmdd written YYYY-MM-DD.
std::string day_text(uint32_t yyyymmdd);

struct BOARD_QUERY {
    bool daily;   // today's daily challenge, or the day given; else all time
    uint32_t day; // yyyymmdd of a daily board
    int limit;    // entries at most
};

// kind (all, daily; empty: all), date (daily only; empty: today's, the UTC
// day of `now`), limit (1-100; empty: 10). Returns "" or what is wrong.
std::string parse_board_query(const std::string &kind, const std::string &date,
                              const std::string &limit, int64_t now, BOARD_QUERY &query);
