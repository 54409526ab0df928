// The sound switch; switch_mute() is called by the key handling
// (player_control.cpp), sound_muted() by the sound calls (assets.cpp).
#include "mute.h"

#include "assets.h"
#include "options.h"
#include "player_files.h"

#include <allegro.h>

#include <initializer_list>

namespace {

bool music_waiting = false; // a game started its music while the sound was off

} // namespace

bool sound_muted() {
    return options.mute != 0;
}

void music_held_back() {
    music_waiting = true;
}

void switch_mute() {
    options.mute = options.mute ? 0 : 1;
    if (options.mute) {
        midi_pause();
        for (SAMPLE *sample : {seat, attact, liveup})
            if (sample)
                stop_sample(sample);
    } else if (music_waiting) {
        music_waiting = false;
        start_music();
    } else {
        midi_resume();
    }
    write_options(player_path("options.ini").c_str());
}
