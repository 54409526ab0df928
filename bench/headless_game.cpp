// The benchmarks' stand-in for start-up, using the technique of the unit
// tests' fixture: install_allegro with SYSTEM_NONE, a memory screen and a
// graphics driver record that only answers SCREEN_W and SCREEN_H.
#include "headless_game.h"

#include "core/collisions.h"
#include "core/level_setup.h"
#include "shell/output/assets.h"
#include "core/game_state.h"
#include "core/random.h"
#include "shell/output/window.h"
#include "ui/menu.h"
#include "ui/present.h"

#include <allegro.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

GFX_DRIVER fake_driver; // SCREEN_W and SCREEN_H read its w and h

// set_palette() hands an 8-bit screen's palette to the driver.
void keep_palette(AL_CONST RGB *, int, int, int) {}

void fail(const char *what) {
    std::fprintf(stderr, "benchmark set-up failed: %s\n", what);
    std::exit(1);
}

void load_data_files() {
    // Assets of another depth go first; destory_all leaves the game-over
    // picture to the caller.
    destory_all();
    if (blost)
        destroy_bitmap(blost);
    blost = nullptr;
    char here[4096];
    if (!getcwd(here, sizeof here) || chdir(TARVELLION_DATA_DIR) != 0)
        fail("cannot enter the data directory");
    loadfile();
    if (chdir(here) != 0)
        fail("cannot return from the data directory");
    if (!blost || !bmouse)
        fail("data files missing");
    // play_midi needs the timer driver a system without a display lacks; a
    // new game plays no music then.
    destroy_midi(backsound);
    backsound = nullptr;
}

} // namespace

void use_headless_screen(int width, int height, int depth) {
    use_scaled_screen(width, height, depth, 1);
}

void use_scaled_screen(int field_w, int field_h, int depth, int scale) {
    static bool up = false;
    if (!up) {
        if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0)
            fail("install_allegro");
        up = true;
    }
    if (screen)
        destroy_bitmap(screen);
    if (buffer)
        destroy_bitmap(buffer);
    set_color_depth(depth);
    screen = create_bitmap(field_w * scale, field_h * scale);
    buffer = create_bitmap(field_w, field_h);
    if (!screen || !buffer)
        fail("create_bitmap");
    view = {scale, 0, 0};
    fake_driver.w = screen->w;
    fake_driver.h = screen->h;
    fake_driver.set_palette = keep_palette;
    gfx_driver = &fake_driver;
    clear_to_color(buffer, makecol(0, 128, 0));
    load_data_files();
}

void place_game(int fruit_count) {
    reset_records();
    reset_tuning();
    SW = buffer->w;
    SH = buffer->h;
    def_fruit_count = fruit_count - 2; // the first level adds two
    next_game_seed = 1;
    game_initdata();
    show_menu(false);
    follow_menu();
    player.live = INT32_MAX / 2;
    player.maxjy = INT32_MAX;
    for (int i = 0; i < unit.fruitmax; i++)
        while (touches(fruit[i].pos, player.pos))
            fruit[i].pos = {randx(), randy()};
    relaunch_shots();
}

// Each shot flies outwards from a point between the player and a corner, so
// none can reach the player.
void relaunch_shots() {
    const int qx = unit.width / 4;
    const int qy = unit.height / 4;
    const POS starts[TRAIN_COUNT] = {{qx, qy}, {3 * qx, qy}, {3 * qx, 3 * qy}, {qx, 3 * qy}};
    const int32_t away[TRAIN_COUNT] = {FW_UP, FW_RIGHT, FW_DOWN, FW_LEFT};
    for (int i = 0; i < TRAIN_COUNT; i++)
        fire[i] = {away[i], def_train_speed2, -1, starts[i]};
}
