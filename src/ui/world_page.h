// The world board's screens after a game over: the question whether to send
// games to the board, asked once, and the World page - the board's best of
// all time beside today's daily challenge, the player's own entry marked,
// one line on how the board answered. The shell fetches what they show and
// works their keys and taps (shell/flow/world_screens.cpp).
#pragma once

#include <allegro.h>

#include <cstdint>
#include <string>
#include <vector>

struct WORLD_ENTRY {
    int place;
    std::string name; // printable, as the board wrote it
    int32_t score;
    int32_t level;
    int64_t id; // the board's, to fetch its replay
};

enum { ALL_TIME_BOARD = 0, DAILY_BOARD = 1, WORLD_BOARDS = 2 };

// The rows each board shows at most.
constexpr int WORLD_ROWS = 10;

struct WORLD_PAGE {
    std::vector<WORLD_ENTRY> boards[WORLD_BOARDS];
    int64_t own_id; // the entry of the game just sent; 0 for none
    int lit_board;  // the lit row's board, and its row; -1 for none
    int lit_row;
    std::string status; // how the board answered, in one line
};

// The question, with "Send my games" (0) or "Don't send" (1) lit.
void draw_send_question(BITMAP *onto, const std::string &board, int lit);
// The choice at a field position: 0, 1, or -1 for none.
int send_choice_at(int x, int y);

void draw_world_page(BITMAP *onto, const WORLD_PAGE &page);
// The entry at a field position, as its board and row; false for none.
bool world_row_at(const WORLD_PAGE &page, int x, int y, int &board, int &row);
