// Every record and tuning value the game shares. All of them live for the
// whole run and are read and written by name from the rest of the game; the
// records unit, player, train, fire and fruit, in this field order, are what
// the save file holds (save_codec.cpp lays them out byte by byte).
#pragma once

#include <cstdint>

// A pixel position; positions of figures are the centres of their pictures.
struct POS {
    int32_t x; // column, growing to the right
    int32_t y; // row, growing downwards
};

// Direction codes for player.fw, train[i].fw and fire[i].fw; also the frame
// number of the player's picture.
enum { FW_UP = 0, FW_RIGHT = 1, FW_DOWN = 2, FW_LEFT = 3 };

constexpr int FRUIT_TABLE_SIZE = 100; // room in the fruit table
constexpr int TRAIN_COUNT = 4;        // trains, and shots: fire[i] belongs to train[i]
constexpr int NAME_SIZE = 256;        // bytes of unit.name

struct GAME_UNIT {
    int32_t level;        // level number, 1 on the first level of a game
    int32_t score;        // points collected in this game
    int32_t fruitmax;     // fruit placed on this level; 0 means no game exists yet
    int32_t pause;        // non-zero: the rules stand still (menu or Enter)
    int32_t height;       // field height in pixels, from SH at each new game
    int32_t width;        // field width in pixels, from SW at each new game
    int32_t end;          // non-zero: the main loop stops after this pass
    int32_t timer;        // passes in which the rules ran; paces the animation
    int32_t apples;       // fruit collected in this game
    char name[NAME_SIZE]; // "Tarvellion", NUL-terminated
};

struct _PLAYER {
    int32_t live;     // lives left
    int32_t speed;    // zeroed at each level, otherwise unused
    int32_t speed2;   // current speed in pixels per pass, 0 .. speedmax
    int32_t speedmax; // top speed, def_player_speed at each level
    int32_t maxjy;    // score that earns the next extra life
    int32_t fw;       // direction of motion and frame of the player's picture
    POS pos;          // centre of the figure
};

struct _TRAIN {
    int32_t fw;     // direction of travel
    POS pos;        // centre
    int32_t speed;  // pixels per pass
    int32_t speed2; // speed given to this train's shots
};

struct _fruit {
    POS pos;       // centre
    int32_t score; // points it is worth
    int32_t level; // kind 1 .. 4, which picks its picture
    int32_t live;  // -1 while on the field, 0 once collected
};

struct _fire {
    int32_t fw;    // direction of flight
    int32_t speed; // pixels per pass
    int32_t live;  // -1 while in flight, 0 otherwise
    POS pos;       // centre
};

extern GAME_UNIT unit;
extern _PLAYER player;
extern _TRAIN train[TRAIN_COUNT];
extern _fire fire[TRAIN_COUNT];
extern _fruit fruit[FRUIT_TABLE_SIZE]; // only the first unit.fruitmax are in play

// Tuning values; the first nine can be replaced from "setting.ini".
extern int def_train_speed;  // train[i].speed at each level
extern int DELAY;            // milliseconds waited after each pass; minus/equals change it
extern int def_train_speed2; // speed of the trains' shots
extern int def_player_speed; // player.speedmax at each level
extern int def_fruit_count;  // unit.fruitmax of a new game before its first level adds 2
extern int COLOR_MODE;       // colour depth in bits per pixel
extern int WINDOW_MODE;      // graphics driver code for set_gfx_mode
extern int SW;               // screen and field width
extern int SH;               // screen and field height
extern int pan;              // pan of every sound effect (128 = centre)
extern int pitch;            // frequency of every sound effect (1000 = as recorded)

// Adds to a counter that a loaded save may have brought near its limit; the
// sum stops at the limit instead of overflowing.
inline int32_t saturating_add(int32_t a, int32_t b) {
    const int64_t sum = static_cast<int64_t>(a) + b;
    if (sum > INT32_MAX)
        return INT32_MAX;
    if (sum < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(sum);
}

// Counts a pass of the rules: unit.timer paces the animation. Wraps rather
// than overflows on a timer a save brought to its limit.
inline void count_pass() {
    unit.timer = static_cast<int32_t>(static_cast<uint32_t>(unit.timer) + 1u);
}

// Puts every record back to its program-start state: all zero.
void reset_records();

// Puts every tuning value back to its built-in default.
void reset_tuning();
