// Fuzz target for "setting.ini". Whatever the file holds, the reader must take
// exactly what the one scanf format "%d" x 9 takes, the clamp must leave values
// in the documented ranges alone and bring every other into them, and a game
// must then run on the result in a window of the size the settings ask for.
#include "game_harness.h"

#include "core/events.h"
#include "core/pass.h"
#include "core/screens.h"
#include "core/level_setup.h"
#include "core/player_control.h"
#include "core/game_state.h"
#include "shell/input/input.h"
#include "shell/flow/main_loop.h"
#include "shell/files/settings.h"
#include "shell/flow/waits.h"
#include "ui/frame.h"

#include <allegro.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

constexpr int SETTINGS = 9;
constexpr int PASSES = 48;

std::string settings_path;

struct Range {
    int low, high;
};

// The ranges the README promises, in file order; the colour depth is a set.
constexpr Range DOCUMENTED[SETTINGS] = {
    {0, 1000},   {0, 1000},   {0, 1000}, {0, 1000}, {0, 100}, {8, 32}, {INT32_MIN, INT32_MAX},
    {400, 4096}, {300, 4096},
};

int *const TUNING[SETTINGS] = {&def_train_speed,
                               &DELAY,
                               &def_train_speed2,
                               &def_player_speed,
                               &def_fruit_count,
                               &COLOR_MODE,
                               &WINDOW_MODE,
                               &SW,
                               &SH};

bool documented(int i, int value) {
    if (TUNING[i] == &COLOR_MODE)
        return value == 8 || value == 15 || value == 16 || value == 24 || value == 32;
    return value >= DOCUMENTED[i].low && value <= DOCUMENTED[i].high;
}

void write_file(const uint8_t *data, size_t size) {
    FILE *file = std::fopen(settings_path.c_str(), "wb");
    if (!file || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0)
        fail("can't write " + settings_path);
}

// The values the one format would take from the text, over the defaults. A
// zero byte ends the text here and stops fscanf there: the same values.
void expected_values(const uint8_t *data, size_t size, int *values) {
    const std::string text(reinterpret_cast<const char *>(data), size);
    reset_tuning();
    for (int i = 0; i < SETTINGS; i++)
        values[i] = *TUNING[i];
    std::sscanf(text.c_str(), "%d%d%d%d%d%d%d%d%d", &values[0], &values[1], &values[2], &values[3],
                &values[4], &values[5], &values[6], &values[7], &values[8]);
}

// A pass of the main loop without its frame stages, whose cost grows with the
// window: those run once, after the rules. The screens between levels pass
// at once.
void rules_pass() {
    gather_input();
    while (step(input) == PASS_SCREEN) {
    }
    clear_events();
}

void set_arrow(uint8_t choice) {
    key[KEY_LEFT] = choice == 0;
    key[KEY_RIGHT] = choice == 1;
    key[KEY_UP] = choice == 2;
    key[KEY_DOWN] = choice == 3;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    start_library();
    leap_through_waits();
    settings_path = make_temp_dir() + "/setting.ini";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    int expected[SETTINGS];
    expected_values(data, size, expected);

    write_file(data, size);
    reset_tuning();
    read_settings(settings_path.c_str());
    int read[SETTINGS];
    for (int i = 0; i < SETTINGS; i++) {
        read[i] = *TUNING[i];
        if (read[i] != expected[i])
            fail("setting " + std::to_string(i + 1) + " read as " + std::to_string(read[i]) +
                 ", the format gives " + std::to_string(expected[i]));
    }

    clamp_settings();
    for (int i = 0; i < SETTINGS; i++) {
        const int now = *TUNING[i];
        if (!documented(i, now) || (documented(i, read[i]) && now != read[i]))
            fail("setting " + std::to_string(i + 1) + " read as " + std::to_string(read[i]) +
                 " clamped to " + std::to_string(now));
    }

    // A new game in a window of the size asked for, steered by the file's bytes.
    reset_records();
    use_screen(SW, SH, COLOR_MODE);
    game_initdata();
    for (int pass = 0; pass < PASSES; pass++) {
        set_arrow(size ? data[pass % size] % 5 : 4);
        rules_pass();
        const std::string broken = broken_invariant();
        if (!broken.empty())
            fail("pass " + std::to_string(pass) + ": " + broken);
    }
    set_arrow(4);
    run_pass();
    return 0;
}
