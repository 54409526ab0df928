// Endings that must save the game; watch_endings() is called by start-up
// (main.cpp), the rest by the main loop, the waits and the key waits.
#include "endings.h"

#include "../output/display.h"
#include "../output/close_button.h"
#include "../../platform/platform.h"
#include "../files/save_file.h"

namespace {

// Runs on whichever thread saw the display go; no display calls from here.
int save_on_session_lost() {
    return write_snapshot() == 0 ? 0 : 1;
}

} // namespace

void watch_endings() {
    catch_ending_signals();
    on_session_lost(save_on_session_lost);
}

bool ended_by_signal() {
    return ending_signal_caught();
}

bool ending_requested() {
    return ending_signal_caught() || close_requested() || display_lost();
}
