// The pictures the game draws: the game-over and pointer pictures, the eight
// sprites and the four menu buttons. The shell loads them once at start-up
// (shell/output/assets.cpp) and releases them at shutdown; the frame, the menu and the
// screens between levels draw them.
#pragma once

#include "Sprite.h"
#include "button.h"

#include <allegro.h>

extern BITMAP *blost;   // game-over picture, "lost.dat"
extern BITMAP *bmouse;  // mouse pointer, "mouse.dat"
extern PALETTE pallete; // palette of "mouse.dat", the screen palette at 8 bits

extern Sprite sgreen, sblue, syellow, sred, splayer, strain, sfire, sback;
extern Button bstart, bend, bresume, boptions, bdaily;
