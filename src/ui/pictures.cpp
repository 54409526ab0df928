// The picture globals, in the order the game constructs them, and the loader
// the shell hands in.
#include "pictures.h"

#include "picture_files.h"

BITMAP *blost;
BITMAP *bmouse;
PALETTE pallete;

Sprite sgreen, sblue, syellow, sred, splayer, strain, sfire, sback;
Button bstart, bend, bresume, boptions, bdaily;

PICTURE_FILES picture_files;
