// Pictures of the things that move on the field: the player figure (one frame per
// facing), the trains' locomotive and the trains' shot. All 32 x 32 with a transparent
// surround. Called by make_assets.
#pragma once

#include "indexed_image.h"
#include "shape_painter.h"

// facing: 0 up, 1 right, 2 down, 3 left (the game's direction codes).
IndexedImage draw_player(int facing);
// The same figure painted onto a picture of any size, its 32 x 32 design put where
// `placement` says. The icon is drawn with it.
void paint_player(IndexedImage &image, int facing, const Placement &placement);
// frame 0..2: the wheels turn and the smoke drifts.
IndexedImage draw_train(int frame);
// frame 0..2: the flame flickers; round so it reads the same in every flight direction.
IndexedImage draw_shot(int frame);
