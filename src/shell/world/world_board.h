// The game's side of the world board, all in the background over the
// platform's HTTP call: whether the board answers, sending a finished game,
// the board's two pages and an entry's replay. Start-up looks for the board,
// the main loop calls follow_world_board() every pass, and the world screens
// (flow/world_screens.cpp) read `world` and ask for what they show. Nothing
// of the player's is sent unless the player said yes (options.send_games).
#pragma once

#include "../../core/replay.h"
#include "../../ui/world_page.h"

#include <cstdint>
#include <string>

// What the World page shows: the pages as they last came, the player's
// entry, and how the board answered.
extern WORLD_PAGE world;

// The board set (options.board), if any, is asked for its page, so that a
// game over knows whether there is a board to ask the player about.
void look_for_board();

// Whether the board set has answered as a board does since start-up.
bool board_answers();

// The game just over goes to the board under the name, when it began as a
// new game (a continued one is never eligible); the daily challenge's game
// goes to the day's board.
void send_game(const REPLAY &game, const std::string &name);

// Fetches both pages again: all time and today's daily challenge.
void fetch_world_pages();

// Fetches an entry's replay to watch, labelled; once it has come, decoded,
// the attract mode takes it (once) and plays it.
void fetch_entry_replay(int64_t id, const std::string &label);
bool entry_replay_came();
bool take_entry_replay(REPLAY &replay, std::string &label);
// The player left before it came: it is not played when it does.
void forget_entry_replay();

// Takes the answers that have come in.
void follow_world_board();
