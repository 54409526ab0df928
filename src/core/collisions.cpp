// Collisions and scoring, called by the rules stage (rules_stage.cpp).
#include "collisions.h"

#include "events.h"

#include <cmath>

namespace {

constexpr int TOUCH_DISTANCE = 20;

} // namespace

// Squared in 64 bits: a loaded save may put figures far enough apart to
// overflow 32; on the field itself the result is the same.
bool touches(const POS &a, const POS &b) {
    const int64_t dx = static_cast<int64_t>(a.x) - b.x;
    const int64_t dy = static_cast<int64_t>(a.y) - b.y;
    const int64_t squared = dx * dx + dy * dy;
    return static_cast<int64_t>(std::sqrt(static_cast<double>(squared))) < TOUCH_DISTANCE;
}

void eat_apple() {
    for (int i = 0; i < unit.fruitmax; i++) {
        _fruit &f = fruit[i];
        if (!f.live || !touches(f.pos, player.pos))
            continue;
        f.live = 0;
        unit.score = saturating_add(unit.score, f.score);
        events.fruit_eaten++;
        unit.apples = saturating_add(unit.apples, 1);
    }
}

void hit_fire() {
    for (_fire &shot : fire) {
        if (!shot.live || !touches(shot.pos, player.pos))
            continue;
        shot.live = 0;
        player.live = saturating_add(player.live, -1);
        events.shots_hit++;
    }
}
