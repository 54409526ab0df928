// The game's sound: the effects and the music, loaded by loadfile()
// (assets.cpp), played for what the rules report (events.h) at the player's
// volumes, and the M key's switch of all sound; both kept in the options file
// so a new run starts as the last one left.
#pragma once

#include <allegro.h>

extern SAMPLE *seat;    // a fruit collected, "eat.wav"
extern SAMPLE *attact;  // a shot hit the player, "attact.wav"
extern SAMPLE *liveup;  // an extra life, "tada.wav"
extern MIDI *backsound; // the background music, "town.dat"

// Plays a sound effect at the effects' volume, if it was loaded and the
// sound is on.
void play_effect(SAMPLE *sample);

// Sets the music's or the effects' volume (0 to MAX_VOLUME, options.h) and
// keeps it in the options file; the music follows at once, and an effect
// plays at the new volume for the player to hear it.
void set_music_volume(int volume);
void set_effects_volume(int volume);

// Hands the music's volume to the library; start-up calls it once the sound
// is installed.
void apply_music_volume();

// Starts the background music from its beginning, looping, if it was loaded;
// with the sound off, once the sound is switched on.
void start_music();

// The effects and the music for the events of a core call (events.h).
void play_event_sounds();

bool sound_muted();

// Sound off, or on again: the music stops where it is and goes on from there
// (or starts, when a game began while it was off); the options file is
// rewritten. A file that cannot be written is not reported: the choice
// still holds for this run.
void switch_mute();
