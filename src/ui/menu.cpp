// Showing and hiding the start menu; called by start-up and the key handling.
#include "menu.h"

#include "../shell/assets.h"
#include "../shell/game_state.h"

bool showmouse = false;

void show_menu(bool b) {
    unit.pause = b ? 1 : 0;
    bstart.Visible(b);
    bend.Visible(b);
    bresume.Visible(b);
    showmouse = b;
}
