// The game's records and tuning values themselves, with their start values.
// Start-up leaves the records zeroed; a new or loaded game fills them.
#include "game_state.h"

#include <cstring>

GAME_UNIT unit;
_PLAYER player;
_TRAIN train[TRAIN_COUNT];
_fire fire[TRAIN_COUNT];
_fruit fruit[FRUIT_TABLE_SIZE];

int def_train_speed = 1;
int DELAY = 30;
int def_train_speed2 = 5;
int def_player_speed = 5;
int def_fruit_count = 10;
int COLOR_MODE = 32;
int WINDOW_MODE = 2;
int SW = 640;
int SH = 480;
int pan = 128;
int pitch = 1000;

void reset_records() {
    std::memset(&unit, 0, sizeof unit);
    std::memset(&player, 0, sizeof player);
    std::memset(train, 0, sizeof train);
    std::memset(fire, 0, sizeof fire);
    std::memset(fruit, 0, sizeof fruit);
}

void reset_tuning() {
    def_train_speed = 1;
    DELAY = 30;
    def_train_speed2 = 5;
    def_player_speed = 5;
    def_fruit_count = 10;
    COLOR_MODE = 32;
    WINDOW_MODE = 2;
    SW = 640;
    SH = 480;
    pan = 128;
    pitch = 1000;
}
