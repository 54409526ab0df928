// Showing the field on the screen at an integer scale: every field pixel a
// k x k block, the field centred where the screen is larger (fullscreen).
// show_to_screen() presents each frame through here, the sparkle wait draws
// its dots through here, the buttons and the pointer picture read the pointer
// through here, and the display module sets the view after each mode change.
#pragma once

#include <allegro.h>

constexpr int MAX_SCALE = 16; // the largest picture scale a player can ask for

// Where the field lies on the screen. Only the display module writes it.
struct VIEW {
    int scale; // screen pixels per field pixel, along each axis
    int left;  // screen column of the field's first column
    int top;   // screen row of the field's first row
};

extern VIEW view; // {1, 0, 0} until a mode is set: the field is the screen

// The largest scale at which a field of this size fits the area, at least 1.
int largest_fitting_scale(int field_w, int field_h, int area_w, int area_h);

// The view for a screen of this size: the wanted scale (0 for the largest
// that fits), brought down to what fits, with the field centred.
VIEW view_for(int field_w, int field_h, int screen_w, int screen_h, int wanted_scale);

// Copies the frame to the screen at view.scale, its top-left pixel at
// (view.left, view.top). Nothing happens without a screen.
void present_frame(BITMAP *frame);

// Copies from into to at scale k with from's top-left pixel at (left, top):
// each row of from is widened once and then copied k - 1 times. The block must
// lie within to and both must be of one colour depth; otherwise the library's
// stretch_blit does the work.
void scale_blit(BITMAP *from, BITMAP *to, int k, int left, int top);

// Colours one field pixel on the screen, as a block of the view's scale.
void draw_field_dot(int x, int y, int colour);

// A copy of the field as the screen shows it now (its frame, with any dots
// of the sparkle wait), read back from the screen; null without a screen.
BITMAP *copy_shown_field(int field_w, int field_h);

// Whether the left button went down since the last pass, let go again or
// not: the buttons take a tap shorter than a pass as a press. The input stage
// sets it at the start of every pass (shell/input/input.cpp).
extern bool left_button_pressed;

// The pointer in field pixels: its screen position less the field's offset,
// divided by the scale (rounded down, so the border left of or above the
// field maps to negative positions).
int field_pointer_x();
int field_pointer_y();
