// The stages of a pass and the states between them; called by main() for
// every pass of the game. The rules, the screens' order and the input stage
// are the core's one pass (core/pass.h); here the record is gathered, the
// frame composed and presented, and the screens and rests waited out.
//
// The screen always shows the frame composed in the previous pass: the
// player moves last, after the frame is composed.
#include "main_loop.h"

#include "../output/display.h"
#include "high_score_entry.h"
#include "../input/input.h"
#include "options_entry.h"
#include "../files/replay_file.h"
#include "replay_playing.h"
#include "../files/save_file.h"
#include "../output/sound.h"
#include "waits.h"
#include "../world/world_board.h"
#include "../../core/events.h"
#include "../../core/game_state.h"
#include "../../core/input_record.h"
#include "../../core/player_control.h"
#include "../../core/pass.h"
#include "../../core/screens.h"
#include "../../ui/frame.h"
#include "../../ui/level_screens.h"
#include "../../ui/menu.h"
#include "../../ui/pictures.h"

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
bool entry_shown = false; // the high-score screen has a name to take
bool loaded = false;      // Continue loaded the saved game in this pass
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
        drop_typed_keys();
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

// Draws the screen the rules now show. The high-score screen may have
// nothing to show; a replay ends at it.
void show_between_levels() {
    key_waiting = false;
    if (between_levels == SCREEN_HIGH_SCORE) {
        record_game_over();
        entry_shown = !watching_replay() && begin_high_score_entry();
        return;
    }
    draw_level_screen(between_levels);
    show_to_screen();
    begin_wait(wait, pace_of(between_levels).ms, true);
}

// One step of the screen showing: its time, then the key it may wait for.
// Returns how long to sleep before the next step, or 0 once it is over.
double screen_step() {
    handle_display_keys();
    if (between_levels == SCREEN_HIGH_SCORE) {
        if (watching_replay())
            return KEY_POLL_MS;
        return entry_shown ? high_score_entry_step() : 0;
    }
    if (!key_waiting) {
        const double sleep = wait_step(wait);
        if (sleep > 0)
            return sleep;
        const ScreenPace pace = pace_of(between_levels);
        if (pace.clears_keys)
            drop_typed_keys();
        if (!pace.waits_for_key || watching_replay())
            return 0;
        begin_key_wait();
        key_waiting = true;
    }
    if (!key_wait_over())
        return KEY_POLL_MS;
    forget_pressed_keys();
    return 0;
}

// The record the pass plays on: the replay's, or the player's from the
// devices and the menu. Continue before any game exists has the saved game
// loaded first: the file is the shell's.
void take_record() {
    if (watching_replay()) {
        input = current_replay_record();
        return;
    }
    if (take_menu_input())
        open_options_screen();
    loaded = input.resume && !input.start && unit.fruitmax == 0;
    if (loaded) {
        game_load();
        start_music();
    }
}

// Between the rules and the input stage: the rules' sounds, the new level's
// background and save, then the frame, composed before the player moves.
void compose() {
    act_on_events();
    clear_events();
    put_bmp();
    handle_display_keys();
}

// After the input stage: the menu, the sound switch, the events, the
// recording and the keys' rest.
double after_input_stage() {
    if (watching_replay())
        replay_record_taken();
    follow_menu();
    if (input.mute)
        switch_mute();
    act_on_events();
    // A game that began in this pass is recorded: a new one from its setup,
    // a continued one (Continue's new game without a saved one too) from the
    // pass's end; a replay playing is not recorded again.
    if (!watching_replay()) {
        if (game_began || loaded)
            begin_recording(loaded);
        else
            record_pass();
    }
    game_began = false;
    loaded = false;
    const double sleep = begin_rest();
    clear_events();
    return sleep;
}

// The pass from its rules on, on the record taken; it stops at each screen
// between levels for as long as the screen shows.
double go_on() {
    while (step(input, compose) == PASS_SCREEN) {
        act_on_events();
        clear_events();
        show_between_levels();
        const double sleep = screen_step();
        if (sleep > 0) {
            loop_state = SCREENS;
            return sleep;
        }
    }
    loop_state = PLAYING;
    return after_input_stage();
}

} // namespace

double input_stage() {
    take_record();
    take_input(input);
    return after_input_stage();
}

double run_pass() {
    if (options_screen_open())
        return options_entry_step();
    if (loop_state == RESTING)
        return rest_step();
    if (loop_state == SCREENS) {
        const double sleep = screen_step();
        if (sleep > 0)
            return sleep;
        // The screen is over: the pass goes on with what the player holds now.
        gather_input();
        take_record();
        // An entry of the world board chosen to watch plays over the menu,
        // as the demo does, the next game waiting behind it as Esc leaves it.
        if (entry_replay_came())
            input.menu = true;
        return go_on();
    }
    gather_input();
    show_to_screen();
    flash();
    take_record();
    return go_on();
}

void return_to_play() {
    loop_state = PLAYING;
    key_waiting = false;
    rest_plain = rest_sparkle = 0;
}

bool in_play() {
    return loop_state == PLAYING && !options_screen_open();
}
