// The input stage of a pass from the devices: the steering as the gamepad
// gives it (the record's steering is in tests/core), the keyboard commands
// and their rests, the Start and End buttons and the
// window's close button (which setvideo() sets up together with the first
// frame), the menu worked with the arrows and Enter, the gamepad as the
// driver leaves it in the library's joystick globals, and M.
#include "../headless.h"
#include "../ui/scratch.h"

#include "core/level_setup.h"
#include "core/player_control.h"
#include "core/game_state.h"
#include "shell/input/gamepad.h"
#include "shell/input/input.h"
#include "shell/files/options.h"
#include "shell/flow/waits.h"
#include "shell/output/close_button.h"
#include "shell/output/window.h"
#include "ui/menu.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>

// Headless there is no graphics mode, and setvideo() registers the close
// button's handler only after a mode is set. These two stand in front of the
// library's own so a test can get a mode "set", look at the buffer setvideo()
// made and press the button.
namespace {
bool pretend_mode_set = false;
void (*close_button)() = nullptr;
} // namespace

int set_gfx_mode(int card, int w, int h, int v_w, int v_h) {
    if (pretend_mode_set)
        return 0;
    using Real = int (*)(int, int, int, int, int);
    static const Real real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "set_gfx_mode"));
    return real(card, w, h, v_w, v_h);
}

int set_close_button_callback(void (*proc)()) {
    close_button = proc;
    using Real = int (*)(void (*)());
    static const Real real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "set_close_button_callback"));
    return real(proc);
}

namespace {

// Runs setvideo() with the mode "set" and returns the buffer it made, leaving
// the fixture's own in place.
BITMAP *pretend_setvideo() {
    BITMAP *kept = buffer;
    pretend_mode_set = true;
    EXPECT_TRUE(setvideo());
    pretend_mode_set = false;
    BITMAP *made = buffer;
    buffer = kept;
    return made;
}

void press_close_button() {
    if (!close_button)
        destroy_bitmap(pretend_setvideo());
    ASSERT_NE(close_button, nullptr);
    close_button();
}

// Keys by letter: arrows L R U D, Home H, End E, minus -, equals =, Esc X,
// Enter N, M M, Alt A; "." holds none.
int key_code(char c) {
    const char letters[] = "LRUDHE-=XNMA";
    const int codes[] = {KEY_LEFT,  KEY_RIGHT,  KEY_UP,  KEY_DOWN,  KEY_HOME, KEY_END,
                         KEY_MINUS, KEY_EQUALS, KEY_ESC, KEY_ENTER, KEY_M,    KEY_ALT};
    const char *at = std::strchr(letters, c);
    return at && c ? codes[at - letters] : 0;
}

class Controls : public Headless {
  protected:
    void SetUp() override {
        Headless::SetUp();
        unplug_pad();
        take_close_request();
        load_assets();
        game_initdata();
        show_menu(false);
        follow_menu();
    }

    void TearDown() override {
        unplug_pad();
        Headless::TearDown();
    }

    // No gamepad, and nothing held from a test before.
    void unplug_pad() {
        num_joysticks = 0;
        joy[0] = JOYSTICK_INFO{};
        forget_pressed_keys();
    }

    // A pad as the library's Linux driver describes one: a stick of every
    // pair of axes, signed, and the buttons.
    void plug_pad(int sticks, int buttons) {
        num_joysticks = 1;
        JOYSTICK_INFO &j = joy[0];
        j = JOYSTICK_INFO{};
        j.flags = JOYFLAG_ANALOGUE;
        j.num_sticks = sticks;
        for (int s = 0; s < sticks; s++) {
            j.stick[s].flags = JOYFLAG_ANALOGUE | JOYFLAG_SIGNED;
            j.stick[s].num_axis = 2;
        }
        j.num_buttons = buttons;
    }

    // The driver's positions run from -127 to 127; its digital flags turn on
    // a quarter of the way out.
    void tilt(int stick, int x, int y) {
        for (int a = 0; a < 2; a++) {
            JOYSTICK_AXIS_INFO &axis = joy[0].stick[stick].axis[a];
            axis.pos = a == 0 ? x : y;
            axis.d1 = axis.pos < -32;
            axis.d2 = axis.pos > 32;
        }
    }

    void hold_button(int b, bool down) { joy[0].button[b].b = down ? 1 : 0; }

    // One input stage with these keys held; returns the milliseconds
    // it took.
    double pass(const std::string &held = ".") {
        for (char c : held)
            key[key_code(c)] = 1;
        const double took = key_work();
        for (char c : held)
            key[key_code(c)] = 0;
        return took;
    }

    void moving(int x, int fw, int speed2) {
        player.pos = {x, 240};
        player.fw = fw;
        player.speed2 = speed2;
    }

    // Whether the keys' rest left its dots on a screen cleared to green.
    bool sparkled() {
        for (int y = 0; y < 480; y++)
            for (int x = 0; x < 640; x++)
                if (pixel_rgb(screen, x, y) != Rgb{0, 128, 0})
                    return true;
        return false;
    }
};

TEST_F(Controls, SpeedAndLivesKeysEachSparkleFor100Milliseconds) {
    const struct {
        const char *keys;
        int delay, lives, presses, delay_after, lives_after;
    } cases[] = {
        {"-", 32, 3, 7, 2, 3},
        {"=", 87, 3, 4, 102, 3},
        {"-", 5, 3, 1, 5, 3},
        {"=", 100, 3, 1, 100, 3},
        {"E", 30, 0, 1, 30, -1},
        {"H", 30, 1000000, 1, 30, 1000001},
        {"HE-=", 30, -1000, 1, 30, -1000},
    };
    for (const auto &c : cases) {
        DELAY = c.delay;
        player.live = c.lives;
        for (int p = 0; p < c.presses; p++) {
            clear_to_color(screen, makecol(0, 128, 0));
            EXPECT_GE(pass(c.keys), 100.0 * std::strlen(c.keys)) << c.keys;
            EXPECT_TRUE(sparkled()) << c.keys;
        }
        EXPECT_EQ(DELAY, c.delay_after) << c.keys << " from " << c.delay;
        EXPECT_EQ(player.live, c.lives_after) << c.keys << " from " << c.lives;
    }
}

TEST_F(Controls, EnterPressesTheLitMenuButtonAndPausesOnlyOutsideTheMenu) {
    // A script is the keys held in each pass; Start is told by the level
    // going back from 4 to 1.
    const struct {
        bool menu; // shown before the script
        const char *script;
        bool menu_after;
        int pause_after, end_after, level_after, highlight_after;
        bool waited; // a pass took Enter's half-second pause wait
    } cases[] = {
        // The menu comes up with Continue lit: Enter alone goes on playing.
        {false, "XN", true, 1, 0, 4, HIGHLIGHT_CONTINUE, false},
        {true, "N . N", false, 1, 0, 4, NO_HIGHLIGHT, true},
        {true, "D . N", false, 0, 0, 1, NO_HIGHLIGHT, false},
        {true, "D D D . N", false, 0, 0, 1, NO_HIGHLIGHT, false},
        {true, "D . D . N", false, 0, 1, 4, NO_HIGHLIGHT, false},
        {true, "U . U . U . N", false, 0, 1, 4, NO_HIGHLIGHT, false},
        {true, "U . U . U . U . U", true, 1, 0, 4, HIGHLIGHT_CONTINUE, false},
        {true, "U . U", true, 1, 0, 4, HIGHLIGHT_OPTIONS, false},
        {true, "D . D . D . D . D", true, 1, 0, 4, HIGHLIGHT_CONTINUE, false},
        {true, "D . U", true, 1, 0, 4, HIGHLIGHT_CONTINUE, false},
        {true, "D . N N N N", false, 0, 0, 1, NO_HIGHLIGHT, false},
        {true, "D . N N . N", false, 1, 0, 1, NO_HIGHLIGHT, true},
        {false, "N", false, 1, 0, 4, NO_HIGHLIGHT, true},
        {false, "N . N", false, 0, 0, 4, NO_HIGHLIGHT, true},
        // Alt+Enter switches the display: it neither presses nor pauses.
        {true, "D . AN", true, 1, 0, 4, HIGHLIGHT_START, false},
        {false, "AN . AN", false, 0, 0, 4, NO_HIGHLIGHT, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.script);
        unit.level = 4;
        unit.end = 0;
        show_menu(false);
        follow_menu();
        show_menu(c.menu);
        follow_menu();
        forget_pressed_keys();
        std::istringstream script(c.script);
        bool waited = false;
        for (std::string held; script >> held;)
            waited = pass(held) >= 500 || waited;
        EXPECT_EQ(showmouse, c.menu_after);
        EXPECT_EQ(unit.pause, c.pause_after);
        EXPECT_EQ(unit.end, c.end_after);
        EXPECT_EQ(unit.level, c.level_after);
        EXPECT_EQ(menu_highlight, c.highlight_after);
        EXPECT_EQ(waited, c.waited);
    }
}

TEST_F(Controls, ThePointerAndTheKeysMoveOneHighlight) {
    show_menu(true);
    follow_menu();
    mouse_x = 300;
    mouse_y = 210; // over Start
    follow_pointer();
    EXPECT_EQ(menu_highlight, HIGHLIGHT_START);
    pass("D");
    EXPECT_EQ(menu_highlight, HIGHLIGHT_END);
    follow_pointer(); // the pointer has not moved: the keys' highlight stays
    EXPECT_EQ(menu_highlight, HIGHLIGHT_END);
    bstart.Draw(buffer);
    bend.Draw(buffer);
    EXPECT_EQ(pixel_rgb(buffer, 282, 202), (Rgb{192, 192, 192})) << "Start under the pointer";
    EXPECT_EQ(pixel_rgb(buffer, 282, 232), (Rgb{227, 227, 227})) << "End lit by the keys";
    mouse_y = 180; // onto Continue
    follow_pointer();
    EXPECT_EQ(menu_highlight, HIGHLIGHT_CONTINUE);
    mouse_x = 100; // off every button
    follow_pointer();
    EXPECT_EQ(menu_highlight, NO_HIGHLIGHT);
    pass(".");
    pass("N");
    EXPECT_TRUE(showmouse) << "Enter with no button lit presses none";
}

TEST_F(Controls, EscAndEnterInOnePassShowTheMenuAndLeaveItPaused) {
    moving(200, FW_RIGHT, 3);
    EXPECT_LT(pass("XN"), 250);
    EXPECT_TRUE(showmouse);
    EXPECT_EQ(unit.pause, 1);
    EXPECT_EQ(player.pos.x, 200);

    reset_records(); // no game: Enter does nothing, not even wait
    show_menu(true);
    follow_menu();
    EXPECT_LT(pass("N"), 250);
    EXPECT_EQ(unit.pause, 1);
    EXPECT_EQ(unit.fruitmax, 0);
}

TEST_F(Controls, StartBeginsANewGameOnlyFromTheShownMenu) {
    unit.level = 4;
    moving(100, FW_RIGHT, 5);
    click_at(300, 210);
    pass();
    EXPECT_EQ(unit.level, 4);
    EXPECT_EQ(player.pos.x, 105);

    show_menu(true);

    follow_menu();
    click_at(300, 210);
    pass();
    EXPECT_EQ(unit.level, 1);
    EXPECT_EQ(player.pos.x, SW / 2 - 16);
    EXPECT_EQ(player.pos.y, SH / 2 - 16);
    EXPECT_EQ(player.speed2, 0);
    EXPECT_EQ(unit.pause, 0);
    EXPECT_FALSE(showmouse);
}

TEST_F(Controls, EndAndTheCloseButtonEndTheRunAfterOneMoreStep) {
    const struct { bool menu, close; } cases[] = {{true, false}, {true, true}, {false, true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(::testing::Message() << "menu " << c.menu << ", close " << c.close);
        unit.end = 0;
        show_menu(c.menu);
        follow_menu();
        moving(200, FW_RIGHT, 3);
        if (c.close)
            press_close_button();
        else
            click_at(300, 240);
        pass();
        EXPECT_EQ(unit.end, 1);
        EXPECT_EQ(unit.pause, 0);
        EXPECT_FALSE(showmouse);
        EXPECT_EQ(player.pos.x, 203);

        unit.end = 0;
        pass();
        EXPECT_EQ(unit.end, 0) << "a press is taken once";
    }
}

// The first pass presents the buffer before anything is drawn into it. Memory
// of the buffer's size is filled with another colour and given back first, so
// that the new buffer most likely gets it.
TEST_F(Controls, TheFirstFrameIsTheClearedField) {
    BITMAP *used = create_bitmap(640, 480);
    clear_to_color(used, makecol(255, 0, 255));
    destroy_bitmap(used);
    BITMAP *first = pretend_setvideo();
    ASSERT_NE(first, nullptr);
    int other = 0;
    for (int y = 0; y < 480; y++)
        for (int x = 0; x < 640; x++)
            other += pixel_rgb(first, x, y) != Rgb{0, 128, 0};
    destroy_bitmap(first);
    EXPECT_EQ(other, 0);
}

TEST_F(Controls, TheGamepadSteersAsTheArrowsDoPastTheDeadZone) {
    // Three passes held from rest, then let go: the arrows' 0, 1, 2, then the
    // glide's 3, 2, 1, 0: nine pixels the way the pad points.
    const struct {
        int sticks, stick, x, y;
        int fw; // -1: the player stays at rest
    } cases[] = {
        {4, 0, -127, 0, FW_LEFT},
        {4, 0, 127, 0, FW_RIGHT},
        {4, 0, 0, -127, FW_UP},
        {4, 0, 0, 127, FW_DOWN},
        {4, 0, STICK_DEAD_ZONE, 0, -1},
        {4, 0, STICK_DEAD_ZONE + 1, 0, FW_RIGHT},
        {4, 0, -STICK_DEAD_ZONE, STICK_DEAD_ZONE, -1},
        {4, 0, 60, -100, FW_UP}, // the way it points most
        {4, 0, -100, 90, FW_LEFT},
        {4, 0, 100, 100, FW_RIGHT}, // a corner: Right wins over Down, as with the arrows
        {4, 3, -127, 0, FW_LEFT},   // the d-pad
        {4, 3, 0, 127, FW_DOWN},
        {4, 3, -127, -127, FW_LEFT},
        {4, 1, -127, -127, -1}, // the triggers rest at one end
        {4, 2, 127, -127, -1},
        {1, 0, 0, 127, FW_DOWN}, // a pad of one stick
        {3, 0, 127, 0, FW_RIGHT},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.sticks << " sticks, stick " << c.stick << " at " << c.x << ", " << c.y);
        plug_pad(c.sticks, 11);
        moving(320, FW_UP, 0);
        player.pos.y = 240;
        tilt(c.stick, c.x, c.y);
        for (int p = 0; p < 3; p++)
            pass();
        tilt(c.stick, 0, 0);
        for (int p = 0; p < 4; p++)
            pass();
        const int dx = player.pos.x - 320;
        const int dy = player.pos.y - 240;
        const int expected_dx = c.fw == FW_LEFT ? -9 : c.fw == FW_RIGHT ? 9 : 0;
        const int expected_dy = c.fw == FW_UP ? -9 : c.fw == FW_DOWN ? 9 : 0;
        EXPECT_EQ(dx, expected_dx);
        EXPECT_EQ(dy, expected_dy);
        EXPECT_EQ(player.fw, c.fw < 0 ? FW_UP : c.fw);
        EXPECT_EQ(player.speed2, 0);
    }
}

TEST_F(Controls, TheGamepadsButtonsPauseAndOpenTheMenu) {
    const struct {
        int buttons, pressed;
        bool pauses, opens_menu;
    } cases[] = {
        {11, 0, true, false}, {11, 7, false, true},  {11, 6, false, false}, {11, 1, false, false},
        {13, 9, false, true}, {13, 8, false, false}, {12, 8, false, true},  {10, 4, false, true},
        {5, 4, false, true},  {4, 3, false, true},   {2, 1, false, true},   {1, 0, true, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(::testing::Message() << c.buttons << " buttons, button " << c.pressed);
        plug_pad(4, c.buttons);
        show_menu(false);
        follow_menu();
        forget_pressed_keys();
        hold_button(c.pressed, true);
        const double took = pass();
        hold_button(c.pressed, false);
        EXPECT_EQ(showmouse, c.opens_menu);
        EXPECT_EQ(unit.pause != 0, c.pauses || c.opens_menu);
        EXPECT_EQ(took >= 500, c.pauses) << "Enter's wait";
    }
}

TEST_F(Controls, TheGamepadWorksTheMenu) {
    plug_pad(4, 11);
    unit.level = 4;
    show_menu(true);
    follow_menu();
    forget_pressed_keys();
    tilt(3, 0, 127); // from Continue, the d-pad down twice
    pass();
    tilt(3, 0, 0);
    pass();
    tilt(3, 0, 127);
    pass();
    tilt(3, 0, 0);
    pass();
    tilt(0, 0, -127); // and the stick up
    pass();
    tilt(0, 0, 0);
    pass();
    EXPECT_EQ(menu_highlight, HIGHLIGHT_START);
    hold_button(0, true);
    pass();
    EXPECT_FALSE(showmouse);
    EXPECT_EQ(unit.level, 1) << "Start pressed";
    EXPECT_LT(pass(), 250) << "the button still held does not pause";
    EXPECT_EQ(unit.pause, 0);
    hold_button(0, false);
    pass();
    hold_button(0, true);
    EXPECT_GE(pass(), 500);
    EXPECT_EQ(unit.pause, 1);

    num_joysticks = 0; // unplugged: nothing is held any more
    pass();
    EXPECT_FALSE(pad.button);
    EXPECT_EQ(unit.pause, 1);
}

TEST_F(Controls, MSwitchesTheSoundOnceAPressAndKeepsIt) {
    ScratchDir dir;
    reset_options();
    for (const auto &[script, mute] :
         {std::pair{"M", 1}, {"M M M", 1}, {"M . M", 0}, {"M . M . M", 1}, {"M . . M", 0}}) {
        SCOPED_TRACE(script);
        options.mute = 0;
        forget_pressed_keys();
        std::istringstream keys(script);
        for (std::string held; keys >> held;)
            pass(held);
        pass(".");
        EXPECT_EQ(options.mute, mute);
        reset_options();
        read_options("options.ini");
        EXPECT_EQ(options.mute, mute) << "options.ini";
    }
    // A game begun while the sound is off starts its music only with M.
    options.mute = 1;
    last_music = {};
    game_initdata();
    EXPECT_EQ(last_music.midi, nullptr);
    pass("M");
    EXPECT_EQ(last_music.midi, backsound);
    EXPECT_EQ(last_music.loop, 1);
    reset_options();
}

} // namespace
