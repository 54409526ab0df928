// The display's choices without a display: the window's scale for the
// desktops players have, the mode a run starts in, and the display keys kept
// out of the key buffer.
#include "../headless.h"

#include "shell/output/display.h"

#include <allegro.h>

#include <string>

namespace {

using Display = Headless;

TEST_F(Display, WindowScaleIsTheLargestThatFitsTheDesktopWithItsDecoration) {
    const struct {
        int field_w, field_h, desktop_w, desktop_h, fixed, scale;
    } cases[] = {
        {640, 480, 1920, 1080, 0, 2},                               // the common laptop
        {640, 480, 1024, 768, 0, 1},  {640, 480, 1280, 1024, 0, 1}, // borders leave no room
        {640, 480, 1366, 768, 0, 1},  {640, 480, 2560, 1440, 0, 2},
        {640, 480, 2560, 1600, 0, 3}, {640, 480, 3840, 2160, 0, 4},
        {640, 480, 7680, 4320, 0, 8}, {640, 480, 640, 480, 0, 1}, // never below 1
        {800, 600, 1920, 1080, 0, 1}, {400, 300, 1920, 1080, 0, 3},
        {640, 480, 0, 0, 0, 1},       // a desktop of unknown size
        {640, 480, 1920, 1080, 3, 2}, // a fixed scale too large is brought down
        {640, 480, 3840, 2160, 1, 1}, {640, 480, 3840, 2160, 3, 3},
        {640, 480, 0, 0, 5, 5},
    };
    for (const auto &c : cases)
        EXPECT_EQ(window_scale(c.field_w, c.field_h, c.desktop_w, c.desktop_h, c.fixed), c.scale)
            << c.field_w << "x" << c.field_h << " on " << c.desktop_w << "x" << c.desktop_h
            << ", fixed " << c.fixed;
}

TEST_F(Display, FirstModeFollowsCommandLineThenSettingsThenOptions) {
    constexpr int WINDOW = GFX_AUTODETECT_WINDOWED, FULL = GFX_AUTODETECT_FULLSCREEN;
    const struct {
        const char *why;
        int command_line, settings_read, settings_driver, options, driver;
    } cases[] = {
        {"nothing chosen", -1, 0, 2, -1, WINDOW},
        {"--fullscreen", 1, 9, 2, 0, FULL},
        {"--window", 0, 9, 1, 1, WINDOW},
        {"7th setting 1", -1, 7, 1, 0, FULL},
        {"7th setting 2", -1, 9, 2, 1, WINDOW},
        {"7th setting 0 stays the library's choice", -1, 7, 0, 1, GFX_AUTODETECT},
        {"7th setting of any other driver", -1, 9, -1, 1, -1},
        {"settings without a 7th number", -1, 6, 2, 1, FULL},
        {"options: fullscreen", -1, 0, 2, 1, FULL},
        {"options: window", -1, 2, 2, 0, WINDOW},
    };
    for (const auto &c : cases)
        EXPECT_EQ(
            first_graphics_driver(c.command_line, c.settings_read, c.settings_driver, c.options),
            c.driver)
            << c.why;
}

// A wait for any key must not end on the keys that switch the display.
TEST_F(Display, DisplayKeysNeverReachTheKeyBuffer) {
    watch_display_keys();
    ASSERT_NE(keyboard_callback, nullptr);
    const struct {
        int scancode;
        bool alt, reaches_buffer;
    } cases[] = {
        {KEY_F11, false, false},  {KEY_F11, true, false},  {KEY_ENTER, true, false},
        {KEY_ENTER, false, true}, {KEY_SPACE, true, true}, {KEY_F10, false, true},
        {KEY_ESC, false, true},
    };
    for (const auto &c : cases) {
        key[KEY_ALT] = c.alt;
        const int pressed = c.scancode << 8 | (c.scancode == KEY_ENTER && !c.alt ? 13 : 0);
        EXPECT_EQ(keyboard_callback(pressed) != 0, c.reaches_buffer)
            << "scancode " << c.scancode << (c.alt ? " with Alt" : "");
    }
    key[KEY_ALT] = 0;
    keyboard_callback = nullptr;
    keyboard_lowlevel_callback = nullptr;
}

} // namespace
