// The player's bindings: which keyboard key, and which gamepad button, asks
// for each of the game's actions, kept in options.ini (`key_left = LEFT`,
// `pad_pause = 0`) by the options file (options.cpp). The input stage turns
// them into the pass's record (input/input.cpp) and the Options screen
// changes them (flow/options_entry.cpp).
//
// Esc and Enter are the menus' own keys, whatever the bindings say: Esc shows
// the menu in play and goes back or cancels in the menus, Enter presses the lit
// choice; likewise the pad's menu button and its first button. So no binding
// can lock a player out of the menu or the Options screen.
#pragma once

#include <string>

enum GameAction {
    ACTION_UP,
    ACTION_DOWN,
    ACTION_LEFT,
    ACTION_RIGHT,
    ACTION_PAUSE,
    ACTION_MENU,
    ACTION_FASTER,
    ACTION_SLOWER,
    ACTION_MORE_LIVES,
    ACTION_FEWER_LIVES,
    ACTION_SOUND,
    ACTION_FULLSCREEN,
    ACTION_COUNT
};

// A pad binding: a button number (0 is the first), none, or the pad's own
// menu button (Start on a standard pad; gamepad.h's menu_button()).
constexpr int NO_PAD_BUTTON = -1;
constexpr int PAD_MENU_BUTTON = -2;
constexpr int PAD_BUTTONS = 32;
// The button that presses the lit choice in the menus, whatever the bindings.
constexpr int PAD_CHOOSE_BUTTON = 0;

// The action's name on the Options screen: "Left", "One life more".
const char *action_label(int action);

// Steering stays on the d-pad and the stick: only the other actions take a
// pad button.
bool takes_pad_button(int action);

// The library's name of a scancode without its KEY_ prefix ("LEFT", "A",
// "F11"), or "" for none; and back, 0 for a name that is not a key's.
const char *key_name(int scancode);
int key_by_name(const std::string &name);

struct GAME_BINDINGS {
    int keys[ACTION_COUNT];        // the scancode of each action's key
    int pad_buttons[ACTION_COUNT]; // each action's gamepad button, or NO_PAD_BUTTON
};

extern GAME_BINDINGS bindings;

enum BindResult { BIND_KEPT, BIND_SWAPPED, BIND_REFUSED };

// Binds the key to the action. A key another action had is swapped with it:
// that action gets this one's old key, and `other` says which (else -1).
// Esc and Enter are the menus' and never change hands; the one exception is
// Enter for the pause, its own default.
BindResult bind_key(int action, int scancode, int &other);

// The same for a pad button; none is reserved, the menus' buttons keep
// working beside the bindings.
BindResult bind_pad_button(int action, int button, int &other);

// Every key and pad binding back to the game's defaults.
void reset_bindings();

// The options file's lines: takes `key_NAME` and `pad_NAME` lines (false for
// any other name; a value the game cannot use leaves the binding as it was),
// and writes all of them.
bool take_binding_option(const std::string &name, const std::string &value);
std::string binding_option_lines();
