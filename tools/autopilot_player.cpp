// The autopilot's steering (autopilot_player.h): the nearest fruit, and out
// of the way of a shot coming along the player's row or column.
#include "autopilot_player.h"

#include "core/game_state.h"

#include <cstdlib>

namespace {

constexpr int SHOT_REACH = 30; // a shot this close to the player's line may touch
constexpr int SHOT_NEAR = 200; // and one this far off along it is on its way

int distance(const POS &a, const POS &b) {
    return std::abs(a.x - b.x) + std::abs(a.y - b.y);
}

// A shot on its way along the row or column of a player standing at `at`,
// coming closer.
bool shot_coming(const _fire &shot, const POS &at) {
    if (!shot.live)
        return false;
    const int dx = at.x - shot.pos.x, dy = at.y - shot.pos.y;
    switch (shot.fw) {
    case FW_UP:
        return std::abs(dx) < SHOT_REACH && dy < 0 && dy > -SHOT_NEAR;
    case FW_DOWN:
        return std::abs(dx) < SHOT_REACH && dy > 0 && dy < SHOT_NEAR;
    case FW_LEFT:
        return std::abs(dy) < SHOT_REACH && dx < 0 && dx > -SHOT_NEAR;
    default:
        return std::abs(dy) < SHOT_REACH && dx > 0 && dx < SHOT_NEAR;
    }
}

// Whether a step that way at top speed would bring a shot onto the player.
bool step_is_safe(int fw) {
    POS at = player.pos;
    const int step = player.speedmax * 2;
    at.x += fw == FW_RIGHT ? step : fw == FW_LEFT ? -step : 0;
    at.y += fw == FW_DOWN ? step : fw == FW_UP ? -step : 0;
    for (const _fire &shot : fire)
        if (shot_coming(shot, at))
            return false;
    return true;
}

void steer(INPUT_RECORD &in, int fw) {
    in.up = fw == FW_UP;
    in.right = fw == FW_RIGHT;
    in.down = fw == FW_DOWN;
    in.left = fw == FW_LEFT;
}

} // namespace

INPUT_RECORD autopilot_record() {
    INPUT_RECORD in{};
    for (const _fire &shot : fire) {
        if (!shot_coming(shot, player.pos))
            continue;
        // Across the shot's path, away from its line, unless the wall is there.
        const bool across = shot.fw == FW_UP || shot.fw == FW_DOWN;
        const int off = across ? player.pos.x - shot.pos.x : player.pos.y - shot.pos.y;
        const int size = across ? unit.width : unit.height;
        const int at = across ? player.pos.x : player.pos.y;
        bool forward = off >= 0;
        if (at > size - 60 || at < 60)
            forward = at < size / 2;
        steer(in, across ? (forward ? FW_RIGHT : FW_LEFT) : (forward ? FW_DOWN : FW_UP));
        return in;
    }
    int nearest = -1;
    for (int i = 0; i < unit.fruitmax; i++)
        if (fruit[i].live && (nearest < 0 || distance(fruit[i].pos, player.pos) <
                                                 distance(fruit[nearest].pos, player.pos)))
            nearest = i;
    if (nearest < 0)
        return in;
    const int dx = fruit[nearest].pos.x - player.pos.x;
    const int dy = fruit[nearest].pos.y - player.pos.y;
    const int along_x = dx < 0 ? FW_LEFT : FW_RIGHT;
    const int along_y = dy < 0 ? FW_UP : FW_DOWN;
    const int first = std::abs(dx) > std::abs(dy) ? along_x : along_y;
    const int second = first == along_x ? along_y : along_x;
    // Waiting is safer than walking into a shot's path.
    if (step_is_safe(first))
        steer(in, first);
    else if (step_is_safe(second) && (second == along_x ? dx : dy) != 0)
        steer(in, second);
    return in;
}
