// The save file's image of the game records, field by field; called by the
// save store (shell/files/save_file.cpp) and the tools that read saves. The layout
// is fixed field by field, so files move between machines and compilers
// unchanged.
#include "save_codec.h"

#include <cstring>

namespace {

// Walks the file image field by field, either filling it from the records or
// the records from it, so the layout is written down once.
class Cursor {
  public:
    Cursor(unsigned char *bytes, bool writing) : at(bytes), writing(writing) {}

    void int32(int32_t &value) {
        if (writing) {
            const uint32_t v = static_cast<uint32_t>(value);
            for (int i = 0; i < 4; i++)
                at[i] = static_cast<unsigned char>(v >> (8 * i));
        } else {
            uint32_t v = 0;
            for (int i = 0; i < 4; i++)
                v |= static_cast<uint32_t>(at[i]) << (8 * i);
            value = static_cast<int32_t>(v);
        }
        at += 4;
    }

    void raw(char *field, std::size_t size) {
        if (writing)
            std::memcpy(at, field, size);
        else
            std::memcpy(field, at, size);
        at += size;
    }

  private:
    unsigned char *at;
    bool writing;
};

void pos(Cursor &c, POS &p) {
    c.int32(p.x);
    c.int32(p.y);
}

void lay_out(Cursor &c, SavedGame &g) {
    GAME_UNIT &u = g.unit; // bytes 0 .. 291
    c.int32(u.level);
    c.int32(u.score);
    c.int32(u.fruitmax);
    c.int32(u.pause);
    c.int32(u.height);
    c.int32(u.width);
    c.int32(u.end);
    c.int32(u.timer);
    c.int32(u.apples);
    c.raw(u.name, sizeof u.name); // everything after the name's zero byte too

    _PLAYER &p = g.player; // bytes 292 .. 323
    c.int32(p.live);
    c.int32(p.speed);
    c.int32(p.speed2);
    c.int32(p.speedmax);
    c.int32(p.maxjy);
    c.int32(p.fw);
    pos(c, p.pos);

    for (int i = 0; i < TRAIN_COUNT; i++) { // 40 bytes each from 324
        _TRAIN &t = g.train[i];
        c.int32(t.fw);
        pos(c, t.pos);
        c.int32(t.speed);
        c.int32(t.speed2);

        _fire &f = g.fire[i];
        c.int32(f.fw);
        c.int32(f.speed);
        c.int32(f.live);
        pos(c, f.pos);
    }

    for (_fruit &f : g.fruit) { // 20 bytes each from 484
        pos(c, f.pos);
        c.int32(f.score);
        c.int32(f.level);
        c.int32(f.live);
    }
}

constexpr int MIN_FIELD = 96; // the smallest field fruit can be placed on
constexpr int MAX_FIELD = 4096;
constexpr int MAX_SPEED = 1000;
constexpr int MAX_COORDINATE = 100000;

bool within(int32_t value, int32_t low, int32_t high) {
    return value >= low && value <= high;
}

bool is_direction(int32_t fw) {
    return within(fw, FW_UP, FW_LEFT);
}

bool is_speed(int32_t speed) {
    return within(speed, 0, MAX_SPEED);
}

bool is_position(const POS &p) {
    return within(p.x, -MAX_COORDINATE, MAX_COORDINATE) &&
           within(p.y, -MAX_COORDINATE, MAX_COORDINATE);
}

} // namespace

SavedGame records_now() {
    SavedGame g;
    g.unit = unit;
    g.player = player;
    std::memcpy(g.train, train, sizeof train);
    std::memcpy(g.fire, fire, sizeof fire);
    std::memcpy(g.fruit, fruit, sizeof fruit);
    return g;
}

void restore_records(const SavedGame &g) {
    unit = g.unit;
    player = g.player;
    std::memcpy(train, g.train, sizeof train);
    std::memcpy(fire, g.fire, sizeof fire);
    std::memcpy(fruit, g.fruit, sizeof fruit);
}

void encode_save(const SavedGame &game, unsigned char *bytes) {
    SavedGame copy = game;
    Cursor c(bytes, true);
    lay_out(c, copy);
}

void decode_save(const unsigned char *bytes, SavedGame &game) {
    Cursor c(const_cast<unsigned char *>(bytes), false);
    lay_out(c, game);
}

bool save_is_playable(const SavedGame &g) {
    if (!within(g.unit.fruitmax, 1, FRUIT_TABLE_SIZE))
        return false;
    if (!within(g.unit.width, MIN_FIELD, MAX_FIELD) || !within(g.unit.height, MIN_FIELD, MAX_FIELD))
        return false;
    // Any number of lives is playable: the Home and End keys take it anywhere,
    // also while the menu pauses the game, and the rules saturate it.
    if (!is_direction(g.player.fw) || !is_speed(g.player.speed) || !is_speed(g.player.speed2) ||
        !is_speed(g.player.speedmax) || !is_position(g.player.pos))
        return false;
    for (int i = 0; i < TRAIN_COUNT; i++) {
        const _TRAIN &t = g.train[i];
        const _fire &f = g.fire[i];
        if (!is_direction(t.fw) || !is_speed(t.speed) || !is_speed(t.speed2) || !is_position(t.pos))
            return false;
        if (!is_direction(f.fw) || !is_speed(f.speed) || !is_position(f.pos))
            return false;
    }
    for (const _fruit &f : g.fruit)
        if (!is_position(f.pos))
            return false;
    return true;
}
