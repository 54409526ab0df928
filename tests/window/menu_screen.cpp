// Reading the start menu off screenshots and clicking its buttons.
#include "menu_screen.h"

namespace window_test {

namespace {

// Columns of the fill strip, from the box's left edge: the longest caption,
// "Continue", begins 8 pixels in.
constexpr int STRIP_FROM = 1;
constexpr int STRIP_TO = 7;

Box fill_strip(const Box &box) {
    return {box.left + STRIP_FROM, box.top + 1, box.left + STRIP_TO, box.bottom - 1};
}

int strip_size(const Box &box) {
    const Box strip = fill_strip(box);
    return (strip.right - strip.left + 1) * (strip.bottom - strip.top + 1);
}

bool painted(const ScreenImage &shot, const Box &box) {
    return filled_with(shot, box, BUTTON_GREY, ANY_DEPTH_TOLERANCE) ||
           filled_with(shot, box, BUTTON_LIGHT, ANY_DEPTH_TOLERANCE);
}

} // namespace

int count_in(const ScreenImage &shot, const Box &box, Rgb colour, int tolerance) {
    int count = 0;
    for (int y = box.top; y <= box.bottom; y++)
        for (int x = box.left; x <= box.right; x++)
            if (shot.at(x, y).near(colour, tolerance))
                count++;
    return count;
}

bool filled_with(const ScreenImage &shot, const Box &box, Rgb colour, int tolerance) {
    return count_in(shot, fill_strip(box), colour, tolerance) == strip_size(box);
}

bool menu_shown(const ScreenImage &shot) {
    return painted(shot, CONTINUE_BOX) && painted(shot, START_BOX) && painted(shot, END_BOX);
}

bool menu_hidden(const ScreenImage &shot) {
    for (const Box &box : {CONTINUE_BOX, START_BOX, END_BOX}) {
        const int grey = count_in(shot, fill_strip(box), BUTTON_GREY, ANY_DEPTH_TOLERANCE) +
                         count_in(shot, fill_strip(box), BUTTON_LIGHT, ANY_DEPTH_TOLERANCE);
        if (2 * grey >= strip_size(box))
            return false;
    }
    return true;
}

void press_button(GameRun &run, const Box &button) {
    run.point_until(
        button.centre_x(), button.centre_y(),
        [&](const ScreenImage &s) {
            return filled_with(s, button, BUTTON_LIGHT, ANY_DEPTH_TOLERANCE);
        },
        "the button at y " + std::to_string(button.top) + " lit under the pointer");
    run.press_left();
}

void start_game(GameRun &run) {
    run.wait_for_screen(menu_shown, "the start menu");
    press_button(run, START_BOX);
    run.wait_for_screen(menu_hidden, "the game after Start");
}

ExitStatus end_game(GameRun &run) {
    run.hold_key("Escape");
    run.wait_for_screen(menu_shown, "the menu after Esc");
    press_button(run, END_BOX);
    return run.wait_exit(10);
}

} // namespace window_test
