// The program's entry: start-up, then the main loop handed to the platform
// (a pass at a time), and shutdown.
#include "output/assets.h"
#include "flow/attract.h"
#include "command_line.h"
#include "output/display.h"
#include "flow/endings.h"
#include "files/frame_log.h"
#include "input/gamepad.h"
#include "input/input.h"
#include "files/high_score_file.h"
#include "flow/main_loop.h"
#include "files/options.h"
#include "output/sound.h"
#include "files/player_files.h"
#include "files/replay_file.h"
#include "flow/replay_watch.h"
#include "files/save_file.h"
#include "files/settings.h"
#include "flow/waits.h"
#include "output/window.h"
#include "world/world_board.h"
#include "../core/game_state.h"
#include "../core/player_control.h"
#include "../core/random.h"
#include "../platform/platform.h"
#include "../ui/menu.h"

#include <allegro.h>

#include <ctime>
#include <string>

namespace {

// One pass of the game and what follows it each time; the time to wait before
// the next, or -1 once the game is over. An ending lets the screens between
// levels run out first (every wait ends at once then), so the save holds the
// level they set up.
double game_pass() {
    if (unit.end || (in_play() && (ended_by_signal() || display_lost())))
        return -1;
    frame_log_stamp();
    const double wait = run_pass();
    frame_log_stamp();
    follow_attract();
    follow_world_board();
    if (!showing_demo())
        keep_snapshot();
    return wait;
}

// A game that could not be saved is lost: say so in the exit code too. A
// signal's ending has no one to read a message.
int shut_down() {
    bool saved;
    if (unit.end) {
        saved = game_save();
    } else {
        keep_snapshot();
        saved = write_snapshot() == 0;
    }
    finish_recording();
    destory_all();
    allegro_exit();
    return saved ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[]) {
    prepare_platform();
    const int exit_now = read_command_line(argc, argv);
    if (exit_now >= 0)
        return exit_now;
    if (command_line.verify)
        return verify_replay(command_line.replay);
    // Read before the data folder becomes the working directory: the name is
    // the player's, from where the game was started.
    REPLAY replay;
    if (command_line.replay && !load_replay(command_line.replay, replay))
        return 2;
    frame_log_open();

    // The data is read from the working directory: the library finds its
    // settings (allegro.cfg, which names the patch set the music is played
    // with) there too, and the sprites load by their short names.
    const FileLocations places = locate_files(argv[0]);
    if (!enter_directory(places.data)) {
        tell_player(("Tarvellion can't open its data folder " + places.data + "\n").c_str(), true);
        return 1;
    }
    set_player_dir(places.player);
    set_allegro_resource_path(1, ".");
    // Without a display the library cannot start, and any further call into
    // it would crash.
    if (allegro_init() != 0) {
        tell_player(
            ("Tarvellion needs a graphical display to run: " + std::string(allegro_error) + "\n")
                .c_str(),
            true);
        return 1;
    }
    install_keyboard();
    watch_display_keys();
    install_mouse();
    watch_presses();
    hush_standard_error();
    install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, "");
    restore_standard_error();
    start_gamepad();
    watch_endings();

    const int settings_read = read_settings(player_path("setting.ini").c_str());
    clamp_settings();
    read_options(player_path("options.ini").c_str());
    // Nothing of the player's files is touched while a replay shows.
    keep_changed_options(!command_line.replay);
    apply_music_volume();
    read_high_scores(player_path(HIGH_SCORE_FILE_NAME));
    keep_high_scores(player_path(HIGH_SCORE_FILE_NAME));
    // From here on WINDOW_MODE names the mode this run starts in.
    WINDOW_MODE = first_graphics_driver(command_line.fullscreen, settings_read, WINDOW_MODE,
                                        options.fullscreen);

    display.scale_asked = command_line.scale;
    if (!setvideo())
        return 1;
    if (!loadfile())
        return 1;
    if (command_line.replay) {
        // Nothing of the player's game or files is touched.
        const int status = watch_replay(replay, command_line.replay, command_line.timedemo);
        destory_all();
        allegro_exit();
        return status;
    }
    saved_game_waiting = saved_game_playable();
    show_menu(true);
    follow_menu();
    next_game_seed = static_cast<uint32_t>(std::time(nullptr));
    save_at_each_level_start(true);
    record_games(true);
    look_for_board();

    return run_game_loop(game_pass, delay, shut_down);
}
END_OF_MAIN()
