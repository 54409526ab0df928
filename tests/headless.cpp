// The headless fixture shared by the unit tests, and the stand-in for the
// library's music player that every unit test runs with.
#include "headless.h"

#include "core/events.h"
#include "core/game_state.h"
#include "core/screens.h"
#include "shell/output/assets.h"
#include "shell/files/data_files.h"
#include "shell/input/input.h"
#include "shell/flow/main_loop.h"
#include "shell/flow/waits.h"
#include "shell/output/window.h"
#include "ui/menu.h"

#include <cerrno>
#include <cstdlib>
#include <initializer_list>
#include <unistd.h>

namespace {

GFX_DRIVER fake_driver; // w and h answer SCREEN_W and SCREEN_H

// set_palette() hands an 8-bit screen's palette to the driver; the memory
// screen has nothing to do with it.
void keep_palette(AL_CONST RGB *, int, int, int) {}

void bring_up_library() {
    static bool up = false;
    if (up)
        return;
    ASSERT_EQ(install_allegro(SYSTEM_NONE, &errno, atexit), 0);
    up = true;
}

} // namespace

MusicRequest last_music;

int play_midi(MIDI *midi, int loop) {
    last_music = {midi, loop};
    return 0;
}

double key_work() {
    const double start = clock_ms();
    gather_input();
    double wait = input_stage();
    while (!in_play()) {
        delay(wait);
        wait = run_pass();
    }
    return clock_ms() - start;
}

const char *data_dir() {
    return TARVELLION_DATA_DIR;
}

void Headless::SetUp() {
    bring_up_library();
    reset_records();
    reset_tuning();
    showmouse = false;
    focus_paused = false;
    between_levels = BETWEEN_NONE;
    clear_events();
    use_checked_pictures();
    for (int k = 0; k < KEY_MAX; k++)
        key[k] = 0;
    mouse_x = mouse_y = mouse_b = 0;
    last_music = {};
    use_screen(640, 480, 32);
}

void Headless::use_screen(int width, int height, int depth) {
    release_screen();
    set_color_depth(depth);
    screen = create_bitmap(width, height);
    ASSERT_NE(screen, nullptr);
    fake_driver.w = width;
    fake_driver.h = height;
    fake_driver.set_palette = keep_palette;
    gfx_driver = &fake_driver;
    buffer = create_bitmap(width, height);
    ASSERT_NE(buffer, nullptr);
    clear_to_color(buffer, makecol(0, 128, 0));
}

void Headless::load_assets() {
    release_assets();
    char here[4096];
    ASSERT_NE(getcwd(here, sizeof here), nullptr);
    ASSERT_EQ(chdir(data_dir()), 0);
    loadfile();
    ASSERT_EQ(chdir(here), 0);
    assets_loaded = true;
}

void Headless::release_screen() {
    if (screen)
        destroy_bitmap(screen);
    if (buffer)
        destroy_bitmap(buffer);
    screen = nullptr;
    buffer = nullptr;
    gfx_driver = nullptr;
}

// destory_all() leaves the game-over picture to the end of the process.
void Headless::release_assets() {
    if (!assets_loaded)
        return;
    destory_all();
    destroy_bitmap(blost);
    blost = nullptr;
    assets_loaded = false;
}

void Headless::TearDown() {
    release_assets();
    for (Button *b : {&bstart, &bend, &bresume})
        b->Visible(false);
    release_screen();
}

Rgb pixel_rgb(BITMAP *bitmap, int x, int y) {
    const int depth = bitmap_color_depth(bitmap);
    const int c = getpixel(bitmap, x, y);
    return {getr_depth(depth, c), getg_depth(depth, c), getb_depth(depth, c)};
}

std::ostream &operator<<(std::ostream &out, const Rgb &c) {
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}
