// The options file: what it keeps, what it keeps of lines it does not know,
// and what a damaged one leaves.
#include "../headless.h"
#include "../ui/scratch.h"

#include "shell/options.h"

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
    ASSERT_EQ(write_options("options.ini"), 0);
    const std::string written = file_text("options.ini");
    EXPECT_EQ(written.rfind("# my notes\nvolume = 11\n\n", 0), 0u) << written;

    reset_options();
    read_options("options.ini");
    EXPECT_EQ(options.scale, 3);
    EXPECT_EQ(options.fullscreen, 1);
    EXPECT_EQ(options.mute, 1);
    EXPECT_STREQ(options.name, "Ann = B #2");
    ASSERT_EQ(write_options("options.ini"), 0);
    EXPECT_EQ(file_text("options.ini"), written) << "a second round trip changes nothing";
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

} // namespace
