// The main loop on the desktops, Linux and Windows: a pass, its wait, and
// again, on the game's own thread; see platform.h.
#include "platform.h"

int run_game_loop(double (*pass)(), void (*wait)(double ms), int (*finish)()) {
    for (double ms = pass(); ms >= 0; ms = pass())
        wait(ms);
    return finish();
}
