// Fuzz target for "save.dat". An input is the file, then one byte of keys and
// mouse for each pass to play, then one byte counting those passes (up to 64:
// most of a pass is drawing); an empty input stands for a run without a file.
// The file image must survive decoding and encoding unchanged; Continue must
// load exactly what a playable file holds and start a new game from anything
// else; the game must then run safely on it, and what it saves at the end
// must load back as the same game.
#include "game_harness.h"

#include "shell/files/save_file.h"
#include "core/game_state.h"
#include "shell/flow/main_loop.h"
#include "shell/flow/waits.h"
#include "ui/menu.h"

#include <allegro.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

constexpr size_t MAX_PASSES = 64;
constexpr int PAUSE_OFFSET = 12; // unit.pause in the file
constexpr int END_OFFSET = 24;   // unit.end in the file

std::string work_dir;

void write_save(const uint8_t *data, size_t size) {
    FILE *file = std::fopen(SAVE_FILE_NAME, "wb");
    if (!file || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0)
        fail("can't write the save file");
}

bool read_saved(unsigned char *bytes) {
    FILE *file = std::fopen(SAVE_FILE_NAME, "rb");
    if (!file)
        return false;
    unsigned char whole[SAVE_FILE_SIZE + 1]; // a byte more shows a longer file
    const size_t got = std::fread(whole, 1, sizeof whole, file);
    std::fclose(file);
    std::memcpy(bytes, whole, SAVE_FILE_SIZE);
    return got == SAVE_FILE_SIZE;
}

void records_image(unsigned char *bytes) {
    encode_save(records_now(), bytes);
}

// Fails unless the two file images are equal, naming the first byte that differs.
void expect_same(const unsigned char *got, const unsigned char *expected, const char *what) {
    for (size_t i = 0; i < SAVE_FILE_SIZE; i++)
        if (got[i] != expected[i])
            fail(std::string(what) + ": first difference at byte " + std::to_string(i));
}

void put_int32(unsigned char *bytes, int offset, int32_t value) {
    for (int i = 0; i < 4; i++)
        bytes[offset + i] = static_cast<unsigned char>(static_cast<uint32_t>(value) >> (8 * i));
}

// Where a press on each menu button lands: the middle of Start, Continue, End.
struct Point {
    int x, y;
};
constexpr Point BUTTON_MIDDLES[] = {{320, 212}, {320, 182}, {320, 242}};

// One byte of input for one pass: the low three bits pick an arrow, Enter,
// Home or End (4 is no key), bit 3 is Esc, bits 4-5 press the mouse on a
// menu button (0 lets go where the pointer is).
void set_input(uint8_t b) {
    const int choice = b & 7;
    key[KEY_LEFT] = choice == 0;
    key[KEY_RIGHT] = choice == 1;
    key[KEY_UP] = choice == 2;
    key[KEY_DOWN] = choice == 3;
    key[KEY_ENTER] = choice == 5;
    key[KEY_HOME] = choice == 6;
    key[KEY_END] = choice == 7;
    key[KEY_ESC] = (b & 8) != 0;
    const int button = (b >> 4) & 3;
    mouse_b = button ? 1 : 0;
    if (button) {
        mouse_x = BUTTON_MIDDLES[button - 1].x;
        mouse_y = BUTTON_MIDDLES[button - 1].y;
    }
}

void check_loaded(const uint8_t *data, size_t size) {
    SavedGame stored;
    const bool whole = size == SAVE_FILE_SIZE;
    if (whole)
        decode_save(data, stored);
    if (whole && save_is_playable(stored)) {
        unsigned char expected[SAVE_FILE_SIZE];
        std::memcpy(expected, data, SAVE_FILE_SIZE);
        put_int32(expected, PAUSE_OFFSET, 0);
        put_int32(expected, END_OFFSET, 0);
        unsigned char loaded[SAVE_FILE_SIZE];
        records_image(loaded);
        expect_same(loaded, expected, "a playable save did not load as stored");
    } else if (unit.level != 1 || unit.score != 0 || unit.apples != 0 ||
               unit.fruitmax != def_fruit_count + 2) {
        fail("an unusable save did not start a new game");
    }
}

// Saves as shutdown does and loads the file back as the next run would.
void check_save_round_trip() {
    game_save();
    unsigned char saved[SAVE_FILE_SIZE];
    unsigned char expected[SAVE_FILE_SIZE];
    if (!read_saved(saved))
        fail("the game was not saved");
    records_image(expected);
    expect_same(saved, expected, "the save file differs from the records");
    reset_records();
    game_load();
    put_int32(expected, PAUSE_OFFSET, 0);
    put_int32(expected, END_OFFSET, 0);
    unsigned char loaded[SAVE_FILE_SIZE];
    records_image(loaded);
    expect_same(loaded, expected, "a save the game wrote did not load back as the same game");
}

void run(const uint8_t *data, size_t size) {
    const size_t passes = size ? std::min({size_t{data[size - 1]}, MAX_PASSES, size - 1}) : 0;
    const size_t file_size = size ? size - 1 - passes : 0;
    if (file_size == SAVE_FILE_SIZE) {
        SavedGame decoded;
        unsigned char encoded[SAVE_FILE_SIZE];
        decode_save(data, decoded);
        encode_save(decoded, encoded);
        expect_same(encoded, data, "decoding and encoding changed the file image");
    }

    if (size)
        write_save(data, file_size);
    else
        unlink(SAVE_FILE_NAME);

    // A fresh run: Continue before any game loads the file.
    reset_records();
    reset_tuning();
    mouse_x = mouse_y = mouse_b = 0;
    game_load();
    show_menu(false);
    follow_menu();
    check_loaded(data, file_size);

    const uint8_t *keys = data + file_size;
    // The rules may meet a loaded game's figures anywhere a playable file
    // allows; from the first new level on they must keep them in their bands.
    const int32_t loaded_level = unit.level;
    for (size_t pass = 0; pass < passes && !unit.end; pass++) {
        set_input(keys[pass]);
        run_pass();
        if (unit.fruitmax < 1 || unit.fruitmax > FRUIT_TABLE_SIZE)
            fail("fruitmax " + std::to_string(unit.fruitmax));
        if (unit.level != loaded_level) {
            const std::string broken = broken_invariant();
            if (!broken.empty())
                fail("pass " + std::to_string(pass) + ": " + broken);
        }
    }
    set_input(4);
    check_save_round_trip();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    start_library();
    leap_through_waits();
    // The smallest window the settings allow: the frame stages cost the least,
    // and the figures of a saved 640 x 480 game run off its edges.
    use_screen(400, 300, 32);
    work_dir = make_temp_dir();
    load_assets_in(work_dir);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    in_directory(work_dir, [&] { run(data, size); });
    return 0;
}
