// Playing the effects and the music, and the sound switch; called by the
// main loop for the rules' events and the M key, and by the save store when
// a game is continued.
#include "sound.h"

#include "../files/options.h"
#include "../../core/events.h"
#include "../../core/game_state.h"

#include <initializer_list>

SAMPLE *seat;
SAMPLE *attact;
SAMPLE *liveup;
MIDI *backsound;

namespace {

bool music_waiting = false; // a game started its music while the sound was off

void play_times(SAMPLE *sample, int times) {
    for (int i = 0; i < times; i++)
        play_effect(sample);
}

// The library's volumes run 0 to 255; the player's steps are even on that
// scale, so 5 is half the loudness of 10 (6 dB down).
int library_volume(int volume) {
    return volume * 255 / MAX_VOLUME;
}

} // namespace

void play_effect(SAMPLE *sample) {
    if (sample && !sound_muted())
        play_sample(sample, library_volume(options.effects_volume), pan, pitch, 0);
}

void set_music_volume(int volume) {
    options.music_volume = volume;
    apply_music_volume();
    keep_options();
}

void set_effects_volume(int volume) {
    options.effects_volume = volume;
    play_effect(seat);
    keep_options();
}

void apply_music_volume() {
    // The digital volume is left alone: the music's synthesizer plays
    // through the same voices as the effects.
    set_volume(-1, library_volume(options.music_volume));
}

void start_music() {
    if (sound_muted())
        music_waiting = true;
    else if (backsound)
        play_midi(backsound, 1);
}

void play_event_sounds() {
    if (events.new_game)
        start_music();
    play_times(seat, events.fruit_eaten);
    play_times(attact, events.shots_hit);
    play_times(liveup, events.lives_gained);
}

bool sound_muted() {
    return options.mute != 0;
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
    keep_options();
}
