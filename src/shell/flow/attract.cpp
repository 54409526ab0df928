// The attract mode's demo; the main loop calls follow_attract() after every
// pass (main.cpp).
#include "attract.h"

#include "../input/gamepad.h"
#include "../input/input.h"
#include "main_loop.h"
#include "../files/options.h"
#include "../files/player_files.h"
#include "../files/replay_file.h"
#include "../world/world_board.h"
#include "replay_playing.h"
#include "waits.h"
#include "../../core/game_state.h"
#include "../../core/player_control.h"
#include "../../core/random.h"
#include "../../ui/frame.h"
#include "../../ui/menu.h"
#include "../../ui/pictures.h"

namespace {

const char DEMO_REPLAY[] = "demo.replay"; // in the data folder

bool demo = false;
// The key or tap that chose an entry is still down as it starts: the entry
// ends at input only once the player has let go.
bool let_go = true;
double idle_since = 0;
REPLAY shown; // the demo playing
// The menu as the player left it.
REPLAY menu_state;
uint32_t menu_next_seed = 0;
int menu_background = 0;
int menu_lit = NO_HIGHLIGHT;

// The best game of the table, else the shipped demo; false for neither.
bool choose_demo() {
    return read_replay(player_path("highscore-1.replay"), shown).empty() ||
           read_replay(DEMO_REPLAY, shown).empty();
}

void start_demo(const std::string &label) {
    menu_state = replay_of_now(false);
    menu_next_seed = next_game_seed;
    menu_background = sback.Frame();
    menu_lit = menu_highlight;
    start_replay(shown);
    follow_menu();
    begin_watching(shown);
    demo = true;
    demo_label = label;
}

void end_demo() {
    clear_keybuf();
    forget_pressed_keys();
    stop_watching();
    return_to_play();
    start_replay(menu_state);
    next_game_seed = menu_next_seed;
    sback.Step(menu_background);
    follow_menu();
    light_button(menu_lit);
    demo = false;
    demo_label.clear();
}

} // namespace

void follow_attract() {
    const double now = wait_clock();
    // In the menu the pass's own poll is the one to read: a second poll here
    // would take a press from the next pass, which then never sees it new.
    // The demo's passes read no pad of their own while its screens show.
    if (demo)
        poll_gamepad();
    const bool in_menu = showmouse && in_play();
    // Only the menu can be left alone: elsewhere its time starts anew.
    bool active = (!demo && !in_menu) || player_active();
    if (demo && !let_go) {
        let_go = !active;
        active = false;
    }
    if (active || idle_since == 0)
        idle_since = now;
    if (demo) {
        if (active || replay_over()) {
            end_demo();
            // The menu shows a while before the next demo.
            idle_since = now;
        }
        return;
    }
    std::string label;
    if (in_menu && take_entry_replay(shown, label)) {
        let_go = false;
        start_demo(label);
        idle_since = now;
        return;
    }
    if (in_menu && now - idle_since >= ATTRACT_IDLE_MS && options.attract) {
        if (choose_demo()) {
            let_go = true;
            start_demo("Demo");
        }
        // A demo that cannot be had is not asked for again at every pass.
        idle_since = now;
    }
}

bool showing_demo() {
    return demo;
}
