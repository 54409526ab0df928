// The command line: what each option asks for, and what a bad one does.
#include "../headless.h"

#include "shell/command_line.h"

#include <string>
#include <vector>

namespace {

struct Outcome {
    int exit_code; // -1: the game starts
    int scale, fullscreen;
    std::string out, err; // the start of what is printed
};

Outcome run_with(std::vector<const char *> args) {
    args.insert(args.begin(), "tarvellion");
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    const int code = read_command_line(static_cast<int>(args.size()), args.data());
    Outcome o{code, command_line.scale, command_line.fullscreen, "", ""};
    o.out = ::testing::internal::GetCapturedStdout();
    o.err = ::testing::internal::GetCapturedStderr();
    return o;
}

TEST(CommandLine, EachOptionAndEachMistake) {
    const struct {
        std::vector<const char *> args;
        int exit_code, scale, fullscreen;
        const char *out, *err;
    } cases[] = {
        {{}, -1, 0, -1, "", ""},
        {{"--fullscreen"}, -1, 0, 1, "", ""},
        {{"--fullscreen", "--window"}, -1, 0, 0, "", ""},
        {{"--scale", "3"}, -1, 3, -1, "", ""},
        {{"--scale=16", "--window"}, -1, 16, 0, "", ""},
        {{"--help"}, 0, 0, -1, "Usage: tarvellion", ""},
        {{"--version"}, 0, 0, -1, "Tarvellion " TARVELLION_VERSION "\n", ""},
        {{"--scale"}, 2, 0, -1, "", "tarvellion: --scale needs"},
        {{"--scale", "0"}, 2, 0, -1, "", "tarvellion: --scale needs"},
        {{"--scale", "17"}, 2, 0, -1, "", "tarvellion: --scale needs"},
        {{"--scale", "-2"}, 2, 0, -1, "", "tarvellion: --scale needs"},
        {{"--scale=2x"}, 2, 0, -1, "", "tarvellion: --scale needs"},
        {{"--fast"}, 2, 0, -1, "", "tarvellion: unknown option '--fast'"},
        {{"save.dat"}, 2, 0, -1, "", "tarvellion: unknown option 'save.dat'"},
    };
    for (const auto &c : cases) {
        std::string line;
        for (const char *a : c.args)
            line += std::string(a) + " ";
        SCOPED_TRACE(line);
        const Outcome o = run_with(c.args);
        EXPECT_EQ(o.exit_code, c.exit_code);
        if (c.exit_code < 0) {
            EXPECT_EQ(o.scale, c.scale);
            EXPECT_EQ(o.fullscreen, c.fullscreen);
        }
        EXPECT_EQ(o.out.rfind(c.out, 0), 0u) << o.out;
        EXPECT_EQ(o.err.rfind(c.err, 0), 0u) << o.err;
        if (c.exit_code == 2) {
            EXPECT_NE(o.err.find(USAGE), std::string::npos) << "the usage follows a mistake";
        }
    }
}

} // namespace
