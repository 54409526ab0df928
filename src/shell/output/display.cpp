// Graphics modes, the fullscreen switch and the focus pause; start-up opens
// the first mode (window.cpp), the main loop and the waits call
// handle_display_events() and handle_display_keys().
//
// The library reports keys and focus changes on its own thread; the
// callbacks here only set flags, and the mode is switched on the game's own
// thread, between two steps of a pass or of a wait.
#include "display.h"

#include "../files/bindings.h"
#include "close_button.h"
#include "../files/options.h"
#include "../../core/game_state.h"
#include "../../ui/pictures.h"
#include "../../ui/present.h"

#include <allegro.h>

#include <algorithm>
#include <atomic>

GAME_DISPLAY display = {GFX_AUTODETECT_WINDOWED, 0, 0, 0, 0};

namespace {

std::atomic<bool> switch_asked{false};
std::atomic<bool> has_focus{true};
bool lost = false;

// The Options screen waiting for a key to bind takes the fullscreen key too.
std::atomic<bool> display_keys_bound{true};

bool is_display_key(int scancode) {
    if (!display_keys_bound)
        return false;
    return scancode == bindings.keys[ACTION_FULLSCREEN] || (scancode == KEY_ENTER && alt_held());
}

int keep_display_keys_out(int key_and_scancode) {
    return is_display_key(key_and_scancode >> 8) ? 0 : key_and_scancode;
}

void on_focus_in() {
    has_focus = true;
}

void on_focus_out() {
    has_focus = false;
}

// 0 by 0 when the library cannot tell.
void desktop_size(int &w, int &h) {
    if (get_desktop_resolution(&w, &h) != 0)
        w = h = 0;
}

// The scale the player fixed, or 0: the command line over the options file.
int fixed_scale() {
    return display.scale_asked ? display.scale_asked : options.scale;
}

// What set_gfx_mode forgets or resets, given back after every mode change.
// The palette is the game's only once the pictures are loaded; start-up
// loads them after the first mode and sets it then.
void restore_after_mode_change() {
    set_window_title("Tarvellion");
    watch_close_button();
    remove_display_switch_callback(on_focus_in);
    remove_display_switch_callback(on_focus_out);
    set_display_switch_callback(SWITCH_IN, on_focus_in);
    set_display_switch_callback(SWITCH_OUT, on_focus_out);
    if (bitmap_color_depth(screen) == 8 && bmouse) {
        set_palette(pallete);
        clear_to_color(screen, makecol(0, 0, 0));
    }
}

// Opens the mode asked for (again, for a new scale), or else the one before;
// the choice is kept in the options file once it holds.
void change_mode(bool to_fullscreen) {
    BITMAP *shown = copy_shown_field(SW, SH);
    const int before = display.driver;
    if (open_display(to_fullscreen ? GFX_AUTODETECT_FULLSCREEN : GFX_AUTODETECT_WINDOWED) ==
        DISPLAY_OPEN) {
        options.fullscreen = display.fullscreen;
        keep_options();
    } else if (open_display(before) != DISPLAY_OPEN &&
               open_display(GFX_AUTODETECT_WINDOWED) != DISPLAY_OPEN) {
        lost = true;
        allegro_message("Tarvellion can't show its picture any more (%s); the game is saved.",
                        allegro_error);
    }
    if (shown) {
        present_frame(shown);
        destroy_bitmap(shown);
    }
}

} // namespace

int window_scale(int field_w, int field_h, int desktop_w, int desktop_h, int fixed_scale) {
    if (desktop_w <= 0 || desktop_h <= 0)
        return fixed_scale > 0 ? fixed_scale : 1;
    const int largest = largest_fitting_scale(field_w, field_h, desktop_w - WINDOW_DECORATION_W,
                                              desktop_h - WINDOW_DECORATION_H);
    return fixed_scale > 0 ? std::min(fixed_scale, largest) : largest;
}

int first_graphics_driver(int command_line_fullscreen, int settings_read, int settings_driver,
                          int options_fullscreen) {
    constexpr int SETTINGS_DRIVER_POSITION = 7;
    if (command_line_fullscreen >= 0)
        return command_line_fullscreen ? GFX_AUTODETECT_FULLSCREEN : GFX_AUTODETECT_WINDOWED;
    if (settings_read >= SETTINGS_DRIVER_POSITION)
        return settings_driver;
    if (options_fullscreen >= 0)
        return options_fullscreen ? GFX_AUTODETECT_FULLSCREEN : GFX_AUTODETECT_WINDOWED;
    return GFX_AUTODETECT_WINDOWED;
}

DisplayResult open_display(int driver) {
    int desktop_w, desktop_h;
    desktop_size(desktop_w, desktop_h);
    const bool fullscreen = driver == GFX_AUTODETECT_FULLSCREEN;
    // A desktop smaller than the field, or of unknown size, gets the field's
    // own size, as the library's fullscreen modes always had.
    const bool fills_desktop = fullscreen && desktop_w >= SW && desktop_h >= SH;
    const int k = fullscreen ? 1 : window_scale(SW, SH, desktop_w, desktop_h, fixed_scale());
    display.mode_w = fills_desktop ? desktop_w : SW * k;
    display.mode_h = fills_desktop ? desktop_h : SH * k;

    set_color_depth(COLOR_MODE);
    if (set_gfx_mode(driver, display.mode_w, display.mode_h, 0, 0) != 0)
        return DISPLAY_REFUSED;
    // A text mode is set without complaint but leaves nothing to draw on.
    if (SCREEN_W <= 0 || SCREEN_H <= 0)
        return DISPLAY_NO_SCREEN;
    display.driver = driver;
    display.fullscreen =
        fullscreen || (driver != GFX_AUTODETECT_WINDOWED && !is_windowed_mode()) ? 1 : 0;
    view = view_for(SW, SH, SCREEN_W, SCREEN_H, display.fullscreen ? fixed_scale() : k);
    restore_after_mode_change();
    return DISPLAY_OPEN;
}

void watch_display_keys() {
    keyboard_callback = keep_display_keys_out;
}

void display_key_changed(int scancode) {
    if (!(scancode & 0x80) && is_display_key(scancode))
        switch_asked = true;
}

void ask_display_switch() {
    switch_asked = true;
}

void take_display_keys(bool taken) {
    display_keys_bound = taken;
}

int largest_window_scale() {
    int desktop_w, desktop_h;
    desktop_size(desktop_w, desktop_h);
    return window_scale(SW, SH, desktop_w, desktop_h, 0);
}

void change_scale(int scale) {
    options.scale = scale;
    // The player's latest choice wins over the command line's.
    display.scale_asked = 0;
    if (lost)
        keep_options();
    else
        change_mode(display.fullscreen);
}

void handle_display_keys() {
    if (!switch_asked || lost)
        return;
    change_mode(!display.fullscreen);
    // Presses that came while the mode changed (a held key repeating) are
    // not asks for yet another switch.
    switch_asked = false;
}

// In fullscreen the game holds the keyboard: no other window can take the
// focus, and the focus changes its own grab causes mean nothing.
bool window_away() {
    return !has_focus && !display.fullscreen;
}

bool alt_held() {
    return key[KEY_ALT] || key[KEY_ALTGR];
}

bool display_lost() {
    return lost;
}
