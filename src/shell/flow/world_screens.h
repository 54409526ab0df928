// The world board's screens at a game over, run by the high-score screen
// (high_score_entry.cpp): the question whether to send games, asked once
// when a board answers, and after the table the World page, from which an
// entry's game plays as the menu's demo does.
#pragma once

// Whether to ask at this game over: a board answers and the player was
// never asked.
bool send_question_due();
void begin_send_question();
// One step of the question; how long until the next, or 0 once answered
// (kept in options.ini).
double send_question_step();

// Whether the World page shows at this game over: the player sends games to
// a board that is set.
bool world_page_due();
void begin_world_page();
// One step of the page; how long until the next, or 0 once left.
double world_page_step();
