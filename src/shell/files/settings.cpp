// Reading and sanity-clamping "setting.ini". Called by start-up (main.cpp).
#include "settings.h"

#include "../../core/game_state.h"
#include "../../platform/platform.h"

#include <algorithm>
#include <cstdio>

int read_settings(const char *path) {
    FILE *file = open_regular_file(path);
    if (!file)
        return 0; // most players never write one
    int *const order[] = {&def_train_speed,
                          &DELAY,
                          &def_train_speed2,
                          &def_player_speed,
                          &def_fruit_count,
                          &COLOR_MODE,
                          &WINDOW_MODE,
                          &SW,
                          &SH};
    int count = 0;
    for (int *value : order) {
        int read;
        if (std::fscanf(file, "%d", &read) != 1)
            break;
        *value = read;
        count++;
    }
    std::fclose(file);
    return count;
}

namespace {

// Limits beyond which the game cannot run sensibly. The menu buttons stand at
// fixed pixels reaching x 360 and y 254, so smaller windows would cut them off.
constexpr int MIN_SCREEN_W = 400;
constexpr int MIN_SCREEN_H = 300;
constexpr int MAX_SCREEN_SIDE = 4096;
constexpr int MAX_SPEED = 1000;
constexpr int MAX_DELAY = 1000;

bool is_colour_depth(int bits) {
    return bits == 8 || bits == 15 || bits == 16 || bits == 24 || bits == 32;
}

} // namespace

void clamp_settings() {
    def_fruit_count = std::clamp(def_fruit_count, 0, FRUIT_TABLE_SIZE);
    SW = std::clamp(SW, MIN_SCREEN_W, MAX_SCREEN_SIDE);
    SH = std::clamp(SH, MIN_SCREEN_H, MAX_SCREEN_SIDE);
    DELAY = std::clamp(DELAY, 0, MAX_DELAY);
    def_train_speed = std::clamp(def_train_speed, 0, MAX_SPEED);
    def_train_speed2 = std::clamp(def_train_speed2, 0, MAX_SPEED);
    def_player_speed = std::clamp(def_player_speed, 0, MAX_SPEED);
    if (!is_colour_depth(COLOR_MODE))
        COLOR_MODE = 32;
}
