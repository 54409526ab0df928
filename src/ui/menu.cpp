// Showing and hiding the start menu's buttons and moving its highlight;
// called by start-up, the input stage and frame composition (follow_pointer).
#include "menu.h"

#include "pictures.h"
#include "../core/game_state.h"
#include "../core/player_control.h"

int menu_highlight = NO_HIGHLIGHT;
bool saved_game_waiting = false;

namespace {

constexpr int MENU_BUTTONS = 5;

Button *const top_to_bottom[MENU_BUTTONS] = {&bresume, &bstart, &bend, &boptions, &bdaily};

bool shown = false; // as the buttons show it

// Where the pointer was when follow_pointer last looked.
int pointer_x = -1;
int pointer_y = -1;

int pointed_button() {
    for (int i = 0; i < MENU_BUTTONS; i++)
        if (top_to_bottom[i]->Pointed())
            return i;
    return NO_HIGHLIGHT;
}

void light(int which) {
    menu_highlight = which;
    for (int i = 0; i < MENU_BUTTONS; i++)
        top_to_bottom[i]->Highlight(i == which);
}

} // namespace

void follow_menu() {
    const bool coming_up = showmouse && !shown;
    bstart.Visible(showmouse);
    bend.Visible(showmouse);
    bresume.Visible(showmouse);
    boptions.Visible(showmouse);
    bdaily.Visible(showmouse);
    shown = showmouse;
    // The pointer may rest anywhere - the library starts it in the middle of
    // the screen, on End - so the menu comes up with the keyboard's choice
    // lit, and Enter alone goes on playing; the pointer lights another once
    // it moves.
    if (coming_up || !showmouse) {
        pointer_x = mouse_x;
        pointer_y = mouse_y;
        const bool can_continue = unit.fruitmax != 0 || saved_game_waiting;
        light(!showmouse ? NO_HIGHLIGHT : can_continue ? HIGHLIGHT_CONTINUE : HIGHLIGHT_START);
    }
}

void follow_pointer() {
    if (mouse_x == pointer_x && mouse_y == pointer_y)
        return;
    pointer_x = mouse_x;
    pointer_y = mouse_y;
    if (showmouse)
        light(pointed_button());
}

void move_highlight(int step) {
    if (menu_highlight == NO_HIGHLIGHT)
        light(step > 0 ? 0 : MENU_BUTTONS - 1);
    else
        light((menu_highlight + step + MENU_BUTTONS) % MENU_BUTTONS);
}

void light_button(int which) {
    light(which);
}

void press_highlighted() {
    if (menu_highlight != NO_HIGHLIGHT)
        top_to_bottom[menu_highlight]->Press();
}
