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

// Loads everything from the working directory. A missing "lost.dat" or
// "mouse.dat" is reported with allegro_message and stops the loading; the
// caller must not run the game then (both pictures stay null or bmouse does).
void loadfile();

// Releases the sounds, the music, the pointer picture and the sprites' frames;
// called once at shutdown, before allegro_exit().
void destory_all();

// Plays a sound effect at full volume, if it was loaded.
void play_effect(SAMPLE *sample);

// Starts the background music from its beginning, looping, if it was loaded.
void start_music();
