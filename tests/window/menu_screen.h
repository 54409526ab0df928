// The start menu as the window tests see it: where its buttons stand, how a
// screenshot shows whether it is up, and the clicks and keys that lead into a
// game and out of the program.
#pragma once

#include "real_window.h"
#include "screen_image.h"

#include <functional>

namespace window_test {

// A button's painted box, edges included.
struct Box {
    int left, top, right, bottom;
    int centre_x() const { return (left + right) / 2; }
    int centre_y() const { return (top + bottom) / 2; }
};

// Where the game's 640 x 480 field lies in a screenshot: its scale and the
// screen position of its top-left pixel (fullscreen centres it).
struct FieldView {
    int scale = 1;
    int left = 0;
    int top = 0;
};

// The screen pixels a box of field pixels covers.
Box on_screen(const Box &box, const FieldView &view);

constexpr Box CONTINUE_BOX{280, 170, 360, 194};
constexpr Box START_BOX{280, 200, 360, 224};
constexpr Box END_BOX{280, 230, 360, 254};
constexpr Box OPTIONS_BOX{280, 260, 360, 284};
constexpr Box DAILY_BOX{280, 290, 360, 314};

constexpr Rgb BUTTON_GREY{192, 192, 192};
constexpr Rgb BUTTON_LIGHT{227, 227, 227};
constexpr Rgb CAPTION_BLACK{0, 0, 0};

// How far a colour may stray on screen at any colour depth: 8-bit mode keeps
// 6 bits a channel, 15 and 16 bits 5 or 6, and each rounds its own way back.
constexpr int ANY_DEPTH_TOLERANCE = 8;

// Whether the button's fill, sampled left of its caption (where neither the
// caption nor a pointer resting on the caption can reach), is `colour`.
bool filled_with(const ScreenImage &shot, const Box &box, Rgb colour, int tolerance = 0);
// Pixels of `colour` inside the box.
int count_in(const ScreenImage &shot, const Box &box, Rgb colour, int tolerance = 0);

// All four buttons painted, lit or not.
bool menu_shown(const ScreenImage &shot);
// None of the four buttons painted.
bool menu_hidden(const ScreenImage &shot);
// The same for a field shown at a scale or offset.
std::function<bool(const ScreenImage &)> menu_shown_in(const FieldView &view);
std::function<bool(const ScreenImage &)> menu_hidden_in(const FieldView &view);

// Points at a menu button (in screen pixels) until it lights up, then clicks it.
void press_button(GameRun &run, const Box &button);
// From the start menu of a fresh run into a new game.
void start_game(GameRun &run, const FieldView &view = {});
// From the start menu of a fresh run into the game save.dat holds.
void continue_game(GameRun &run);
// Esc, then the End button; returns how the program ended.
ExitStatus end_game(GameRun &run, const FieldView &view = {});

} // namespace window_test
