// Working the Options screen: which rows it has, moving between them,
// changing a value, and waiting for the key or pad button to bind. Called by
// the main loop (main_loop.cpp) while the screen is open; opened by the
// menu's Options button (input/input.cpp).
#include "options_entry.h"

#include "../files/bindings.h"
#include "../output/display.h"
#include "endings.h"
#include "../input/gamepad.h"
#include "../input/input.h"
#include "../files/options.h"
#include "../output/sound.h"
#include "../../ui/frame.h"
#include "../../ui/options_screen.h"
#include "../../ui/present.h"

#include <allegro.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Short enough that a tap of a key is seen, long enough not to redraw the
// screen for nothing.
constexpr double STEP_MS = 20;
constexpr int FIRST_CONTROL_ROW = 1; // below the Controls heading

enum RowKind {
    HEADING,
    ACTION,
    RESET_KEYS,
    MUSIC_VOLUME,
    EFFECTS_VOLUME,
    DISPLAY_MODE,
    SCALE,
    DEMO,
    BACK
};

struct Row {
    RowKind kind;
    const char *label; // for the rows that are not an action's
    int action;
};

const std::vector<Row> &rows() {
    static const std::vector<Row> list = [] {
        std::vector<Row> r = {{HEADING, "Controls", -1}};
        for (int a = 0; a < ACTION_COUNT; a++)
            r.push_back({ACTION, nullptr, a});
        r.insert(r.end(), {{RESET_KEYS, "Reset keys", -1},
                           {HEADING, "Sound", -1},
                           {MUSIC_VOLUME, "Music volume", -1},
                           {EFFECTS_VOLUME, "Effects volume", -1},
                           {HEADING, "Display", -1},
                           {DISPLAY_MODE, "Window or fullscreen", -1},
                           {SCALE, "Scale", -1},
                           {HEADING, "Game", -1},
                           {DEMO, "Demo in the menu", -1},
                           {BACK, "Back", -1}});
        return r;
    }();
    return list;
}

bool screen_open = false;
int lit = FIRST_CONTROL_ROW;
int capturing = -1;     // the action waiting for its key, or -1
std::string message;    // what the last binding did, until the next key
bool was_down[KEY_MAX]; // the keys as the step before saw them
int clicked_row = -1;   // the row the left button went down on
int pointer_x = -1, pointer_y = -1;

bool newly(int scancode) {
    return key[scancode] && !was_down[scancode];
}

bool newly_action(int action, int arrow) {
    return newly(arrow) || newly(bindings.keys[action]);
}

std::string pad_text(int action) {
    if (!takes_pad_button(action))
        return "d-pad";
    const int button = bindings.pad_buttons[action];
    if (button == PAD_MENU_BUTTON)
        return "Start";
    return button == NO_PAD_BUTTON ? "-" : "button " + std::to_string(button);
}

std::string value_text(const Row &row) {
    switch (row.kind) {
    case ACTION:
        return key_name(bindings.keys[row.action]);
    case MUSIC_VOLUME:
        return std::to_string(options.music_volume);
    case EFFECTS_VOLUME:
        return std::to_string(options.effects_volume);
    case DISPLAY_MODE:
        return display.fullscreen ? "Fullscreen" : "Window";
    case SCALE:
        return options.scale ? std::to_string(options.scale) : "Automatic";
    case DEMO:
        return options.attract ? "On" : "Off";
    default:
        return "";
    }
}

std::vector<OPTIONS_ROW> shown_rows() {
    std::vector<OPTIONS_ROW> shown;
    for (const Row &row : rows()) {
        if (row.kind == ACTION)
            shown.push_back(
                {action_label(row.action), value_text(row), pad_text(row.action), false});
        else if (row.kind == HEADING && shown.empty())
            shown.push_back({row.label, "Key", "Gamepad", true});
        else
            shown.push_back({row.label, value_text(row), "", row.kind == HEADING});
    }
    return shown;
}

std::string foot_text() {
    if (capturing >= 0)
        return std::string("Press a key") + (takes_pad_button(capturing) ? " or pad button" : "") +
               " for " + action_label(capturing) + " (Esc cancels)";
    if (!message.empty())
        return message;
    return "Up, Down: choose   Left, Right, Enter: change   Esc: back";
}

void move_lit(int step) {
    const int count = static_cast<int>(rows().size());
    do
        lit = (lit + step + count) % count;
    while (rows()[lit].kind == HEADING);
}

// Enter steps a value up, round to 0 after its highest; Left and Right step
// it down or up as far as its ends.
int stepped(int value, int step, int high) {
    if (step == 0)
        return value < high ? value + 1 : 0;
    return std::max(0, std::min(high, value + step));
}

// While it waits for a key, the fullscreen key is one to bind too.
void begin_capture(int action) {
    capturing = action;
    take_display_keys(false);
}

void end_capture() {
    capturing = -1;
    take_display_keys(true);
}

void close_screen() {
    screen_open = false;
    end_capture();
    clear_keybuf();
    forget_pressed_keys();
    // The menu's frame, composed again over what the screen drew.
    put_bmp();
}

// Left (-1), Right (1) or Enter (0) on the lit row.
void change(int step) {
    const Row &row = rows()[lit];
    message.clear();
    switch (row.kind) {
    case ACTION:
        if (step == 0)
            begin_capture(row.action);
        break;
    case RESET_KEYS:
        if (step == 0) {
            reset_bindings();
            keep_options();
            message = "The keys and pad buttons are the game's own again";
        }
        break;
    case MUSIC_VOLUME:
        set_music_volume(stepped(options.music_volume, step, MAX_VOLUME));
        break;
    case EFFECTS_VOLUME:
        set_effects_volume(stepped(options.effects_volume, step, MAX_VOLUME));
        break;
    case DISPLAY_MODE:
        ask_display_switch();
        break;
    case SCALE: {
        const int scale = stepped(options.scale, step, largest_window_scale());
        if (scale != options.scale)
            change_scale(scale);
        break;
    }
    case DEMO:
        options.attract = options.attract ? 0 : 1;
        keep_options();
        break;
    case BACK:
        if (step == 0)
            close_screen();
        break;
    case HEADING:
        break;
    }
}

int first_new_key() {
    for (int k = 1; k < KEY_MAX; k++)
        if (newly(k))
            return k;
    return 0;
}

int first_new_pad_button() {
    for (int b = 0; b < PAD_BUTTONS; b++)
        if (pad.pressed_buttons & (1u << b))
            return b;
    return -1;
}

// What the foot says after a binding: nothing when it was made as asked. Only
// a key is ever refused (the pad's steering rows are never asked for one).
void tell_binding(BindResult result, int other, int scancode) {
    if (result == BIND_SWAPPED) {
        message = std::string("Swapped with ") + action_label(other);
    } else if (result == BIND_REFUSED) {
        const int reserved =
            scancode == KEY_ESC || scancode == KEY_ENTER ? scancode : bindings.keys[capturing];
        message = std::string(key_name(reserved)) + " is kept for the menus";
    }
}

void capture_step() {
    // Esc, or the pad's menu button, cancels.
    if (newly(KEY_ESC) || pad.pressed_start) {
        end_capture();
        return;
    }
    int other = -1;
    const int scancode = first_new_key();
    const int button = first_new_pad_button();
    BindResult result;
    if (scancode)
        result = bind_key(capturing, scancode, other);
    else if (button >= 0 && takes_pad_button(capturing))
        result = bind_pad_button(capturing, button, other);
    else
        return;
    tell_binding(result, other, scancode);
    keep_options();
    end_capture();
}

// A click lights its row and works it as Enter does; the pointer moved
// over a row lights it.
void mouse_step() {
    const int x = field_pointer_x(), y = field_pointer_y();
    const int row = options_row_at(static_cast<int>(rows().size()), x, y);
    const bool moved = x != pointer_x || y != pointer_y;
    pointer_x = x;
    pointer_y = y;
    const bool selectable = row >= 0 && rows()[row].kind != HEADING;
    if (moved && selectable)
        lit = row;
    if ((mouse_b & 1) || take_left_press()) {
        if (clicked_row < 0)
            clicked_row = selectable ? row : -2;
    } else {
        if (clicked_row >= 0 && clicked_row == row) {
            lit = row;
            change(0);
        }
        clicked_row = -1;
    }
}

void navigation_step() {
    if (newly(KEY_ESC) || pad.pressed_start) {
        close_screen();
        return;
    }
    if (newly_action(ACTION_UP, KEY_UP) || pad.pressed_up)
        move_lit(-1);
    if (newly_action(ACTION_DOWN, KEY_DOWN) || pad.pressed_down)
        move_lit(1);
    if (newly_action(ACTION_LEFT, KEY_LEFT) || pad.pressed_left)
        change(-1);
    else if (newly_action(ACTION_RIGHT, KEY_RIGHT) || pad.pressed_right)
        change(1);
    else if ((newly(KEY_ENTER) && !alt_held()) || pad.pressed_button)
        change(0);
    else
        mouse_step();
}

void remember_keys() {
    for (int k = 0; k < KEY_MAX; k++)
        was_down[k] = key[k] != 0;
}

} // namespace

void open_options_screen() {
    screen_open = true;
    lit = FIRST_CONTROL_ROW;
    capturing = -1;
    message.clear();
    clicked_row = (mouse_b & 1) ? -2 : -1;
    pointer_x = field_pointer_x();
    pointer_y = field_pointer_y();
    remember_keys();
    forget_pad_presses();
}

bool options_screen_open() {
    return screen_open;
}

double options_entry_step() {
    if (ending_requested()) {
        close_screen();
        return 0;
    }
    poll_gamepad();
    if (capturing >= 0)
        capture_step();
    else
        navigation_step();
    remember_keys();
    if (!screen_open)
        return 0;
    handle_display_keys();
    draw_options_screen(buffer, shown_rows(), lit, foot_text());
    present_frame(buffer);
    return STEP_MS;
}
