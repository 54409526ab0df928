// The pictures, sounds, music, sprites and menu buttons, loaded once at
// start-up by loadfile() and released at shutdown by destory_all().
#pragma once

#include "../ui/Sprite.h"
#include "../ui/button.h"

#include <allegro.h>

extern BITMAP *blost;   // game-over picture, "lost.dat"
extern BITMAP *bmouse;  // mouse pointer, "mouse.dat"
extern PALETTE pallete; // palette of "mouse.dat", the screen palette at 8 bits
extern SAMPLE *seat;    // a fruit collected, "eat.wav"
extern SAMPLE *attact;  // a shot hit the player, "attact.wav"
extern SAMPLE *liveup;  // an extra life, "tada.wav"
extern MIDI *backsound; // the background music, "town.dat"

extern Sprite sgreen, sblue, syellow, sred, splayer, strain, sfire, sback;
extern Button bstart, bend, bresume;

// Loads everything from the working directory, each file only once its bytes
// have passed their check (data_files.h). A missing or damaged "lost.dat" or
// "mouse.dat", or a damaged sprite frame, is reported with allegro_message
// naming the file and stops the loading: false, and the caller must not run
// the game. A missing frame is left out, a missing or damaged sound or music
// is played without, and so is the music when a patch file is damaged.
bool loadfile();

// Releases the sounds, the music, the pointer picture and the sprites' frames;
// called once at shutdown, before allegro_exit().
void destory_all();

// Plays a sound effect at full volume, if it was loaded.
void play_effect(SAMPLE *sample);

// Starts the background music from its beginning, looping, if it was loaded.
void start_music();
