// The display: which graphics mode the game runs in (a window at the scale
// chosen for the desktop, or fullscreen at the desktop's size), switching
// between the two with Alt+Enter or F11 at any moment, and pausing the rules
// while the window has lost the keyboard focus. Start-up opens the first mode
// through setvideo(); the main loop and the waits hand it the player's keys.
#pragma once

// Room a window manager's title bar, borders and panels take around a window,
// kept free when the window's scale is chosen.
constexpr int WINDOW_DECORATION_W = 16;
constexpr int WINDOW_DECORATION_H = 64;

struct GAME_DISPLAY {
    int driver;     // the driver code of the mode set now
    int fullscreen; // 1 while the picture fills the desktop
    int mode_w;     // the size last asked of set_gfx_mode
    int mode_h;
    int scale_asked; // --scale, over the options file's; 0 when not given
};

extern GAME_DISPLAY display;

// The window's scale: the largest at which the field, plus the decoration,
// fits the desktop, at least 1; a fixed scale (not 0) is kept unless larger
// than that. A desktop of unknown size (0) leaves the fixed scale, or 1.
int window_scale(int field_w, int field_h, int desktop_w, int desktop_h, int fixed_scale);

// The driver code of the run's first mode: the command line's choice (-1 when
// none), else the settings file's 7th number if it had one (settings_read is
// how many numbers it gave), else the choice kept in the options file (-1
// when none), else a window.
int first_graphics_driver(int command_line_fullscreen, int settings_read, int settings_driver,
                          int options_fullscreen);

enum DisplayResult { DISPLAY_OPEN, DISPLAY_REFUSED, DISPLAY_NO_SCREEN };

// Sets the colour depth and a mode for the driver code: fullscreen at the
// desktop's size, anything else at the field's size times the window's scale,
// with the view set to match and what the library forgets on a mode change
// (the title, the close button, the focus watch, the 8-bit palette) given
// back. Shows nothing; setvideo() reports a failure.
DisplayResult open_display(int driver);

// From start-up on, Alt+Enter and F11 ask for the other mode and never reach
// the key buffer: a wait for any key goes on waiting through them.
void watch_display_keys();

// A key went down or (scancode | 0x80) up, as the library reports it on its
// own thread: the display keys ask for the switch there. The input stage's
// low-level watch (input/input.h) hands every key on here.
void display_key_changed(int scancode);

// Switches between window and fullscreen when the player asked for it, and
// remembers the new choice in the options file. Called by the waits.
void handle_display_keys();

// Asks for the other mode, as Alt+Enter does; the next handle_display_keys()
// switches.
void ask_display_switch();

// While false, the fullscreen key is an ordinary key (the Options screen is
// waiting for a key to bind) and Alt+Enter too.
void take_display_keys(bool taken);

// The largest scale a window of the field fits the desktop at, at least 1.
int largest_window_scale();

// Sets the scale (0: automatic) and keeps it in the options file; a window
// opens again at it, fullscreen shows the field at it at once.
void change_scale(int scale);

// Whether the window has lost the keyboard focus to another one: the rules
// then stand still (input_record.h). Never in fullscreen.
bool window_away();

// Whether an Alt key is held: Enter then switches the mode and does not pause.
bool alt_held();

// Whether a mode switch failed and no mode could be set again: the game can
// only be saved and ended.
bool display_lost();
