// The start menu: its buttons, the pointer flag and the pause go together.
#include "../headless.h"
#include "scratch.h"

#include "shell/assets.h"
#include "shell/window.h"
#include "shell/game_state.h"
#include "ui/menu.h"

namespace {

class MenuTest : public Headless {
  protected:
    void SetUp() override {
        Headless::SetUp();
        create_menu_buttons();
    }

    // How many of the three buttons are drawn and take a click.
    int buttons_working() {
        mouse_x = mouse_y = 0;
        clear_to_color(buffer, makecol(0, 128, 0));
        int working = 0;
        for (Button *b : {&bstart, &bend, &bresume})
            b->Draw(buffer);
        for (int y : {172, 202, 232}) {
            const bool drawn = pixel_rgb(buffer, 282, y) == (Rgb{192, 192, 192});
            click_at(300, y);
            const bool clicked = (y == 172 ? bresume : y == 202 ? bstart : bend).Value();
            EXPECT_EQ(drawn, clicked) << "row " << y;
            working += drawn && clicked;
        }
        return working;
    }
};

TEST_F(MenuTest, ShowingAndHidingSwitchesButtonsPointerAndPauseTogether) {
    struct Step {
        bool show;
        int pause_before; // as Enter may have left it
        int buttons;
        bool pointer;
        int pause;
    } steps[] = {
        {false, 0, 0, false, 0}, {true, 0, 3, true, 1},   {true, 0, 3, true, 1},
        {false, 1, 0, false, 0}, {false, 1, 0, false, 0}, {true, 1, 3, true, 1},
    };
    for (const Step &s : steps) {
        unit.pause = s.pause_before;
        show_menu(s.show);
        EXPECT_EQ(unit.pause, s.pause);
        EXPECT_EQ(showmouse, s.pointer);
        EXPECT_EQ(buttons_working(), s.buttons);
    }
}

TEST_F(MenuTest, AClickCompletedBeforeHidingIsStillReported) {
    show_menu(true);
    click_at(300, 202);
    show_menu(false);
    EXPECT_TRUE(bstart.Value());
    EXPECT_FALSE(bend.Value());
}

} // namespace
