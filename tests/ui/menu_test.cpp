// The start menu: its buttons, the pointer flag and the pause go together.
#include "scratch.h"

#include "core/game_state.h"
#include "shell/output/window.h"
#include "ui/menu.h"

namespace {

class MenuTest : public Headless {
  protected:
    void SetUp() override {
        Headless::SetUp();
        load_assets();
    }

    // How many of the three buttons are both drawn and take a click.
    int buttons_working() {
        mouse_x = mouse_y = 0;
        clear_to_color(buffer, makecol(0, 128, 0));
        for (Button *b : {&bstart, &bend, &bresume})
            b->Draw(buffer);
        int working = 0;
        for (auto [y, b] : {std::pair{172, &bresume}, {202, &bstart}, {232, &bend}}) {
            const Rgb fill = pixel_rgb(buffer, 282, y);
            const bool drawn = fill == Rgb{192, 192, 192} || fill == Rgb{227, 227, 227};
            click_at(300, y);
            const bool clicked = b->Value();
            EXPECT_EQ(drawn, clicked) << "row " << y;
            working += drawn && clicked;
        }
        return working;
    }
};

TEST_F(MenuTest, ShowingAndHidingSwitchesButtonsPointerAndPauseTogether) {
    const struct {
        bool show;
        int pause_before; // as Enter may have left it
        int buttons;
    } steps[] = {{false, 0, 0}, {true, 0, 3},  {true, 0, 3},
                 {false, 1, 0}, {false, 1, 0}, {true, 1, 3}};
    for (const auto &s : steps) {
        unit.pause = s.pause_before;
        show_menu(s.show);
        follow_menu();
        EXPECT_EQ(unit.pause, s.show ? 1 : 0);
        EXPECT_EQ(showmouse, s.show);
        EXPECT_EQ(buttons_working(), s.buttons);
    }

    click_at(300, 202); // completed while shown, collected after hiding
    show_menu(false);
    follow_menu();
    EXPECT_TRUE(bstart.Value());
}

} // namespace
