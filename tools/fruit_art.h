// Pictures of the four fruit the player collects, two frames each: the second frame
// adds a glint so fruit twinkle on the field. Called by make_assets.
#pragma once

#include "indexed_image.h"
#include "shape_painter.h"

enum class Fruit { green_apple, yellow_lemon, red_cherries, blue_grapes };

// A 32 x 32 picture, transparent around the fruit; frame is 0 or 1.
IndexedImage draw_fruit(Fruit fruit, int frame);
// The same fruit painted onto a picture of any size, its 32 x 32 design put where
// `placement` says; frame 1 adds the glint. The icon is drawn with it.
void paint_fruit(IndexedImage &image, Fruit fruit, int frame, const Placement &placement);
