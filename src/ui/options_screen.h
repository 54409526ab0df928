// Drawing the Options screen: a list of rows under a title, one of them lit
// in the menu buttons' colours, each with its current value, and a line at
// the foot that says what the keys do or what the game waits for. The shell
// decides the rows and works them (shell/flow/options_entry.cpp).
#pragma once

#include <allegro.h>

#include <string>
#include <vector>

struct OPTIONS_ROW {
    std::string label; // "Left", "Music volume"; a heading's title
    std::string value; // the key, the volume, "Window"...; a heading's first column
    std::string pad;   // the pad's button for a control; a heading's second column
    bool heading;      // a heading is never lit
};

// Draws the screen over the whole field, with the pointer where it is.
void draw_options_screen(BITMAP *onto, const std::vector<OPTIONS_ROW> &rows, int lit,
                         const std::string &foot);

// The row at a field position, or -1 for none.
int options_row_at(int row_count, int x, int y);
