// Reading and writing "save.dat", called by shutdown and the endings
// (main.cpp, endings.cpp), by the main loop at the start of every level and
// when Continue is chosen before any game exists (flow/main_loop.cpp).
#include "save_file.h"

#include "player_files.h"
#include "../../core/level_setup.h"
#include "../../core/random.h"
#include "../../platform/platform.h"

#include <allegro.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>

const char *const SAVE_FILE_NAME = "save.dat";

namespace {

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

bool saved_game_playable() {
    unsigned char bytes[SAVE_FILE_SIZE];
    SavedGame saved;
    if (!read_save_file(bytes))
        return false;
    decode_save(bytes, saved);
    return save_is_playable(saved);
}

void game_load() {
    // The menu's pause holds until Continue's press, in this pass's input
    // stage, lets the game go on: the rules do not run on it before.
    const int32_t paused = unit.pause;
    unsigned char bytes[SAVE_FILE_SIZE];
    SavedGame loaded;
    const bool read = read_save_file(bytes);
    if (read)
        decode_save(bytes, loaded);
    if (read && save_is_playable(loaded)) {
        restore_records(loaded);
        unit.end = 0;
        start_game_random();
    } else {
        game_initdata();
    }
    unit.pause = paused;
}
