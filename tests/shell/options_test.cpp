// The options file: what it keeps, what it keeps of lines it does not know,
// and what a damaged one leaves; the bindings it holds and the volumes the
// sound hands the library.
#include "../headless.h"
#include "../library_sound.h"
#include "../ui/scratch.h"

#include "shell/files/bindings.h"
#include "shell/files/options.h"
#include "shell/output/sound.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string file_text(const char *name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void write_text(const char *name, const std::string &text) {
    std::ofstream(name, std::ios::binary) << text;
}

class OptionsFile : public Headless {
  protected:
    void TearDown() override {
        reset_options();
        Headless::TearDown();
    }
    ScratchDir dir;
};

TEST_F(OptionsFile, EveryOptionSurvivesARoundTripWithForeignLinesKept) {
    write_text("options.ini", "# my notes\nvolume = 11\n\nscale = 9\n");
    read_options("options.ini");
    EXPECT_EQ(options.scale, 9);
    options.scale = 3;
    options.fullscreen = 1;
    options.mute = 1;
    std::snprintf(options.name, sizeof options.name, "%s", "Ann = B #2");
    std::snprintf(options.board, sizeof options.board, "%s", "https://b.example/x?y=1");
    options.send_games = 0;
    ASSERT_EQ(write_options("options.ini"), 0);
    const std::string written = file_text("options.ini");
    EXPECT_EQ(written.rfind("# my notes\nvolume = 11\n\n", 0), 0u) << written;

    reset_options();
    read_options("options.ini");
    EXPECT_EQ(options.scale, 3);
    EXPECT_EQ(options.fullscreen, 1);
    EXPECT_EQ(options.mute, 1);
    EXPECT_STREQ(options.name, "Ann = B #2");
    EXPECT_STREQ(options.board, "https://b.example/x?y=1");
    EXPECT_EQ(options.send_games, 0);
    ASSERT_EQ(write_options("options.ini"), 0);
    EXPECT_EQ(file_text("options.ini"), written) << "a second round trip changes nothing";
}

// Only a web address, or a path on the page's own site, is a board to send to.
TEST_F(OptionsFile, BoardAddressesAndTheAnswerAboutSending) {
    const struct {
        const char *text;
        const char *board;
        int send_games;
    } cases[] = {
        {"board = http://127.0.0.1:8081\nsend_games = 1", "http://127.0.0.1:8081", 1},
        {"board = ./\nsend_games = 2", "./", -1},
        {"board = ftp://b.example\nsend_games = yes", "", -1},
        {"board = http://b.example/a b", "", -1},
        {"board = file:///etc/passwd", "", -1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        write_text("options.ini", c.text);
        read_options("options.ini");
        EXPECT_STREQ(options.board, c.board);
        EXPECT_EQ(options.send_games, c.send_games);
    }
}

TEST_F(OptionsFile, BadValuesAndDamagedFilesLeaveTheDefaults) {
    const struct {
        const char *text;
        int scale, fullscreen, mute;
        const char *name;
    } cases[] = {
        {"scale=2\nfullscreen=1\nmute=1\nname=Zed", 2, 1, 1, "Zed"},
        {"scale = 17\nfullscreen = 2\nmute = -1", 0, -1, 0, ""},
        {"scale = 2x\nscale = \nmute = 1 1", 0, -1, 0, ""},
        {"scale = 99999999999999999999", 0, -1, 0, ""},
        {"name = thirteen chars", 0, -1, 0, ""},
        {"name = tab\there", 0, -1, 0, ""},
        {"scale = 4\r\nmute = 1\r\n", 4, -1, 1, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        write_text("options.ini", c.text);
        read_options("options.ini");
        EXPECT_EQ(options.scale, c.scale);
        EXPECT_EQ(options.fullscreen, c.fullscreen);
        EXPECT_EQ(options.mute, c.mute);
        EXPECT_STREQ(options.name, c.name);
    }
    // Not a text file at all: nothing in it counts.
    for (const std::string &damaged :
         {std::string("scale = 4\nmute = 1\n\0\x01", 21), std::string(100000, 'x')}) {
        write_text("options.ini", damaged);
        read_options("options.ini");
        EXPECT_EQ(options.scale, 0);
        EXPECT_EQ(options.mute, 0);
    }
    read_options("missing.ini");
    EXPECT_EQ(options.fullscreen, -1);
}

TEST_F(OptionsFile, BindingsSwapOnAConflictKeepTheMenusKeysAndReset) {
    int other = -1;
    const struct {
        bool pad;
        int action, value;
        BindResult result;
        int other;
    } steps[] = {
        {false, ACTION_LEFT, KEY_RIGHT, BIND_SWAPPED, ACTION_RIGHT},
        {false, ACTION_LEFT, KEY_A, BIND_KEPT, -1},
        {false, ACTION_FASTER, KEY_ESC, BIND_REFUSED, -1},
        {false, ACTION_FASTER, KEY_ENTER, BIND_REFUSED, -1},
        // The swap would hand Esc or Enter to Faster.
        {false, ACTION_MENU, KEY_MINUS, BIND_REFUSED, -1},
        {false, ACTION_PAUSE, KEY_MINUS, BIND_REFUSED, -1},
        {false, ACTION_PAUSE, KEY_P, BIND_KEPT, -1},
        {false, ACTION_PAUSE, KEY_ENTER, BIND_KEPT, -1},
        {true, ACTION_FASTER, 0, BIND_SWAPPED, ACTION_PAUSE},
        {true, ACTION_SOUND, 3, BIND_KEPT, -1},
        {true, ACTION_MENU, 3, BIND_SWAPPED, ACTION_SOUND},
        {true, ACTION_LEFT, 2, BIND_REFUSED, -1},
        {true, ACTION_SLOWER, PAD_BUTTONS, BIND_REFUSED, -1},
    };
    for (const auto &step : steps) {
        SCOPED_TRACE(std::string(action_label(step.action)) + " " + std::to_string(step.value));
        const BindResult result = step.pad ? bind_pad_button(step.action, step.value, other)
                                           : bind_key(step.action, step.value, other);
        EXPECT_EQ(result, step.result);
        EXPECT_EQ(other, step.other);
    }
    const int keys[ACTION_COUNT] = {KEY_UP,    KEY_DOWN,   KEY_A,    KEY_LEFT, KEY_ENTER, KEY_ESC,
                                    KEY_MINUS, KEY_EQUALS, KEY_HOME, KEY_END,  KEY_M,     KEY_F11};
    // Sound's button taken by the menu is not handed the pad's Start.
    const int pads[ACTION_COUNT] = {-1, -1, -1, -1, NO_PAD_BUTTON, 3,
                                    0,  -1, -1, -1, NO_PAD_BUTTON, -1};
    for (int a = 0; a < ACTION_COUNT; a++) {
        EXPECT_EQ(bindings.keys[a], keys[a]) << action_label(a);
        if (takes_pad_button(a)) {
            EXPECT_EQ(bindings.pad_buttons[a], pads[a]) << action_label(a);
        }
    }
    reset_bindings();
    EXPECT_EQ(bindings.keys[ACTION_LEFT], KEY_LEFT);
    EXPECT_EQ(bindings.pad_buttons[ACTION_MENU], PAD_MENU_BUTTON);
    EXPECT_EQ(bindings.pad_buttons[ACTION_FASTER], NO_PAD_BUTTON);
}

TEST_F(OptionsFile, BindingsAndVolumesRoundTripAndBadLinesKeepTheirDefaults) {
    write_text("options.ini", "key_left = A\nkey_right = NOSUCHKEY\nkey_up = ESC\n"
                              "key_faster=PLUS_PAD\npad_pause = 40\npad_left = 2\n"
                              "pad_sound = 7\npad_menu = none\nmusic_volume = 11\n"
                              "effects_volume = 5\nkey_jump = SPACE\n");
    read_options("options.ini");
    EXPECT_EQ(bindings.keys[ACTION_LEFT], KEY_A);
    EXPECT_EQ(bindings.keys[ACTION_RIGHT], KEY_RIGHT);
    EXPECT_EQ(bindings.keys[ACTION_UP], KEY_UP);
    EXPECT_EQ(bindings.keys[ACTION_FASTER], KEY_PLUS_PAD);
    EXPECT_EQ(bindings.pad_buttons[ACTION_PAUSE], 0);
    EXPECT_EQ(bindings.pad_buttons[ACTION_SOUND], 7);
    EXPECT_EQ(bindings.pad_buttons[ACTION_MENU], NO_PAD_BUTTON);
    EXPECT_EQ(options.music_volume, MAX_VOLUME);
    EXPECT_EQ(options.effects_volume, 5);
    ASSERT_EQ(write_options("options.ini"), 0);
    const std::string written = file_text("options.ini");
    // Steering takes no pad button: that line is not the game's, and stays.
    EXPECT_EQ(written.rfind("pad_left = 2\nkey_jump = SPACE\n", 0), 0u) << written;
    for (const char *line :
         {"\nkey_left = A\n", "\nkey_right = RIGHT\n", "\nkey_faster = PLUS_PAD\n",
          "\npad_menu = none\n", "\npad_sound = 7\n", "\nmusic_volume = 10\n",
          "\neffects_volume = 5\n", "\nkey_fullscreen = F11\n"})
        EXPECT_NE(written.find(line), std::string::npos) << line << " in\n" << written;
    read_options("options.ini");
    ASSERT_EQ(write_options("options.ini"), 0);
    EXPECT_EQ(file_text("options.ini"), written);
}

// Without a sound card the library has no voices: its own mixer, with no
// device, lends it some.
TEST_F(OptionsFile, TheVolumesReachTheLibrarysVoicesAtOnce) {
    library_sound::lend_the_library_a_sound_system();
    ASSERT_EQ(install_sound(library_sound::MIXER, MIDI_NONE, nullptr), 0);
    seat = create_sample(8, 0, 22050, 4410);

    for (int volume : {5, 10, 0}) {
        set_effects_volume(volume);
        // The effect plays on the first voice, freed again for the next.
        EXPECT_EQ(voice_get_volume(0), volume * 255 / 10) << "an effect at " << volume;
        stop_sample(seat);
        set_music_volume(volume);
        int music = -1;
        get_volume(nullptr, &music);
        EXPECT_EQ(music, volume * 255 / 10);
    }
    read_options("options.ini");
    EXPECT_EQ(options.effects_volume, 0) << "kept at once";
    destroy_sample(seat);
    seat = nullptr;
    remove_sound();
}

} // namespace
