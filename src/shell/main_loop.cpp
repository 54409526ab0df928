// The stages of a pass and the states between them; called by main() for
// every pass of the game.
//
// Every collision and line-up test sees the player where the previous pass
// left it, and the screen always shows the frame composed in the previous
// pass: the player moves last, after the frame is composed.
#include "main_loop.h"

#include "display.h"
#include "high_score_entry.h"
#include "input.h"
#include "options_entry.h"
#include "replay_file.h"
#include "replay_watch.h"
#include "save_file.h"
#include "sound.h"
#include "waits.h"
#include "../core/events.h"
#include "../core/game_state.h"
#include "../core/input_record.h"
#include "../core/player_control.h"
#include "../core/rules_stage.h"
#include "../core/screens.h"
#include "../ui/frame.h"
#include "../ui/level_screens.h"
#include "../ui/menu.h"
#include "../ui/pictures.h"

#include <allegro.h>

namespace {

constexpr double PAUSE_KEY_REST = 500;
constexpr double COMMAND_REST = 100;

// How long each screen between levels shows, and what ends it.
struct ScreenPace {
    double ms;          // the sparkle's time
    bool clears_keys;   // the keys typed meanwhile are dropped after it
    bool waits_for_key; // then it waits for a key
};

ScreenPace pace_of(int screen) {
    switch (screen) {
    case SCREEN_SEND_SAVE:
        return {500, true, true};
    case SCREEN_NEXT_LEVEL:
        return {2000, true, false};
    case SCREEN_LOST:
        return {2000, true, true};
    default:
        return {1500, false, false};
    }
}

enum { PLAYING, RESTING, SCREENS };

int loop_state = PLAYING;
bool game_began = false; // in this pass, new or after a game over
TIMED_WAIT wait;
bool key_waiting = false; // the screen's time is over; it waits for a key
double rest_plain = 0;    // the rest's parts still to come: the pause key's,
double rest_sparkle = 0;  // then the speed and lives keys'

} // namespace

void act_on_events() {
    game_began = game_began || events.new_game;
    play_event_sounds();
    if (events.level_start) {
        sback.AutoStep();
        // A replay's levels are not the player's game.
        if (!watching_replay())
            save_level_start();
    }
}

namespace {

// The rest after the keys: each part ends by dropping the keys typed in it.
bool next_rest_part() {
    if (rest_plain > 0) {
        begin_wait(wait, rest_plain, false);
        rest_plain = 0;
        return true;
    }
    if (rest_sparkle > 0) {
        begin_wait(wait, rest_sparkle, true);
        rest_sparkle = 0;
        return true;
    }
    return false;
}

double rest_step() {
    handle_display_keys();
    for (;;) {
        const double sleep = wait_step(wait);
        if (sleep > 0)
            return sleep;
        clear_keybuf();
        if (!next_rest_part()) {
            loop_state = PLAYING;
            return DELAY;
        }
    }
}

double begin_rest() {
    // The pause shows, or its label goes, at the press rather than after the
    // rest.
    if (events.paused_by_key) {
        show_to_screen();
        put_bmp();
    }
    rest_plain = events.paused_by_key ? PAUSE_KEY_REST : 0;
    rest_sparkle = events.commands * COMMAND_REST;
    if (!next_rest_part())
        return DELAY;
    loop_state = RESTING;
    return rest_step();
}

// Draws the screen the rules now show; the high-score screen may have
// nothing to show, and ends at once.
void show_between_levels() {
    if (between_levels == SCREEN_HIGH_SCORE) {
        record_game_over();
        // A replay ends at its game's high-score screen.
        if (watching_replay())
            return;
        if (!begin_high_score_entry()) {
            screen_done();
            act_on_events();
            clear_events();
        }
        return;
    }
    draw_level_screen(between_levels);
    show_to_screen();
    begin_wait(wait, pace_of(between_levels).ms, true);
    key_waiting = false;
}

// One step of the screens; 0 once they are over.
double screens_step() {
    handle_display_keys();
    while (between_levels != BETWEEN_NONE) {
        if (between_levels == SCREEN_HIGH_SCORE) {
            if (watching_replay())
                return KEY_POLL_MS;
            const double sleep = high_score_entry_step();
            if (sleep > 0)
                return sleep;
        } else if (!key_waiting) {
            const double sleep = wait_step(wait);
            if (sleep > 0)
                return sleep;
            const ScreenPace pace = pace_of(between_levels);
            if (pace.clears_keys)
                clear_keybuf();
            if (pace.waits_for_key) {
                begin_key_wait();
                key_waiting = true;
            }
        }
        if (key_waiting && !watching_replay()) {
            if (!key_wait_over())
                return KEY_POLL_MS;
            forget_pressed_keys();
        }
        key_waiting = false;
        screen_done();
        act_on_events();
        clear_events();
        if (between_levels != BETWEEN_NONE)
            show_between_levels();
    }
    return 0;
}

// The stages after the rules: the next frame, the display's events and the
// input stage.
double compose_and_take_input() {
    put_bmp();
    handle_display_keys();
    return input_stage();
}

} // namespace

double input_stage() {
    bool loading = false;
    if (watching_replay()) {
        // The rules read what the recorded player asked for.
        next_replay_record(input);
    } else {
        take_menu_input();
        // The saved game is the shell's to read: Continue before any game
        // exists loads it before the rules act on the button.
        loading = input.resume && !input.start && unit.fruitmax == 0;
        if (loading)
            game_load();
    }
    do_key_work();
    follow_menu();
    if (input.mute)
        switch_mute();
    act_on_events();
    // A game that began in this pass is recorded from its end on; a replay
    // playing is not recorded again.
    if (!watching_replay()) {
        if (game_began || loading)
            begin_recording(!game_began);
        else
            record_pass();
    }
    game_began = false;
    const double sleep = begin_rest();
    clear_events();
    return sleep;
}

// The screens and the rests read no input: keys pressed during them are
// taken by the first pass after them, as the player left them.
double run_pass() {
    if (options_screen_open())
        return options_entry_step();
    if (loop_state == RESTING)
        return rest_step();
    if (loop_state == SCREENS) {
        const double sleep = screens_step();
        if (sleep > 0)
            return sleep;
        // The screens are over: the pass they interrupted goes on.
        loop_state = PLAYING;
        gather_input();
        finish_rules_stage();
        return compose_and_take_input();
    }
    gather_input();
    show_to_screen();
    flash();
    if (unit.pause == 0) {
        const bool on = run_rules();
        act_on_events();
        clear_events();
        if (!on) {
            loop_state = SCREENS;
            show_between_levels();
            const double sleep = screens_step();
            if (sleep > 0)
                return sleep;
            loop_state = PLAYING;
            finish_rules_stage();
        }
    }
    return compose_and_take_input();
}

void return_to_play() {
    loop_state = PLAYING;
    key_waiting = false;
    rest_plain = rest_sparkle = 0;
}

bool in_play() {
    return loop_state == PLAYING && !options_screen_open();
}
