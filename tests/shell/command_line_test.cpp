// The command line: what each option asks for, what a bad one does, and that the
// manual page lists the options --help lists.
#include "../headless.h"

#include "shell/command_line.h"

#include <fstream>
#include <set>
#include <sstream>
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

// Each option as written: "--scale N".
std::set<std::string> options_of_usage() {
    std::set<std::string> options;
    std::istringstream in(USAGE);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("  -", 0) == 0)
            options.insert(line.substr(2, line.find("  ", 2) - 2));
    return options;
}

// The tagged lines of the OPTIONS section, such as `.BI \-\-scale " N"`, as they read:
// without their macro, font changes and quotes, spaces run together.
std::string as_read(const std::string &tag_line) {
    std::string text;
    for (std::size_t i = tag_line.find(' ') + 1; i > 0 && i < tag_line.size(); i++) {
        const char c = tag_line[i];
        if (tag_line.compare(i, 2, "\\f") == 0) {
            i += 2; // \fB, \fI, \fR
        } else if (tag_line.compare(i, 2, "\\-") == 0) {
            text += '-';
            i++;
        } else if (c == ' ' && !text.empty() && text.back() == ' ') {
            continue;
        } else if (c != '"') {
            text += c;
        }
    }
    return text;
}

std::set<std::string> options_of_man_page(const std::string &path) {
    std::set<std::string> options;
    std::ifstream in(path);
    bool in_options = false, tag_next = false;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(".SH", 0) == 0) {
            in_options = line == ".SH OPTIONS";
        } else if (in_options && line == ".TP") {
            tag_next = true;
        } else if (tag_next) {
            tag_next = false;
            options.insert(as_read(line));
        }
    }
    return options;
}

TEST(CommandLine, ManPageListsTheOptionsOfTheHelp) {
    const std::set<std::string> help = options_of_usage();
    EXPECT_GE(help.size(), 5u);
    EXPECT_EQ(options_of_man_page(TARVELLION_MAN_PAGE), help);
}

} // namespace
