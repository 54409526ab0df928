// Reading the command line; called first thing by main().
#include "command_line.h"

#include "files/options.h"
#include "../platform/platform.h"

#include <cstdlib>
#include <cstring>
#include <string>

COMMAND_LINE command_line = {0, -1, nullptr, 0, 0};

const char *const USAGE =
    "Usage: tarvellion [OPTION]...\n"
    "Play Tarvellion: collect the fruit, dodge the trains' shots.\n"
    "\n"
    "  --fullscreen   play on the whole screen\n"
    "  --window       play in a window\n"
    "  --scale N      show every pixel of the field N times as large (1-16)\n"
    "  --replay FILE  watch a recorded game (Esc or a click ends it;\n"
    "                 - and = change its pace)\n"
    "  --verify       with --replay: play it without a display as fast as\n"
    "                 it goes, print the final level, score and state\n"
    "                 hash; exit 3 when the game goes another way\n"
    "  --timedemo     with --replay: play it drawing every frame as fast\n"
    "                 as the machine allows, print passes per second\n"
    "  --help         show this help and exit\n"
    "  --version      show the version and exit\n"
    "\n"
    "The menu's Options button sets the keys, the gamepad's buttons, the\n"
    "volumes, the display and the demo; they are kept in options.ini, one\n"
    "line each:\n"
    "  scale = 0-16          0: the largest that fits\n"
    "  fullscreen = 0|1      the mode last chosen\n"
    "  mute = 0|1            all sound off\n"
    "  attract = 0|1         the demo in the menu left alone\n"
    "  music_volume = 0-10\n"
    "  effects_volume = 0-10\n"
    "  key_ACTION = KEY      ACTION: up, down, left, right, pause, menu,\n"
    "                        faster, slower, more_lives, fewer_lives, sound,\n"
    "                        fullscreen; KEY as the library names it: LEFT,\n"
    "                        A, F11, SPACE, ENTER...\n"
    "  pad_ACTION = N        a gamepad button (0 is the first), none, or\n"
    "                        start (the pad's own), for pause ... fullscreen\n"
    "  name = NAME           the name last typed into the high scores\n";

namespace {

constexpr int EXIT_USAGE = 2;

bool parse_scale(const char *text, int &scale) {
    if (!text || !*text || std::strlen(text) > 2)
        return false;
    for (const char *c = text; *c; c++)
        if (*c < '0' || *c > '9')
            return false;
    scale = std::atoi(text);
    return scale >= 1 && scale <= MAX_SCALE;
}

int bad_usage(const std::string &why) {
    tell_player(("tarvellion: " + why + "\n" + USAGE).c_str(), true);
    return EXIT_USAGE;
}

} // namespace

int read_command_line(int argc, const char *const *argv) {
    command_line = {0, -1, nullptr, 0, 0};
    for (int i = 1; i < argc; i++) {
        const std::string arg = argv[i];
        if (arg == "--help") {
            tell_player(USAGE, false);
            return 0;
        }
        if (arg == "--version") {
            tell_player("Tarvellion " TARVELLION_VERSION "\n", false);
            return 0;
        }
        if (arg == "--fullscreen" || arg == "--window") {
            command_line.fullscreen = arg == "--fullscreen" ? 1 : 0;
        } else if (arg == "--scale" || arg.rfind("--scale=", 0) == 0) {
            const char *value = arg == "--scale" ? (i + 1 < argc ? argv[++i] : nullptr)
                                                 : argv[i] + std::strlen("--scale=");
            if (!parse_scale(value, command_line.scale))
                return bad_usage("--scale needs a whole number from 1 to " +
                                 std::to_string(MAX_SCALE));
        } else if (arg == "--replay") {
            if (i + 1 >= argc)
                return bad_usage("--replay needs a file");
            command_line.replay = argv[++i];
        } else if (arg == "--verify" || arg == "--timedemo") {
            (arg == "--verify" ? command_line.verify : command_line.timedemo) = 1;
        } else {
            return bad_usage("unknown option '" + arg + "'");
        }
    }
    if ((command_line.verify || command_line.timedemo) && !command_line.replay)
        return bad_usage(std::string(command_line.verify ? "--verify" : "--timedemo") +
                         " needs --replay FILE");
    if (command_line.verify && command_line.timedemo)
        return bad_usage("--verify and --timedemo cannot go together");
    return -1;
}
