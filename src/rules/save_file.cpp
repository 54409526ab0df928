// Reading and writing "save.dat", called by shutdown and the endings
// (main.cpp, endings.cpp), by level setup at the start of every level and by
// the Continue button (player_control.cpp). The layout is fixed field by
// field, so files move between machines and compilers unchanged.
#include "save_file.h"

#include "level_setup.h"
#include "../platform/platform.h"
#include "../shell/assets.h"
#include "../shell/player_files.h"

#include <allegro.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>

const char *const SAVE_FILE_NAME = "save.dat";

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

// Reads the whole file; false unless it is a regular file of exactly the
// save file's size.
bool read_save_file(unsigned char *bytes) {
    FILE *file = open_regular_file(player_path(SAVE_FILE_NAME));
    if (!file)
        return false;
    // Room for one byte more than a save holds tells a longer file from a save.
    unsigned char whole[SAVE_FILE_SIZE + 1];
    const std::size_t got = std::fread(whole, 1, sizeof whole, file);
    std::fclose(file);
    if (got != SAVE_FILE_SIZE)
        return false;
    std::memcpy(bytes, whole, SAVE_FILE_SIZE);
    return true;
}

// The latest file image of the game in progress, for an ending that cannot
// wait for the main loop: two images, the one `published` names complete
// while the other is written, so a reader on another thread never sees half.
unsigned char snapshots[2][SAVE_FILE_SIZE];
std::atomic<int> published{-1}; // -1: no game to save yet
std::string snapshot_path;

bool level_start_saves = false;

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

bool game_save() {
    if (unit.fruitmax == 0)
        return true;
    unsigned char bytes[SAVE_FILE_SIZE];
    encode_save(records_now(), bytes);
    const int error = replace_file(player_path(SAVE_FILE_NAME), bytes, SAVE_FILE_SIZE);
    if (error)
        allegro_message("Can't save the game to %s: %s", player_path(SAVE_FILE_NAME).c_str(),
                        std::strerror(error));
    return error == 0;
}

void keep_snapshot() {
    if (unit.fruitmax == 0)
        return;
    SavedGame game = records_now();
    // As End leaves them, so a save made on any other way out reads the same.
    game.unit.end = 1;
    game.unit.pause = 0;
    const int next = published.load() == 0 ? 1 : 0;
    encode_save(game, snapshots[next]);
    published.store(next);
}

int write_snapshot() {
    const int latest = published.load();
    if (latest < 0)
        return 0;
    if (snapshot_path.empty())
        snapshot_path = player_path(SAVE_FILE_NAME);
    unsigned char bytes[SAVE_FILE_SIZE];
    std::memcpy(bytes, snapshots[latest], SAVE_FILE_SIZE);
    return replace_file(snapshot_path, bytes, SAVE_FILE_SIZE);
}

void save_at_each_level_start(bool on) {
    level_start_saves = on;
    snapshot_path = player_path(SAVE_FILE_NAME);
}

void save_level_start() {
    if (!level_start_saves)
        return;
    keep_snapshot();
    // A failure stays quiet here; End saves again and says so if that fails too.
    write_snapshot();
}

void game_load() {
    start_music();
    unsigned char bytes[SAVE_FILE_SIZE];
    SavedGame loaded;
    if (!read_save_file(bytes)) {
        game_initdata();
        return;
    }
    decode_save(bytes, loaded);
    if (!save_is_playable(loaded)) {
        game_initdata();
        return;
    }
    restore_records(loaded);
    unit.end = 0;
    unit.pause = 0;
}
