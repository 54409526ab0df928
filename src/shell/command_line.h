// The command line: --help, --version, --fullscreen, --window, --scale N
// and --replay FILE with --verify or --timedemo.
// main() reads it before anything else; the display set-up takes the choices
// made there over those of the settings and the options file, for this run.
#pragma once

struct COMMAND_LINE {
    int scale;          // 0: not given; else the scale asked for
    int fullscreen;     // -1: not given; 0 --window; 1 --fullscreen
    const char *replay; // --replay FILE, or null
    int verify;         // 1: --verify, play the replay without a display
    int timedemo;       // 1: --timedemo, play it drawing as fast as it can
};

extern COMMAND_LINE command_line;

// The usage text --help prints, one option a line.
extern const char *const USAGE;

// Reads the arguments into command_line. Returns -1 when the game should
// start; otherwise the exit code for main() to return at once, after the help,
// the version, or the usage for a bad argument (code 2) has been shown.
int read_command_line(int argc, const char *const *argv);
