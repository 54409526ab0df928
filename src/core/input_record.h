// The input record: everything the player asks for in one pass, from the
// keyboard, the mouse and the gamepad together. The shell gathers it once at
// the start of every pass (shell/input/input.cpp) and the menu adds the buttons pressed;
// the rules read nothing else, so a game is the same game again from its
// seed and its records.
#pragma once

struct INPUT_RECORD {
    // Read by the rules. The keys and pad buttons are the player's bindings
    // (the defaults named here).
    bool left, right, up, down; // steering held: arrows, d-pad or stick
    bool menu;                  // Esc, or the menu's key or pad button, held: show the menu
    bool pause;                 // Enter or the pad's button held, not still held from a menu press
    bool faster, slower;        // minus, equals held
    bool more_lives, fewer_lives; // Home, End held
    bool start, end, resume;      // the menu's buttons pressed; end also by the close button
    bool away;                    // the window has lost the keyboard focus
    // Worked by the shell and the menu, never by the rules.
    bool choose;    // Enter or the pad's button newly pressed: presses the lit menu button
    bool menu_up;   // the Up arrow, the up key or the pad's up newly pressed
    bool menu_down; // the Down arrow, the down key or the pad's down newly pressed
    bool mute;      // M or its pad button newly pressed
};

extern INPUT_RECORD input; // this pass's record
