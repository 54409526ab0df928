// The level's outcome and the order of the screens between levels; the rules
// stage calls iswin(), the main loop (shell/flow/main_loop.cpp) ends each screen.
#include "screens.h"

#include "events.h"
#include "game_state.h"
#include "level_setup.h"

int between_levels = BETWEEN_NONE;

namespace {

constexpr int EXTRA_LIFE_STEP = 20000;

} // namespace

void iswin() {
    bool fruit_left = false;
    for (int i = 0; i < unit.fruitmax; i++)
        if (fruit[i].live)
            fruit_left = true;
    if (!fruit_left)
        show_screen(SCREEN_GREAT);
    else
        check_lives();
}

void check_lives() {
    if (player.live < 1)
        show_screen(SCREEN_LOST);
    else
        check_extra_life();
}

void check_extra_life() {
    if (unit.score >= player.maxjy) {
        player.live = saturating_add(player.live, 1);
        player.maxjy = saturating_add(player.maxjy, EXTRA_LIFE_STEP);
        events.lives_gained++;
    }
}

void show_screen(int screen) {
    between_levels = screen;
}

void screen_done() {
    switch (between_levels) {
    case SCREEN_GREAT:
        show_screen(unit.level % MESSAGE_EVERY == 0 ? SCREEN_GREAT_AGAIN : SCREEN_NEXT_LEVEL);
        break;
    case SCREEN_GREAT_AGAIN:
        show_screen(SCREEN_SEND_SAVE);
        break;
    case SCREEN_SEND_SAVE:
        show_screen(SCREEN_NEXT_LEVEL);
        break;
    case SCREEN_NEXT_LEVEL:
        show_screen(BETWEEN_NONE);
        game_next();
        check_lives();
        break;
    case SCREEN_LOST:
        show_screen(SCREEN_HIGH_SCORE);
        break;
    case SCREEN_HIGH_SCORE:
        show_screen(BETWEEN_NONE);
        game_initdata();
        check_extra_life();
        break;
    default:
        show_screen(BETWEEN_NONE);
        break;
    }
}
