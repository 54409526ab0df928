// Reading "setting.ini" and bringing its values into range.
#include "../headless.h"
#include "../ui/scratch.h"

#include "core/game_state.h"
#include "shell/files/settings.h"

#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// Each test writes its file in a directory of its own: tests of other
// programs may run at the same time.
class Settings : public Headless {
  protected:
    void read(const std::string &text) {
        FILE *f = std::fopen("setting.ini", "w");
        ASSERT_NE(f, nullptr);
        std::fputs(text.c_str(), f);
        std::fclose(f);
        read_settings("setting.ini");
    }

    std::vector<int> values() const {
        return {def_train_speed,
                DELAY,
                def_train_speed2,
                def_player_speed,
                def_fruit_count,
                COLOR_MODE,
                WINDOW_MODE,
                SW,
                SH};
    }

    ScratchDir dir;
};

const std::vector<int> DEFAULTS = {1, 30, 5, 5, 10, 32, 2, 640, 480};

TEST_F(Settings, MissingOrSpecialFileKeepsEveryDefault) {
    read_settings("/nonexistent/setting.ini");
    EXPECT_EQ(values(), DEFAULTS);
    // A FIFO would block a plain open until someone writes to it.
    ASSERT_EQ(mkfifo("setting.ini", 0644), 0);
    alarm(10);
    read_settings("setting.ini");
    alarm(0);
    EXPECT_EQ(values(), DEFAULTS);
    read_settings(".");
    EXPECT_EQ(values(), DEFAULTS);
}

TEST_F(Settings, ReadsValuesInOrderUntilTheFirstItemThatIsNoInteger) {
    struct Case {
        const char *text;
        std::vector<int> expected;
    } cases[] = {
        {"1 50", {1, 50, 5, 5, 10, 32, 2, 640, 480}},
        {"3 40 word 7 8", {3, 40, 5, 5, 10, 32, 2, 640, 480}},
        {"2 20 6 4 15 16 2 800 600", {2, 20, 6, 4, 15, 16, 2, 800, 600}},
        {"\n  2\n\t20\r\n6 4 15 16 2 800 600 99 99", {2, 20, 6, 4, 15, 16, 2, 800, 600}},
        {"+4 -7", {4, -7, 5, 5, 10, 32, 2, 640, 480}},
        {"12x 5", {12, 30, 5, 5, 10, 32, 2, 640, 480}},
        {"", DEFAULTS},
    };
    for (const Case &c : cases) {
        reset_tuning();
        read(c.text);
        EXPECT_EQ(values(), c.expected) << "file: " << c.text;
    }
}

// The count tells start-up whether the file chose the graphics mode.
TEST_F(Settings, CountsTheValuesItRead) {
    const struct {
        const char *text;
        int count;
    } cases[] = {
        {"", 0},
        {"1 50", 2},
        {"3 40 word 7 8", 2},
        {"1 30 5 5 10 32", 6},
        {"1 30 5 5 10 32 1", 7},
        {"1 30 5 5 10 32 2 800 600", 9},
        {"1 30 5 5 10 32 2 800 600 99 99", 9},
        {"1 30 5 5 10 32 x 800 600", 6},
    };
    for (const auto &c : cases) {
        FILE *f = std::fopen("setting.ini", "w");
        ASSERT_NE(f, nullptr);
        std::fputs(c.text, f);
        std::fclose(f);
        EXPECT_EQ(read_settings("setting.ini"), c.count) << "file: " << c.text;
    }
    EXPECT_EQ(read_settings("/nonexistent/setting.ini"), 0);
}

TEST_F(Settings, ValidValuesPassTheClampUnchanged) {
    read("2 20 6 4 15 16 2 800 600");
    clamp_settings();
    EXPECT_EQ(values(), (std::vector<int>{2, 20, 6, 4, 15, 16, 2, 800, 600}));
    reset_tuning();
    clamp_settings();
    EXPECT_EQ(values(), DEFAULTS);
}

TEST_F(Settings, OutOfRangeValuesAreBroughtIntoRange) {
    struct Case {
        const char *text;
        std::vector<int> expected;
    } cases[] = {
        {"1 30 5 5 101", {1, 30, 5, 5, 100, 32, 2, 640, 480}},
        {"1 30 5 5 -3", {1, 30, 5, 5, 0, 32, 2, 640, 480}},
        {"1 30 5 5 10 32 2 100 100", {1, 30, 5, 5, 10, 32, 2, 400, 300}},
        {"1 30 5 5 10 32 2 -640 0", {1, 30, 5, 5, 10, 32, 2, 400, 300}},
        {"1 30 5 5 10 32 2 10000 5000", {1, 30, 5, 5, 10, 32, 2, 4096, 4096}},
        {"1 -30", {1, 0, 5, 5, 10, 32, 2, 640, 480}},
        {"1 999999", {1, 1000, 5, 5, 10, 32, 2, 640, 480}},
        {"-1 30 -5 -2", {0, 30, 0, 0, 10, 32, 2, 640, 480}},
        {"5000 30 5000 5000", {1000, 30, 1000, 1000, 10, 32, 2, 640, 480}},
        {"1 30 5 5 10 12", {1, 30, 5, 5, 10, 32, 2, 640, 480}},
        {"1 30 5 5 10 0", {1, 30, 5, 5, 10, 32, 2, 640, 480}},
    };
    for (const Case &c : cases) {
        reset_tuning();
        read(c.text);
        clamp_settings();
        EXPECT_EQ(values(), c.expected) << "file: " << c.text;
    }
    for (int depth : {8, 15, 16, 24, 32}) {
        reset_tuning();
        COLOR_MODE = depth;
        clamp_settings();
        EXPECT_EQ(COLOR_MODE, depth);
    }
}

} // namespace
