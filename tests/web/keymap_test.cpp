// The browser's keyboard driver's table (cmake/web/allegro/src/web/wkeymap.c):
// each DOM KeyboardEvent.code the game or a player's keyboard sends, and the
// library key it must become; unknown codes become no key.
#include <allegro.h>
#include <gtest/gtest.h>

extern "C" int _web_scancode(const char *code);

namespace {

TEST(WebKeyMap, DomCodesBecomeTheLibrarysKeys) {
    const struct {
        const char *code;
        int key;
    } table[] = {
        {"KeyA", KEY_A},
        {"KeyM", KEY_M},
        {"KeyZ", KEY_Z},
        {"Digit0", KEY_0},
        {"Digit9", KEY_9},
        {"Numpad0", KEY_0_PAD},
        {"Numpad9", KEY_9_PAD},
        {"F1", KEY_F1},
        {"F9", KEY_F9},
        {"F10", KEY_F10},
        {"F11", KEY_F11},
        {"F12", KEY_F12},
        {"ArrowLeft", KEY_LEFT},
        {"ArrowRight", KEY_RIGHT},
        {"ArrowUp", KEY_UP},
        {"ArrowDown", KEY_DOWN},
        {"Escape", KEY_ESC},
        {"Enter", KEY_ENTER},
        {"NumpadEnter", KEY_ENTER_PAD},
        {"Space", KEY_SPACE},
        {"Home", KEY_HOME},
        {"End", KEY_END},
        {"Minus", KEY_MINUS},
        {"Equal", KEY_EQUALS},
        {"NumpadSubtract", KEY_MINUS_PAD},
        {"NumpadAdd", KEY_PLUS_PAD},
        {"KeyP", KEY_P},
        {"KeyM", KEY_M},
        {"Pause", KEY_PAUSE},
        {"AltLeft", KEY_ALT},
        {"AltRight", KEY_ALTGR},
        {"ShiftLeft", KEY_LSHIFT},
        {"ControlRight", KEY_RCONTROL},
        {"Backquote", KEY_TILDE},
        {"Period", KEY_STOP},
        {"IntlBackslash", KEY_BACKSLASH2},
        // Not keys of the library, or not codes at all.
        {"", 0},
        {"F13", 0},
        {"F1 ", 0},
        {"Key", 0},
        {"KeyAA", 0},
        {"Digit", 0},
        {"Numpad", 0},
        {"keya", 0},
        {"MediaPlayPause", 0},
    };
    for (const auto &row : table)
        EXPECT_EQ(_web_scancode(row.code), row.key) << '"' << row.code << '"';
}

} // namespace
