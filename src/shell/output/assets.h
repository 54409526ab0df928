// Loading the game's pictures (ui/pictures.h), sounds and music (sound.h)
// once at start-up with loadfile(), and releasing them at shutdown with
// destory_all().
#pragma once

#include "sound.h"
#include "../../ui/pictures.h"

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
