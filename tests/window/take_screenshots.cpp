// take_screenshots DIR: plays the built game in a real window on Xvfb with the
// window harness and saves what a software centre shows of a game - the start
// menu, a level in play and the game-over picture - as menu.png, play.png and
// game-over.png in DIR. `make screenshots` runs it into dist/screenshots.
#include "bmp_reader.h"
#include "crafted_save.h"
#include "menu_screen.h"
#include "real_window.h"

#include <csignal>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>

using namespace window_test;

namespace {

// The game-over panel sits in the middle of the 640 x 480 field.
constexpr int FIELD_WIDTH = 640;
constexpr int FIELD_HEIGHT = 480;
// Its picture is up once nearly all of it shows; the wait after it sprinkles dots
// over the screen, so it is taken at once.
constexpr double PANEL_SHOWN = 0.95;

void save(const ScreenImage &shot, const std::string &path) {
    if (!shot.save_png(path))
        throw std::runtime_error("cannot write " + path);
    std::printf("%s\n", path.c_str());
}

// Whether the screen shows the game-over panel: its opaque pixels where the game
// draws it, in their own colours.
bool shows_panel(const ScreenImage &shot, const IndexedPicture &panel) {
    const int left = (FIELD_WIDTH - panel.image.width()) / 2;
    const int top = (FIELD_HEIGHT - panel.image.height()) / 2;
    int opaque = 0, shown = 0;
    for (int y = 0; y < panel.image.height(); y++)
        for (int x = 0; x < panel.image.width(); x++) {
            const int index = panel.image.at(x, y);
            if (index == 0)
                continue;
            const ::Rgb &c = panel.colours[index];
            opaque++;
            if (shot.at(left + x, top + y).near({c.r, c.g, c.b}, ANY_DEPTH_TOLERANCE))
                shown++;
        }
    return shown >= PANEL_SHOWN * opaque;
}

void take_all(const std::string &directory) {
    {
        GameRun run;
        run.wait_for_window();
        run.wait_for_screen(menu_shown, "the start menu");
        save(run.point_until(
                 START_BOX.centre_x(), START_BOX.centre_y(),
                 [](const ScreenImage &s) {
                     return filled_with(s, START_BOX, BUTTON_LIGHT, ANY_DEPTH_TOLERANCE);
                 },
                 "Start lit under the pointer"),
             directory + "/menu.png");
        press_button(run, START_BOX);
        run.wait_for_screen(menu_hidden, "the game after Start");
        run.hold_key("Right", 700);
        run.hold_key("Down", 500);
        save(run.screenshot(), directory + "/play.png");
        end_game(run);
    }
    {
        const IndexedPicture panel = read_indexed_bmp(TARVELLION_WINDOW_DATA_DIR "/lost.dat");
        SavedGame lost = started_game();
        lost.player.live = 0;
        GameOptions options;
        options.save = save_bytes(lost);
        GameRun run(options);
        run.wait_for_window();
        run.wait_for_screen(menu_shown, "the start menu");
        press_button(run, CONTINUE_BOX);
        save(run.wait_for_screen([&](const ScreenImage &s) { return shows_panel(s, panel); },
                                 "the game-over picture"),
             directory + "/game-over.png");
        run.send_signal(SIGTERM);
        run.wait_exit(10);
    }
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: take_screenshots DIR\n");
        return 2;
    }
    try {
        take_all(argv[1]);
    } catch (const std::exception &error) {
        std::fprintf(stderr, "take_screenshots: %s\n", error.what());
        return 1;
    }
    return 0;
}
