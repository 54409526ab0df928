// Collisions and scoring, called by the main loop's rules stage.
#include "collisions.h"

#include "screens.h"
#include "../shell/assets.h"

#include <cmath>

namespace {

constexpr int TOUCH_DISTANCE = 20;
constexpr int EXTRA_LIFE_STEP = 20000;

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
        play_effect(seat);
        unit.apples = saturating_add(unit.apples, 1);
    }
}

void hit_fire() {
    for (_fire &shot : fire) {
        if (!shot.live || !touches(shot.pos, player.pos))
            continue;
        shot.live = 0;
        player.live = saturating_add(player.live, -1);
        play_effect(attact);
    }
}

void iswin() {
    bool fruit_left = false;
    for (int i = 0; i < unit.fruitmax; i++)
        if (fruit[i].live)
            fruit_left = true;
    if (!fruit_left)
        showwin();
    if (player.live < 1)
        showlost();
    if (unit.score >= player.maxjy) {
        player.live = saturating_add(player.live, 1);
        player.maxjy = saturating_add(player.maxjy, EXTRA_LIFE_STEP);
        play_effect(liveup);
    }
}
