// The high-score screen's states; run by the main loop (main_loop.cpp) in
// the game-over screens.
#include "high_score_entry.h"

#include "endings.h"
#include "../input/gamepad.h"
#include "../files/high_score_file.h"
#include "../input/input.h"
#include "../files/options.h"
#include "../files/replay_file.h"
#include "waits.h"
#include "world_screens.h"
#include "../world/world_board.h"
#include "../../core/game_state.h"
#include "../../ui/frame.h"
#include "../../ui/high_score_screens.h"

#include <allegro.h>

#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

constexpr double TYPING_FRAME_MS = 20;

enum { ASKING, TYPING, TABLE, WORLD };

int stage = TYPING;
int place = -1;
NAME_ENTRY entry;

// Today as yyyymmdd; a clock the table cannot hold gives the first day it can.
int32_t today() {
    const std::time_t now = std::time(nullptr);
    const std::tm *local = std::localtime(&now);
    const int32_t date =
        local ? (local->tm_year + 1900) * 10000 + (local->tm_mon + 1) * 100 + local->tm_mday : 0;
    return is_high_score_date(date) ? date : 19700101;
}

void remember_name(const char *name) {
    if (std::strcmp(options.name, name) == 0)
        return;
    std::snprintf(options.name, sizeof options.name, "%s", name);
    keep_options();
}

// The game goes to the world board when the player sends games; the World
// page shows next when there is a board.
bool begin_world_stage() {
    if (options.send_games == 1)
        send_game(last_game(), options.name[0] ? options.name : "Player");
    if (!world_page_due())
        return false;
    begin_world_page();
    stage = WORLD;
    return true;
}

// After the question: the name for the table, else the board.
bool begin_entry_or_world() {
    if (place < 0)
        return begin_world_stage();
    begin_name_entry(entry, options.name);
    clear_keybuf();
    forget_pad_presses();
    stage = TYPING;
    return true;
}

// Enters the game under the name taken; false when the screen ends here.
bool enter_game() {
    HIGH_SCORE game{};
    std::snprintf(game.name, sizeof game.name, "%s", entry.name);
    game.score = unit.score;
    game.level = unit.level > 0 ? unit.level : 1;
    game.date = today();
    insert_high_score(high_scores, game);
    const int error = write_high_scores();
    keep_replay_for_entry(place);
    remember_name(entry.name);
    if (ending_requested())
        return false;
    if (options.send_games == 1)
        send_game(last_game(), entry.name);
    draw_table_screen(buffer, place, error);
    show_to_screen();
    clear_keybuf();
    begin_key_wait();
    stage = TABLE;
    return true;
}

double typing_step() {
    draw_name_entry(buffer, entry, place);
    show_to_screen();
    // Without a keyboard (tests, the soak) nothing will be typed.
    if (ending_requested() || (!keyboard_driver && !keypressed()))
        accept_offered_name(entry);
    while (keypressed() && !entry.settled)
        take_name_key(entry, readkey());
    poll_gamepad();
    if (pad.pressed_button && !entry.settled)
        accept_offered_name(entry);
    if (!entry.settled)
        return TYPING_FRAME_MS;
    clear_keybuf();
    if (enter_game())
        return KEY_POLL_MS;
    forget_pressed_keys();
    return 0;
}

} // namespace

bool begin_high_score_entry() {
    place = high_scores_kept() ? high_score_rank(high_scores, unit.score) : -1;
    if (send_question_due()) {
        begin_send_question();
        stage = ASKING;
        return true;
    }
    return begin_entry_or_world();
}

double high_score_entry_step() {
    double sleep = 0;
    if (stage == ASKING) {
        sleep = send_question_step();
        if (sleep == 0 && !ending_requested() && begin_entry_or_world())
            return KEY_POLL_MS;
    } else if (stage == TYPING) {
        return typing_step();
    } else if (stage == TABLE) {
        if (!key_wait_over())
            return KEY_POLL_MS;
        if (!ending_requested() && world_page_due()) {
            begin_world_page();
            stage = WORLD;
            return KEY_POLL_MS;
        }
    } else {
        sleep = world_page_step();
    }
    if (sleep > 0)
        return sleep;
    forget_pressed_keys();
    return 0;
}
