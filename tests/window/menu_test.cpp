// The start menu on screen at true colour and at 8 bits per pixel: the
// buttons' colours, the one under the pointer lit, black captions, and the
// pointer picture drawn with its mask colour left out; and the menu worked
// with the arrow keys and Enter alone.
#include "menu_screen.h"
#include "real_window.h"
#include "shell/files/save_file.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace window_test;

namespace {

struct Depth {
    const char *name;
    const char *settings; // nullptr: no setting.ini, the default 32 bits
    int tolerance;        // 8-bit mode shows colours through a 6-bit palette
};

void PrintTo(const Depth &depth, std::ostream *out) {
    *out << depth.name;
}

class StartMenu : public ::testing::TestWithParam<Depth> {};

constexpr Rgb MASK_PINK{255, 0, 255};

int differing(const ScreenImage &a, const ScreenImage &b, const Box &box) {
    int count = 0;
    for (int y = box.top; y <= box.bottom; y++)
        for (int x = box.left; x <= box.right; x++)
            if (a.at(x, y) != b.at(x, y))
                count++;
    return count;
}

// The pointer picture's size, from its BMP header.
std::pair<int, int> picture_size(const Bytes &bmp) {
    auto int32 = [&](std::size_t at) {
        return static_cast<int32_t>(uint32_t{bmp.at(at)} | uint32_t{bmp.at(at + 1)} << 8 |
                                    uint32_t{bmp.at(at + 2)} << 16 |
                                    uint32_t{bmp.at(at + 3)} << 24);
    };
    return {int32(18), std::abs(int32(22))};
}

TEST_P(StartMenu, ButtonsAndPointerAreDrawnInTheirColours) {
    const Depth depth = GetParam();
    GameOptions options;
    if (depth.settings)
        options.settings = depth.settings;
    GameRun run(options);
    run.wait_for_window();

    // The pointer is first parked where it covers no button.
    const Box pointer_at{100, 300, 0, 0};
    const ScreenImage before = run.point_until(
        500, 400,
        [](const ScreenImage &s) {
            for (const Box &box : {CONTINUE_BOX, START_BOX, END_BOX, OPTIONS_BOX})
                if (!filled_with(s, box, BUTTON_GREY, ANY_DEPTH_TOLERANCE))
                    return false;
            return true;
        },
        "the start menu with no button under the pointer");
    for (const Box &box : {CONTINUE_BOX, START_BOX, END_BOX, OPTIONS_BOX}) {
        EXPECT_TRUE(filled_with(before, box, BUTTON_GREY, depth.tolerance))
            << "box at y " << box.top << " shows "
            << to_string(before.at(box.left + 2, box.top + 2));
        EXPECT_GT(count_in(before, box, CAPTION_BLACK, depth.tolerance), 20)
            << "no caption in the box at y " << box.top;
    }

    const auto mouse = run.file("mouse.dat");
    ASSERT_TRUE(mouse);
    const auto [w, h] = picture_size(*mouse);
    const Box covered{pointer_at.left, pointer_at.top, pointer_at.left + w - 1,
                      pointer_at.top + h - 1};
    const ScreenImage with_pointer = run.point_until(
        pointer_at.left, pointer_at.top,
        [&](const ScreenImage &s) { return differing(s, before, covered) > 0; },
        "the pointer picture");
    const int drawn = differing(with_pointer, before, covered);
    const int background = (w * h) - drawn;
    EXPECT_GT(drawn, 0);
    EXPECT_GT(background, 0) << "the pointer picture is drawn as an opaque box";
    EXPECT_EQ(count_in(with_pointer, covered, MASK_PINK, depth.tolerance), 0)
        << "the mask colour is drawn";

    for (const Box &hovered : {START_BOX, END_BOX}) {
        SCOPED_TRACE("pointer on the button at y " + std::to_string(hovered.top));
        const ScreenImage shot = run.point_until(
            hovered.centre_x(), hovered.centre_y(),
            [&](const ScreenImage &s) {
                return filled_with(s, hovered, BUTTON_LIGHT, depth.tolerance);
            },
            "the button under the pointer lit");
        for (const Box &box : {CONTINUE_BOX, START_BOX, END_BOX, OPTIONS_BOX}) {
            if (box.top != hovered.top) {
                EXPECT_TRUE(filled_with(shot, box, BUTTON_GREY, depth.tolerance));
            }
        }
        // The pointer rests on the caption's right half; its left half shows.
        const Box left_half{hovered.left, hovered.top, hovered.centre_x() - 1, hovered.bottom};
        EXPECT_GT(count_in(shot, left_half, CAPTION_BLACK, depth.tolerance), 5);
    }
}

INSTANTIATE_TEST_SUITE_P(Depths, StartMenu,
                         ::testing::Values(Depth{"TrueColour", nullptr, 0},
                                           Depth{"EightBit", "1 30 5 5 10 8", 4}),
                         [](const ::testing::TestParamInfo<Depth> &info) {
                             return info.param.name;
                         });

} // namespace

namespace {

// Exactly this one of the buttons lit, or none when `lit` is null.
bool only_lit(const ScreenImage &shot, const Box *lit) {
    for (const Box *box : {&CONTINUE_BOX, &START_BOX, &END_BOX, &OPTIONS_BOX, &DAILY_BOX})
        if (!filled_with(shot, *box, box == lit ? BUTTON_LIGHT : BUTTON_GREY, ANY_DEPTH_TOLERANCE))
            return false;
    return true;
}

// Only keys: the pointer never moves.
TEST(MenuByKeys, ArrowsAndEnterAloneStartAGameAndEndIt) {
    GameRun run;
    run.wait_for_window();
    run.wait_for_screen([](const ScreenImage &s) { return only_lit(s, &START_BOX); },
                        "the start menu with Start lit");
    const struct {
        const char *key;
        const Box *lit;
    } steps[] = {{"Down", &END_BOX},      {"Down", &OPTIONS_BOX}, {"Down", &DAILY_BOX},
                 {"Down", &CONTINUE_BOX}, {"Up", &DAILY_BOX},     {"Up", &OPTIONS_BOX},
                 {"Up", &END_BOX},        {"Up", &START_BOX}};
    for (const auto &step : steps) {
        run.hold_key(step.key);
        run.wait_for_screen([&](const ScreenImage &s) { return only_lit(s, step.lit); },
                            std::string("the highlight after ") + step.key);
    }
    run.hold_key("Return");
    run.wait_for_screen(menu_hidden, "the game after Enter on Start");

    run.hold_key("Escape");
    run.wait_for_screen([](const ScreenImage &s) { return only_lit(s, &CONTINUE_BOX); },
                        "the menu again, Continue lit");
    run.hold_key("Down");
    run.hold_key("Down");
    run.wait_for_screen([](const ScreenImage &s) { return only_lit(s, &END_BOX); }, "End lit");
    run.hold_key("Return");
    const ExitStatus status = run.wait_exit(10);
    EXPECT_TRUE(status.exited && status.code == 0) << to_string(status);
    EXPECT_EQ(run.file("save.dat").value_or(Bytes{}).size(), SAVE_FILE_SIZE)
        << "End saves the game Start began";
}

// A key and a click each down and up with no time between, as a quick tap
// on a touchpad or a key brushed comes: each still presses, once.
TEST(MenuByKeys, TapsShorterThanAPassStillPress) {
    GameRun run;
    run.wait_for_window();
    run.wait_for_screen(menu_shown, "the start menu");
    run.hold_key("Return", 0);
    run.wait_for_screen(menu_hidden, "the game after a tap of Enter");
    run.hold_key("Escape", 0);
    run.wait_for_screen(menu_shown, "the menu after a tap of Esc");
    run.point_until(
        END_BOX.centre_x(), END_BOX.centre_y(),
        [](const ScreenImage &s) { return only_lit(s, &END_BOX); }, "End lit");
    run.press_left(0);
    const ExitStatus status = run.wait_exit(10);
    EXPECT_TRUE(status.exited && status.code == 0) << to_string(status);
    EXPECT_EQ(run.file("save.dat").value_or(Bytes{}).size(), SAVE_FILE_SIZE);
}

} // namespace
