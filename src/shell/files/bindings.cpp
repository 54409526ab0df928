// The bindings' table, their defaults and names, the swap on a conflict and
// their lines in options.ini; called by the options file, the input stage and
// the Options screen.
#include "bindings.h"

#include <allegro.h>

#include <cstdlib>
#include <cstring>

GAME_BINDINGS bindings;

namespace {

struct ActionInfo {
    const char *label;
    const char *option; // after key_ and pad_ in the file
    int key;            // the default key
    int pad;            // the default pad button
};

const ActionInfo ACTIONS[ACTION_COUNT] = {
    {"Up", "up", KEY_UP, NO_PAD_BUTTON},
    {"Down", "down", KEY_DOWN, NO_PAD_BUTTON},
    {"Left", "left", KEY_LEFT, NO_PAD_BUTTON},
    {"Right", "right", KEY_RIGHT, NO_PAD_BUTTON},
    {"Pause", "pause", KEY_ENTER, 0},
    {"Menu", "menu", KEY_ESC, PAD_MENU_BUTTON},
    {"Faster", "faster", KEY_MINUS, NO_PAD_BUTTON},
    {"Slower", "slower", KEY_EQUALS, NO_PAD_BUTTON},
    {"One life more", "more_lives", KEY_HOME, NO_PAD_BUTTON},
    {"One life less", "fewer_lives", KEY_END, NO_PAD_BUTTON},
    {"Sound on/off", "sound", KEY_M, NO_PAD_BUTTON},
    {"Fullscreen", "fullscreen", KEY_F11, NO_PAD_BUTTON},
};

// Indexed by scancode: the library numbers its keys 1 to KEY_MAX - 1 in
// this order.
const char *const KEY_NAMES[KEY_MAX] = {
    "",          "A",          "B",          "C",          "D",         "E",          "F",
    "G",         "H",          "I",          "J",          "K",         "L",          "M",
    "N",         "O",          "P",          "Q",          "R",         "S",          "T",
    "U",         "V",          "W",          "X",          "Y",         "Z",          "0",
    "1",         "2",          "3",          "4",          "5",         "6",          "7",
    "8",         "9",          "0_PAD",      "1_PAD",      "2_PAD",     "3_PAD",      "4_PAD",
    "5_PAD",     "6_PAD",      "7_PAD",      "8_PAD",      "9_PAD",     "F1",         "F2",
    "F3",        "F4",         "F5",         "F6",         "F7",        "F8",         "F9",
    "F10",       "F11",        "F12",        "ESC",        "TILDE",     "MINUS",      "EQUALS",
    "BACKSPACE", "TAB",        "OPENBRACE",  "CLOSEBRACE", "ENTER",     "COLON",      "QUOTE",
    "BACKSLASH", "BACKSLASH2", "COMMA",      "STOP",       "SLASH",     "SPACE",      "INSERT",
    "DEL",       "HOME",       "END",        "PGUP",       "PGDN",      "LEFT",       "RIGHT",
    "UP",        "DOWN",       "SLASH_PAD",  "ASTERISK",   "MINUS_PAD", "PLUS_PAD",   "DEL_PAD",
    "ENTER_PAD", "PRTSCR",     "PAUSE",      "ABNT_C1",    "YEN",       "KANA",       "CONVERT",
    "NOCONVERT", "AT",         "CIRCUMFLEX", "COLON2",     "KANJI",     "EQUALS_PAD", "BACKQUOTE",
    "SEMICOLON", "COMMAND",    "UNKNOWN1",   "UNKNOWN2",   "UNKNOWN3",  "UNKNOWN4",   "UNKNOWN5",
    "UNKNOWN6",  "UNKNOWN7",   "UNKNOWN8",   "LSHIFT",     "RSHIFT",    "LCONTROL",   "RCONTROL",
    "ALT",       "ALTGR",      "LWIN",       "RWIN",       "MENU",      "SCRLOCK",    "NUMLOCK",
    "CAPSLOCK",
};
static_assert(KEY_CAPSLOCK == KEY_MAX - 1 && KEY_F11 == 57 && KEY_LSHIFT == 115,
              "the names follow the library's scancodes");

bool reserved_for_menus(int action, int scancode) {
    if (scancode == KEY_ESC)
        return true;
    return scancode == KEY_ENTER && action != ACTION_PAUSE;
}

bool valid_action(int action) {
    return action >= 0 && action < ACTION_COUNT;
}

// Binds `value` to the action in `table`, swapping with whichever action had it.
int swap_into(int *table, int action, int value) {
    int other = -1;
    for (int a = 0; a < ACTION_COUNT; a++)
        if (a != action && table[a] == value)
            other = a;
    if (other >= 0)
        table[other] = table[action];
    table[action] = value;
    return other;
}

bool parse_pad_button(const std::string &text, int &button) {
    if (text == "none") {
        button = NO_PAD_BUTTON;
        return true;
    }
    if (text == "start") {
        button = PAD_MENU_BUTTON;
        return true;
    }
    if (text.empty() || text.size() > 2 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    button = std::atoi(text.c_str());
    return button < PAD_BUTTONS;
}

std::string pad_button_text(int button) {
    if (button == PAD_MENU_BUTTON)
        return "start";
    return button == NO_PAD_BUTTON ? "none" : std::to_string(button);
}

} // namespace

const char *action_label(int action) {
    return valid_action(action) ? ACTIONS[action].label : "";
}

bool takes_pad_button(int action) {
    return valid_action(action) && action > ACTION_RIGHT;
}

const char *key_name(int scancode) {
    return scancode > 0 && scancode < KEY_MAX ? KEY_NAMES[scancode] : "";
}

int key_by_name(const std::string &name) {
    for (int k = 1; k < KEY_MAX; k++)
        if (name == KEY_NAMES[k])
            return k;
    return 0;
}

BindResult bind_key(int action, int scancode, int &other) {
    other = -1;
    if (!valid_action(action) || key_name(scancode)[0] == '\0' ||
        reserved_for_menus(action, scancode))
        return BIND_REFUSED;
    // Esc and Enter would change hands in a swap.
    for (int a = 0; a < ACTION_COUNT; a++)
        if (a != action && bindings.keys[a] == scancode &&
            reserved_for_menus(a, bindings.keys[action]))
            return BIND_REFUSED;
    other = swap_into(bindings.keys, action, scancode);
    return other >= 0 ? BIND_SWAPPED : BIND_KEPT;
}

BindResult bind_pad_button(int action, int button, int &other) {
    other = -1;
    if (!takes_pad_button(action) || button < 0 || button >= PAD_BUTTONS)
        return BIND_REFUSED;
    other = swap_into(bindings.pad_buttons, action, button);
    // The pad's menu button shows the menu whatever the bindings: it is no
    // other action's to take over.
    if (other >= 0 && bindings.pad_buttons[other] == PAD_MENU_BUTTON)
        bindings.pad_buttons[other] = NO_PAD_BUTTON;
    return other >= 0 ? BIND_SWAPPED : BIND_KEPT;
}

void reset_bindings() {
    for (int a = 0; a < ACTION_COUNT; a++) {
        bindings.keys[a] = ACTIONS[a].key;
        bindings.pad_buttons[a] = ACTIONS[a].pad;
    }
}

bool take_binding_option(const std::string &name, const std::string &value) {
    for (int a = 0; a < ACTION_COUNT; a++) {
        if (name == std::string("key_") + ACTIONS[a].option) {
            const int scancode = key_by_name(value);
            if (scancode && !reserved_for_menus(a, scancode))
                bindings.keys[a] = scancode;
            return true;
        }
        if (takes_pad_button(a) && name == std::string("pad_") + ACTIONS[a].option) {
            int button;
            if (parse_pad_button(value, button))
                bindings.pad_buttons[a] = button;
            return true;
        }
    }
    return false;
}

std::string binding_option_lines() {
    std::string lines;
    for (int a = 0; a < ACTION_COUNT; a++)
        lines +=
            std::string("key_") + ACTIONS[a].option + " = " + key_name(bindings.keys[a]) + "\n";
    for (int a = 0; a < ACTION_COUNT; a++)
        if (takes_pad_button(a))
            lines += std::string("pad_") + ACTIONS[a].option + " = " +
                     pad_button_text(bindings.pad_buttons[a]) + "\n";
    return lines;
}
