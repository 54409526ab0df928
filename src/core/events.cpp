// The events of the rules; the rules add to them, the main loop acts on them.
#include "events.h"

GAME_EVENTS events;

void clear_events() {
    events = GAME_EVENTS{};
}
