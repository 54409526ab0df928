// The harness of the window tests: the built game run as a player runs it, in
// a real window on a private X server (Xvfb), in a scratch directory holding
// copies of its data files. Keys, mouse and the window's close button are
// driven from outside through xdotool and Xlib, screenshots taken with xwd.
// Everything it starts it ends again by process id, also when a test fails.
#pragma once

#include "screen_image.h"

#include <functional>
#include <optional>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

namespace window_test {

using Bytes = std::vector<unsigned char>;

// What a helper program left behind once it ended or was stopped at its limit.
struct ToolResult {
    int status = -1; // exit code, -1 if it did not exit by itself
    bool timed_out = false;
    std::string out;
};

// An Xvfb server on a display number of its own choosing, ended when this is
// destroyed.
class VirtualDisplay {
  public:
    VirtualDisplay(int width, int height);
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay &) = delete;
    VirtualDisplay &operator=(const VirtualDisplay &) = delete;

    const std::string &name() const { return name_; } // such as ":3"

    // Runs an X client (xdotool, xwd) on this display and collects its output.
    ToolResult run(const std::vector<std::string> &argv, double timeout_s = 5) const;
    // Starts an X client that stays (such as a second window); the caller ends it.
    pid_t start(const std::vector<std::string> &argv) const;

  private:
    pid_t pid_ = -1;
    std::string name_;
};

struct GameOptions {
    bool display = true; // false: started with DISPLAY unset, no X server
    bool data = true;    // copy the data files into the scratch directory
    int screen_width = 1024;
    int screen_height = 768;
    std::optional<std::string> settings; // the text of "setting.ini"
    std::optional<Bytes> save;           // the bytes of "save.dat"
    std::string home;                    // HOME of the game; the scratch directory if empty
    std::string program;                 // run instead of the built game, such as an installed one
    std::vector<std::string> arguments;  // given to the program after its name
    // Set on top of this process's environment; an empty value removes a name.
    std::vector<std::pair<std::string, std::string>> environment;
    // Files written into the scratch directory by name, over the data files or
    // beside them: a damaged picture, an earlier run's options.ini.
    std::vector<std::pair<std::string, Bytes>> files;
    // The folder whose files `data` copies into the scratch directory; the
    // game's data/ if empty. The Windows tests copy the unpacked zip.
    std::string data_dir;
    // Where "setting.ini" and "save.dat" are put and file() reads; the scratch
    // directory if empty. The Windows game keeps them in %APPDATA%\Tarvellion.
    std::string player_dir;
    // The X class of the game's window: the library's on X11; Wine names the
    // class after the program, "tarvellion.exe".
    std::string window_class = "allegro";
};

struct ExitStatus {
    bool finished = false; // false: still running when the wait ran out
    bool exited = false;   // ended through exit or return from main
    int code = -1;         // its exit code, when exited
    int signal = 0;        // the signal that ended it, or 0
};

std::string to_string(const ExitStatus &status);

// How many times longer than a plain build the game may take: the sanitizer
// run sets TARVELLION_TEST_SLOWDOWN, since its checks slow every pass and its
// leak scan adds seconds to every exit. Every wait of GameRun is stretched by it.
double slowdown();

// One run of the game. The process starts in the constructor.
class GameRun {
  public:
    explicit GameRun(GameOptions options = {});
    ~GameRun();
    GameRun(const GameRun &) = delete;
    GameRun &operator=(const GameRun &) = delete;

    const std::string &directory() const { return directory_; }

    // Waits until the window titled "Tarvellion" exists, then gives it the
    // keyboard focus. Throws when the game ends or shows a message first.
    void wait_for_window(double timeout_s = 20);
    std::string title() const;
    std::pair<int, int> window_size() const;

    // Holds a key (an X keysym name such as "Right", "Escape") long enough
    // for the game's once-a-frame poll to see it, then leaves it up as long;
    // held 0 ms, it goes down and up with no time between.
    void hold_key(const std::string &keysym, int hold_ms = 130);
    // A left-button press where the pointer is; 0 ms: down and up at once.
    void press_left(int hold_ms = 150);

    // From now on (true) screenshots show the whole X screen and pointer
    // positions are the screen's, as a fullscreen game needs: its own window
    // is then unmapped and the picture lies on another.
    void watch_whole_screen(bool whole);

    // Opens a second program's window (xlogo) beside the game's, ended with
    // the run, and returns its id once it is there.
    std::string open_other_window();
    // Gives the keyboard focus to that window, or back to the game's.
    void focus_window(const std::string &id);
    void focus_game();

    ScreenImage screenshot() const;
    // Takes screenshots until `shows` holds for one; throws with `what` and a
    // saved picture of the last screen when it never does. `between_polls`,
    // when given, runs after each screenshot that did not show it.
    ScreenImage wait_for_screen(const std::function<bool(const ScreenImage &)> &shows,
                                const std::string &what, double timeout_s = 10,
                                const std::function<void()> &between_polls = {});
    // Moves the pointer to (x, y), in window coordinates, and waits until the
    // screen shows what the move leads to, moving again now and then: the game
    // may miss a motion made while it starts, and only its picture tells.
    ScreenImage point_until(int x, int y, const std::function<bool(const ScreenImage &)> &shows,
                            const std::string &what, double timeout_s = 10);

    // Asks the window to close, as a window manager's close button does.
    void press_close_button() const;
    // Sends the game a signal, as a logout or a terminal does.
    void send_signal(int signal) const;
    // Ends the X server under the running game, as a logout does.
    void end_display();

    // Waits for the game to show a message with allegro_message, answers it
    // with Return and returns its text; nullopt if none came in time.
    std::optional<std::string> answer_message(double timeout_s = 10);

    ExitStatus wait_exit(double timeout_s = 10);
    bool running();

    std::string output() const; // what it printed on stdout
    std::string errors() const; // what it printed on stderr
    // A file of the player's directory (the scratch directory unless the
    // options name another), such as "save.dat"; nullopt if absent.
    std::optional<Bytes> file(const std::string &name) const;

    // The window's icons as the window manager reads them (_NET_WM_ICON):
    // width, height, then width x height ARGB pixels, for each size in turn.
    std::vector<unsigned long> window_icons() const;

  private:
    void move_pointer(int x, int y);
    ToolResult xtool(const std::vector<std::string> &argv, double timeout_s = 5) const;
    std::optional<pid_t> message_process() const;
    void stop();

    std::string directory_;
    std::string player_dir_;
    std::string window_class_;
    std::optional<VirtualDisplay> display_;
    pid_t pid_ = -1;
    std::optional<ExitStatus> status_;
    std::string window_; // the top-level window's id, once found
    bool whole_screen_ = false;
    std::vector<pid_t> helpers_; // other programs' windows
};

} // namespace window_test
