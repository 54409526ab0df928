// What differs between operating systems, and nothing else: the main loop,
// the clock and sleeping, opening and replacing files, where the game's files
// live, the signals and session endings that must still save the game, and
// telling the player something before a window exists, and HTTP for the
// world board. One implementation per system (platform_posix.cpp,
// platform_web.cpp, platform_windows.cpp; the first two share
// posix_common.cpp, the desktops desktop_loop.cpp, all write_all.cpp; HTTP in
// http_curl.cpp, http_web.cpp, http_windows.cpp), chosen by the build;
// nothing outside this folder includes <unistd.h>, <fcntl.h> or <windows.h>.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

// Called first thing in main(): on Windows the system's sleeps are made fine
// enough for the frame pace (1 ms instead of about 15.6 ms) for the whole run.
void prepare_platform();

// The game's loop, the platform's to run: pass() plays one pass and returns
// how long to wait before the next, in milliseconds, or a negative number
// once the game is over; finish() then shuts the game down and gives the
// exit code. A desktop calls pass(), waits with wait() (the game's own
// wait), and again, and returns the exit code; the browser runs one pass per
// timer of the page, nothing blocking its one thread, and ends the program
// from the last.
int run_game_loop(double (*pass)(), void (*wait)(double ms), int (*finish)());

// Microseconds on a clock that only goes forward, and on the wall clock.
int64_t monotonic_us();
int64_t wall_clock_us();

// Sleeps about this long; it may end a little early when a signal comes in.
void sleep_ms(double ms);

// Opens a file for reading in binary mode only if it is a regular file: a
// FIFO, a device or a directory under the name counts as no file, and opening
// never blocks. Null when there is no such regular file.
FILE *open_regular_file(const std::string &path);

// Replaces the file at path with these bytes so that a crash, a full disk or
// a power cut leaves either the old file or the new one: a temporary file
// beside it is written, flushed to the disk and renamed over it. Returns 0 or
// an errno value; the old file stays as it was on any failure.
int replace_file(const std::string &path, const void *bytes, std::size_t size);

// The write call replace_file uses; a test puts one in its place to see how
// a failing disk is handled. Returns the bytes written, or -1.
using WriteCall = long (*)(int fd, const void *bytes, std::size_t size);
extern WriteCall write_call;

// Writes all the bytes through write_call, going on after a short or an
// interrupted write. Returns 0 or an errno value (EIO for a write that takes
// nothing). Each system's replace_file writes with it.
int write_all(int fd, const void *bytes, std::size_t size);

// Makes the directory (its parent must exist); true when it exists afterwards.
bool make_directory(const std::string &path);

// Makes the directory the working directory; false if it cannot be entered.
bool enter_directory(const std::string &path);

bool is_regular_file(const std::string &path);

// Where the game's files live, worked out once at start-up: the directory the
// pictures, sounds and music are read from (start-up makes it the working
// directory), and the player's own directory for settings, saves and options.
// Paths end without a separator; "." is the working directory. POSIX: both are the working
// directory when it holds the game's data (a game run from its source tree, or by the tests); else
// the data installed with the program (../share/tarvellion from its folder), or beside a build
// tree's program (its data/), and $XDG_DATA_HOME/tarvellion (~/.local/share/tarvellion), made if
// missing. Windows: the data beside
// the .exe, the player's files in %APPDATA%\Tarvellion, or beside the .exe too when a file named
// portable.txt is there.
struct FileLocations {
    std::string data;
    std::string player;
};
FileLocations locate_files(const char *program_path);

// The signals a session ends with (SIGTERM, SIGHUP, SIGINT; on Windows the
// console's close, logoff and shutdown events) only set a flag from now on;
// the game's loop and waits look at it and end the game as End does.
void catch_ending_signals();
bool ending_signal_caught();

// The display or the whole session goes away under the game: the X server's
// connection is lost, or Windows ends the session. The game cannot go on, so
// `save_now` runs right there, on whichever thread noticed, and must make no
// display calls; the program then ends with the code it returns.
void on_session_lost(int (*save_now)());

// Between these two calls whatever the process writes to its standard error
// is dropped: the sound library's drivers complain there about a machine
// without a sound card, which is no news to the player.
void hush_standard_error();
void restore_standard_error();

// A message for the player before or without a window (a bad option, no
// display): on the terminal, or in a message box where there is none.
void tell_player(const char *text, bool is_error);

// An HTTP request made in the background (the world board's): http_begin
// starts it and never blocks; the main loop asks http_done each pass.
struct HTTP_ANSWER {
    int status;       // the HTTP status; 0 when no answer came (no network, refused, timed out, an
                      // address not understood)
    std::string body; // the answer's bytes, binary-safe
};
// method "GET" or "POST"; body sent as application/octet-stream with POST. Gives up after
// HTTP_TIMEOUT_MS. Returns a handle > 0, or 0 when it cannot even start (then nothing to poll).
int http_begin(const char *method, const std::string &url, const std::string &body);
// Whether the request has ended; then answer holds it and the handle is spent.
bool http_done(int handle, HTTP_ANSWER &answer);
constexpr int HTTP_TIMEOUT_MS = 10000;
