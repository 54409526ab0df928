// The game's sound: the effects and the music, loaded by loadfile()
// (assets.cpp), played for what the rules report (events.h), and the M key's
// switch of all sound, kept in the options file (options.mute) so a new run
// starts as the last one left.
#pragma once

#include <allegro.h>

extern SAMPLE *seat;    // a fruit collected, "eat.wav"
extern SAMPLE *attact;  // a shot hit the player, "attact.wav"
extern SAMPLE *liveup;  // an extra life, "tada.wav"
extern MIDI *backsound; // the background music, "town.dat"

// Plays a sound effect at full volume, if it was loaded and the sound is on.
void play_effect(SAMPLE *sample);

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
