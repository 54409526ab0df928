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

constexpr Box FIELD_BUTTONS[] = {CONTINUE_BOX, START_BOX, END_BOX, OPTIONS_BOX};

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

Box on_screen(const Box &box, const FieldView &view) {
    const int k = view.scale;
    return {view.left + box.left * k, view.top + box.top * k, view.left + box.right * k + k - 1,
            view.top + box.bottom * k + k - 1};
}

std::function<bool(const ScreenImage &)> menu_shown_in(const FieldView &view) {
    return [view](const ScreenImage &shot) {
        for (const Box &box : FIELD_BUTTONS)
            if (!painted(shot, on_screen(box, view)))
                return false;
        return true;
    };
}

std::function<bool(const ScreenImage &)> menu_hidden_in(const FieldView &view) {
    return [view](const ScreenImage &shot) {
        for (const Box &field_box : FIELD_BUTTONS) {
            const Box box = on_screen(field_box, view);
            const int grey = count_in(shot, fill_strip(box), BUTTON_GREY, ANY_DEPTH_TOLERANCE) +
                             count_in(shot, fill_strip(box), BUTTON_LIGHT, ANY_DEPTH_TOLERANCE);
            if (2 * grey >= strip_size(box))
                return false;
        }
        return true;
    };
}

bool menu_shown(const ScreenImage &shot) {
    return menu_shown_in({})(shot);
}

bool menu_hidden(const ScreenImage &shot) {
    return menu_hidden_in({})(shot);
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

void start_game(GameRun &run, const FieldView &view) {
    run.wait_for_screen(menu_shown_in(view), "the start menu");
    press_button(run, on_screen(START_BOX, view));
    run.wait_for_screen(menu_hidden_in(view), "the game after Start");
}

void continue_game(GameRun &run) {
    run.wait_for_screen(menu_shown, "the start menu");
    press_button(run, CONTINUE_BOX);
    run.wait_for_screen(menu_hidden, "the continued game");
}

ExitStatus end_game(GameRun &run, const FieldView &view) {
    run.hold_key("Escape");
    run.wait_for_screen(menu_shown_in(view), "the menu after Esc");
    press_button(run, on_screen(END_BOX, view));
    return run.wait_exit(10);
}

} // namespace window_test
