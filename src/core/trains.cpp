// Trains and shots, called by the rules stage (rules_stage.cpp).
//
// Trains and shots live on the band 16 .. size - 16. The tests run before the
// step, so a step may carry them past the band by up to speed - 1 pixels.
#include "trains.h"

#include "game_state.h"

namespace {

constexpr int BAND_LOW = 15;   // below-or-at this a coordinate is off the band
constexpr int BAND_INSET = 16; // above size - this a coordinate is off the band
constexpr int LINE_UP = 2;     // how close the player's centre must be to a shot's line

bool lined_up(int32_t a, int32_t b) {
    return a - b >= -LINE_UP && a - b <= LINE_UP;
}

// The rules run in this order in one pass, each on the direction the one
// before left: a train turning at the top or left moves on in the same pass,
// one turning at the bottom or right stands for that pass.
void move_one_train(_TRAIN &t) {
    if (t.fw == FW_UP) {
        if (t.pos.y > BAND_LOW)
            t.pos.y -= t.speed;
        else
            t.fw = FW_DOWN;
    }
    if (t.fw == FW_DOWN) {
        if (t.pos.y > unit.height - BAND_INSET)
            t.fw = FW_UP;
        else
            t.pos.y += t.speed;
    }
    if (t.fw == FW_LEFT) {
        if (t.pos.x > BAND_LOW)
            t.pos.x -= t.speed;
        else
            t.fw = FW_RIGHT;
    }
    if (t.fw == FW_RIGHT) {
        if (t.pos.x > unit.width - BAND_INSET)
            t.fw = FW_LEFT;
        else
            t.pos.x += t.speed;
    }
}

} // namespace

void move_train() {
    for (int i = 0; i < TRAIN_COUNT; i++) {
        _TRAIN &t = train[i];
        move_one_train(t);
        if (t.fw == FW_UP || t.fw == FW_DOWN) {
            if (lined_up(t.pos.y, player.pos.y))
                shoot(i, 0);
        } else if (lined_up(t.pos.x, player.pos.x)) {
            shoot(i, 1);
        }
    }
}

void shoot(int i, int fw) {
    _fire &shot = fire[i];
    if (shot.live)
        return;
    shot.live = -1;
    shot.pos.x = train[i].pos.x;
    shot.pos.y = train[i].pos.y;
    if (fw == 1)
        shot.fw = shot.pos.y < unit.height / 2 ? FW_DOWN : FW_UP;
    if (fw == 0)
        shot.fw = shot.pos.x < unit.width / 2 ? FW_RIGHT : FW_LEFT;
    shot.speed = train[i].speed2;
}

void move_fire() {
    for (_fire &shot : fire) {
        if (!shot.live)
            continue;
        switch (shot.fw) {
        case FW_UP:
            if (shot.pos.y > BAND_LOW)
                shot.pos.y -= shot.speed;
            else
                shot.live = 0;
            break;
        case FW_DOWN:
            if (shot.pos.y > unit.height - BAND_INSET)
                shot.live = 0;
            else
                shot.pos.y += shot.speed;
            break;
        case FW_LEFT:
            if (shot.pos.x > BAND_LOW)
                shot.pos.x -= shot.speed;
            else
                shot.live = 0;
            break;
        case FW_RIGHT:
            if (shot.pos.x > unit.width - BAND_INSET)
                shot.live = 0;
            else
                shot.pos.x += shot.speed;
            break;
        }
    }
}
