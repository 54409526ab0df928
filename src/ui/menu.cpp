// Showing and hiding the start menu and moving its highlight; called by
// start-up, the key handling and frame composition (follow_pointer).
#include "menu.h"

#include "../shell/assets.h"
#include "../shell/game_state.h"

bool showmouse = false;
int menu_highlight = NO_HIGHLIGHT;

namespace {

constexpr int MENU_BUTTONS = 3;

Button *const top_to_bottom[MENU_BUTTONS] = {&bresume, &bstart, &bend};

// Where the pointer was when follow_pointer last looked.
int pointer_x = -1;
int pointer_y = -1;
// The library starts the pointer in the middle of the screen, which is on a
// button: it lights none until the player has moved it.
bool pointer_moved = false;

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

void show_menu(bool b) {
    const bool coming_up = b && !showmouse;
    unit.pause = b ? 1 : 0;
    bstart.Visible(b);
    bend.Visible(b);
    bresume.Visible(b);
    showmouse = b;
    if (coming_up || !b) {
        pointer_x = mouse_x;
        pointer_y = mouse_y;
        light(b && pointer_moved ? pointed_button() : NO_HIGHLIGHT);
    }
}

void follow_pointer() {
    if (mouse_x == pointer_x && mouse_y == pointer_y)
        return;
    pointer_moved = pointer_moved || pointer_x >= 0;
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

void press_highlighted() {
    if (menu_highlight != NO_HIGHLIGHT)
        top_to_bottom[menu_highlight]->Press();
}
