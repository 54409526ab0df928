// Button: the hit area, the click detector fed by Flash, hiding and disabling,
// and the drawn box with its caption.
#include "scratch.h"

#include "shell/output/window.h"
#include "ui/button.h"

#include <string>

namespace {

const Rgb GREY{192, 192, 192};
const Rgb LIT{227, 227, 227};
const Rgb FIELD{0, 128, 0};

class ButtonTest : public Headless {
  protected:
    void SetUp() override {
        Headless::SetUp();
        load_assets();
    }

    // The three buttons drawn on the field; the pixel at (x, y).
    Rgb drawn_at(int x, int y) {
        clear_to_color(buffer, makecol(0, 128, 0));
        for (Button *b : {&bstart, &bend, &bresume})
            b->Draw(buffer);
        return pixel_rgb(buffer, x, y);
    }

    // Plays a script on bstart and returns what Value said at each '?':
    // D/U = left button down/up over the button, d/u = the same outside it.
    std::string play(const char *script) {
        std::string said;
        for (const char *c = script; *c; c++) {
            if (*c == '?') {
                said += bstart.Value() ? '1' : '0';
                continue;
            }
            mouse_x = (*c == 'D' || *c == 'U') ? 300 : 100;
            mouse_y = 210;
            mouse_b = (*c == 'D' || *c == 'd') ? 1 : 0;
            bstart.Flash();
        }
        return said;
    }
};

TEST_F(ButtonTest, HitAreaTakesTheRightEdgeButNotTheBottomOne) {
    const struct {
        int x, y;
        Button *over; // the one button that lights up and takes a click
    } cases[] = {
        {360, 200, &bstart}, {361, 200, nullptr},  {280, 223, &bstart},  {279, 210, nullptr},
        {300, 224, nullptr}, {300, 199, nullptr},  {300, 230, &bend},    {360, 253, &bend},
        {300, 254, nullptr}, {300, 170, &bresume}, {300, 193, &bresume}, {300, 194, nullptr},
    };
    for (const auto &c : cases) {
        mouse_x = c.x;
        mouse_y = c.y;
        EXPECT_EQ(drawn_at(282, 172), c.over == &bresume ? LIT : GREY) << c.x << "," << c.y;
        EXPECT_EQ(drawn_at(282, 202), c.over == &bstart ? LIT : GREY) << c.x << "," << c.y;
        EXPECT_EQ(drawn_at(282, 232), c.over == &bend ? LIT : GREY) << c.x << "," << c.y;
        click_at(c.x, c.y);
        for (Button *b : {&bstart, &bend, &bresume})
            EXPECT_EQ(b->Value(), b == c.over) << c.x << "," << c.y;
    }
}

TEST_F(ButtonTest, CompletesAClickWhenTheButtonIsSeenUpOverAnArmedButton) {
    const struct {
        const char *script, *said;
    } cases[] = {
        {"U?", "0"},         // up, not armed: nothing
        {"D?", "0"},         // down arms, completes nothing yet
        {"DU??", "10"},      // one click, collected once
        {"DDDDDD?U?", "01"}, // holding never completes
        {"DU?U?", "10"},     // a completed click disarms
        {"DUDU?", "1"},      // two clicks before Value read as one
        {"dU?", "0"},        // a press outside does not arm
        {"dDU?", "1"},       // dragged in while held: armed
        {"Du?U?", "01"},     // released outside: still armed
        {"Ddu?uuU?", "01"},  // dragged out and released: completes over it later
    };
    for (const auto &c : cases) {
        load_assets();
        EXPECT_EQ(play(c.script), c.said) << c.script;
    }
}

TEST_F(ButtonTest, HiddenOrDisabledButtonsIgnoreTheMouse) {
    play("DU");
    bstart.Visible(false);
    EXPECT_EQ(play("?"), "1"); // completed before it was hidden
    EXPECT_EQ(drawn_at(282, 202), FIELD);
    EXPECT_EQ(play("DU?D"), "0");
    bstart.Visible(true);
    EXPECT_EQ(play("?U?"), "00"); // the press while hidden did not arm it

    bstart.Enable(false);
    EXPECT_EQ(drawn_at(282, 202), GREY);
    EXPECT_EQ(play("DU?"), "0");
    bstart.Enable(true);
    EXPECT_EQ(drawn_at(282, 202), LIT);
    EXPECT_EQ(play("D"), "");
    bstart.Visible(false);
    EXPECT_EQ(play("U?"), "0");
    bstart.Visible(true);
    EXPECT_EQ(play("U?"), "1"); // armed before it was hidden
}

TEST_F(ButtonTest, DrawsABoxOneWiderAndTallerWithTheCaptionCentredBelowItsTop) {
    const struct {
        const char *caption;
        int x, y, h, w;
        bool lit;
    } cases[] = {
        {"Start", 280, 200, 24, 80, false},
        {"Continue", 280, 170, 24, 80, true},
        {"Ab", 11, 7, 20, 41, false}, // odd width: the centre rounds down
    };
    BITMAP *expected = create_bitmap(640, 480);
    for (const auto &c : cases) {
        Button b;
        b.Create(c.caption, c.x, c.y, c.h, c.w);
        mouse_x = c.lit ? c.x + c.w : 0;
        mouse_y = c.lit ? c.y : 0;
        clear_to_color(buffer, makecol(0, 128, 0));
        b.Draw(buffer);

        const Rgb fill = c.lit ? LIT : GREY;
        clear_to_color(expected, makecol(0, 128, 0));
        rectfill(expected, c.x, c.y, c.x + c.w, c.y + c.h, makecol(fill.r, fill.g, fill.b));
        textout_centre_ex(expected, font, c.caption, c.x + c.w / 2, c.y + 8, makecol(0, 0, 0), -1);
        int wrong = 0;
        for (int y = 0; y < 480; y++)
            for (int x = 0; x < 640; x++)
                wrong += pixel_rgb(buffer, x, y) != pixel_rgb(expected, x, y);
        EXPECT_EQ(wrong, 0) << c.caption;
    }
    destroy_bitmap(expected);
}

} // namespace
