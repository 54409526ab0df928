// New game and level setup, called by the Start button (player_control.cpp),
// by the screens between levels (screens.cpp) and by the save store when
// there is no game to continue.
#include "level_setup.h"

#include "events.h"
#include "game_state.h"
#include "random.h"

#include <cstring>

namespace {

constexpr int START_LIVES = 3;
constexpr int FIRST_EXTRA_LIFE = 8000;
constexpr int FRUIT_MARGIN = 48; // fruit centres keep this far from every edge
constexpr int TRAIN_INSET = 16;  // train centres run this far in from the edges
constexpr int FRUIT_PER_LEVEL = 2;

int rand_in_margin(int32_t size) {
    int r;
    do
        r = game_random() % size;
    while (r <= FRUIT_MARGIN - 1 || r > size - FRUIT_MARGIN);
    return r;
}

void place_train(_TRAIN &t, int32_t fw, int32_t x, int32_t y) {
    t.speed = def_train_speed;
    t.speed2 = def_train_speed2;
    t.fw = fw;
    t.pos.x = x;
    t.pos.y = y;
}

} // namespace

int randx() {
    return rand_in_margin(unit.width);
}

int randy() {
    return rand_in_margin(unit.height);
}

void game_initdata() {
    // Nothing of the game before stays, not even a later level's fruit past
    // this one's: a new game is its seed's alone, so that anyone can make its
    // start again from the seed.
    reset_records();
    unit.level = 0;
    unit.score = 0;
    unit.end = 0;
    unit.pause = 0;
    unit.timer = 0;
    unit.width = SW;
    unit.height = SH;
    player.live = START_LIVES;
    player.maxjy = FIRST_EXTRA_LIFE;
    std::strcpy(unit.name, "Tarvellion");
    unit.fruitmax = def_fruit_count;
    unit.apples = 0;
    start_game_random();
    events.new_game = true;
    game_next();
}

void game_next() {
    unit.level = saturating_add(unit.level, 1);

    player.speed = 0;
    player.speed2 = 0;
    player.speedmax = def_player_speed;
    player.fw = FW_UP;
    player.pos.x = unit.width / 2 - 16;
    player.pos.y = unit.height / 2 - 16;

    const int32_t w = unit.width;
    const int32_t h = unit.height;
    place_train(train[0], FW_RIGHT, TRAIN_INSET, TRAIN_INSET);
    place_train(train[1], FW_LEFT, w - TRAIN_INSET, h - TRAIN_INSET);
    place_train(train[2], FW_UP, TRAIN_INSET, h - TRAIN_INSET);
    place_train(train[3], FW_DOWN, w - TRAIN_INSET, TRAIN_INSET);

    for (_fire &shot : fire)
        shot.live = 0;

    if (unit.fruitmax <= FRUIT_TABLE_SIZE - FRUIT_PER_LEVEL)
        unit.fruitmax += FRUIT_PER_LEVEL;

    for (int i = 0; i < unit.fruitmax; i++) {
        _fruit &f = fruit[i];
        f.level = game_random() % 4 + 1;
        f.score = game_random() % (f.level * 100);
        f.pos.x = randx();
        f.pos.y = randy();
        f.live = -1;
    }
    // The shell shows the next background and saves the game: a crash or a
    // power cut then loses at most the level about to be played.
    events.level_start = true;
}
