// The program's entry: start-up, the main loop and shutdown.
#include "assets.h"
#include "frame_log.h"
#include "game_state.h"
#include "main_loop.h"
#include "settings.h"
#include "waits.h"
#include "window.h"
#include "../rules/save_file.h"
#include "../ui/menu.h"

#include <allegro.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

int main() {
    frame_log_open();
    // The library reads its settings (allegro.cfg, which names the patch set the
    // music is played with) from beside the executable and from home and system
    // folders only; the game's files, that one included, are in the working
    // directory, so it looks there first.
    set_allegro_resource_path(1, ".");
    // Without a display the library cannot start, and any further call into
    // it would crash.
    if (allegro_init() != 0) {
        std::fprintf(stderr, "Tarvellion needs a graphical display (X11) to run: %s\n",
                     allegro_error);
        return 1;
    }
    install_keyboard();
    install_mouse();
    install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, "");

    read_settings("setting.ini");
    clamp_settings();

    if (!setvideo())
        return 1;
    loadfile();
    if (!blost || !bmouse)
        return 1;
    show_menu(true);
    set_window_title("Tarvellion");
    std::srand(static_cast<unsigned>(std::time(nullptr)));

    while (!unit.end) {
        frame_log_stamp();
        run_pass();
        frame_log_stamp();
        delay(DELAY);
    }

    // A game that could not be saved is lost: say so in the exit code too.
    const bool saved = game_save();
    destory_all();
    allegro_exit();
    return saved ? 0 : 1;
}
END_OF_MAIN()
