// Frame composition; called by the main loop and the screens between levels.
#include "frame.h"

#include "menu.h"
#include "../shell/assets.h"
#include "../shell/game_state.h"

#include <cstdio>

namespace {

constexpr int ANIMATION_PERIOD = 5; // passes of unit.timer per animation frame

Sprite *fruit_sprite(int32_t kind) {
    switch (kind) {
    case 1:
        return &sgreen;
    case 2:
        return &syellow;
    case 3:
        return &sred;
    case 4:
        return &sblue;
    default:
        return nullptr;
    }
}

} // namespace

void put_bmp() {
    sback.blt(buffer);
    for (int i = 0; i < unit.fruitmax && i < FRUIT_TABLE_SIZE; i++) {
        if (!fruit[i].live)
            continue;
        if (Sprite *sprite = fruit_sprite(fruit[i].level))
            sprite->blt(buffer, fruit[i].pos.x, fruit[i].pos.y);
    }
    splayer.blt(buffer, player.pos.x, player.pos.y);
    for (int i = 0; i < TRAIN_COUNT; i++) {
        strain.blt(buffer, train[i].pos.x, train[i].pos.y);
        if (fire[i].live)
            sfire.blt(buffer, fire[i].pos.x, fire[i].pos.y);
    }
    bstart.Draw(buffer);
    bend.Draw(buffer);
    bresume.Draw(buffer);
    if (showmouse && bmouse)
        draw_sprite(buffer, bmouse, mouse_x, mouse_y);
}

void show_to_screen() {
    char status[256];
    std::snprintf(status, sizeof status,
                  "Game Level: %d     Score: %ld     Apples: %ld      Player Lives: %d", unit.level,
                  static_cast<long>(unit.score), static_cast<long>(unit.apples), player.live);
    textout_ex(buffer, font, status, 10, 10, makecol(255, 255, 255), -1);
    blit(buffer, screen, 0, 0, 0, 0, SCREEN_W, SCREEN_H);
    clear_to_color(buffer, makecol(0, 128, 0));
}

void flash() {
    if (unit.timer % ANIMATION_PERIOD == 0) {
        sgreen.AutoStep();
        sred.AutoStep();
        syellow.AutoStep();
        sblue.AutoStep();
        splayer.Step(player.fw);
        strain.AutoStep();
        sfire.AutoStep();
    }
    bstart.Flash();
    bend.Flash();
    bresume.Flash();
}
