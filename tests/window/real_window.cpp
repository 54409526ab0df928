// The window harness: Xvfb, the game process, xdotool and xwd, each started
// by fork and exec and ended by its process id.
#include "real_window.h"

#include "x_requests.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <exception>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char **environ;

namespace window_test {

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// X requests from other clients while the game is inside allegro_init can make
// it fail, so the window is looked for gently, and only once the game holds
// its connection to the server and has had a moment more.
constexpr int SETTLE_AFTER_CONNECT_MS = 400;
constexpr int WINDOW_POLL_MS = 300;
constexpr int SCREEN_POLL_MS = 100;
constexpr int EXIT_POLL_MS = 20;
constexpr int POINTER_SETTLE_MS = 40;
// The game acts on a menu key when a pass sees it down after a pass that saw
// it up; a press that follows the last release within one pass is missed.
constexpr int KEY_RELEASE_MS = 130;
// A motion the game missed is made again after this long, as a player would.
constexpr double REPOINT_S = 1;
constexpr int MESSAGE_KEY_HOLD_MS = 100;
constexpr double XVFB_START_S = 15;
constexpr double WINDOW_WAIT_S = 10;
constexpr double STOP_GRACE_S = 1;

void sleep_ms(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

Clock::time_point after(double seconds) {
    return Clock::now() +
           std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

std::string trimmed(std::string s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.pop_back();
    return s;
}

Bytes read_bytes(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void write_bytes(const std::string &path, const void *data, std::size_t size) {
    std::ofstream out(path, std::ios::binary);
    out.write(static_cast<const char *>(data), static_cast<std::streamsize>(size));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

// The environment of this process with `changes` applied: a name with an
// empty value is removed.
std::vector<std::string>
environment_with(const std::vector<std::pair<std::string, std::string>> &changes) {
    std::vector<std::string> env;
    for (char **e = environ; *e; e++) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('='));
        bool changed = false;
        for (const auto &change : changes)
            changed = changed || change.first == name;
        if (!changed)
            env.push_back(entry);
    }
    for (const auto &change : changes)
        if (!change.second.empty())
            env.push_back(change.first + "=" + change.second);
    return env;
}

std::vector<char *> c_strings(std::vector<std::string> &strings) {
    std::vector<char *> pointers;
    for (std::string &s : strings)
        pointers.push_back(s.data());
    pointers.push_back(nullptr);
    return pointers;
}

// Starts a program with its standard output and error on the given
// descriptors (closed in this process afterwards).
pid_t spawn(std::vector<std::string> argv, std::vector<std::string> env, const std::string &dir,
            int out_fd, int err_fd) {
    std::vector<char *> args = c_strings(argv);
    std::vector<char *> envp = c_strings(env);
    const pid_t pid = fork();
    if (pid < 0)
        throw std::runtime_error(std::string("fork: ") + std::strerror(errno));
    if (pid == 0) {
        if (!dir.empty() && chdir(dir.c_str()) != 0)
            _exit(126);
        dup2(out_fd, STDOUT_FILENO);
        dup2(err_fd, STDERR_FILENO);
        execvpe(args[0], args.data(), envp.data());
        _exit(127);
    }
    close(out_fd);
    close(err_fd);
    return pid;
}

int open_or_throw(const std::string &path, int flags) {
    const int fd = open(path.c_str(), flags | O_CLOEXEC, 0644);
    if (fd < 0)
        throw std::runtime_error("cannot open " + path + ": " + std::strerror(errno));
    return fd;
}

// Reads what arrives on fd until it is closed or the time is up.
bool read_until_closed(int fd, std::string &out, Clock::time_point deadline,
                       const std::function<bool(const std::string &)> &enough = nullptr) {
    char chunk[65536];
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return false;
        pollfd p{fd, POLLIN, 0};
        const int ready = poll(&p, 1, static_cast<int>(left));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        const ssize_t n = read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return true;
        out.append(chunk, static_cast<std::size_t>(n));
        if (enough && enough(out))
            return true;
    }
}

// Ends a process this harness started and collects it: asked first, then
// forced.
void end_process(pid_t pid) {
    kill(pid, SIGTERM);
    const auto deadline = after(STOP_GRACE_S);
    while (Clock::now() < deadline) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        sleep_ms(EXIT_POLL_MS);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

struct ProcessInfo {
    pid_t pid;
    pid_t parent;
    std::string command;
    char state;
};

std::optional<ProcessInfo> process_info(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat;
    if (!std::getline(in, stat))
        return std::nullopt;
    // The command stands in parentheses and may itself hold any character.
    const auto open = stat.find('(');
    const auto close = stat.rfind(')');
    if (open == std::string::npos || close == std::string::npos || close + 4 >= stat.size())
        return std::nullopt;
    ProcessInfo info{pid, 0, stat.substr(open + 1, close - open - 1), stat[close + 2]};
    info.parent = static_cast<pid_t>(std::atol(stat.c_str() + close + 4));
    return info;
}

// Every living process descended from `root`, parents before children.
std::vector<ProcessInfo> descendants(pid_t root) {
    std::vector<ProcessInfo> all;
    if (DIR *proc = opendir("/proc")) {
        while (dirent *entry = readdir(proc)) {
            const pid_t pid = static_cast<pid_t>(std::atol(entry->d_name));
            if (pid > 0)
                if (auto info = process_info(pid))
                    all.push_back(*info);
        }
        closedir(proc);
    }
    std::vector<ProcessInfo> found;
    std::vector<pid_t> parents{root};
    for (std::size_t i = 0; i < parents.size(); i++)
        for (const ProcessInfo &p : all)
            if (p.parent == parents[i] && p.state != 'Z') {
                found.push_back(p);
                parents.push_back(p.pid);
            }
    return found;
}

bool holds_a_socket(pid_t pid) {
    const std::string fd_dir = "/proc/" + std::to_string(pid) + "/fd";
    std::error_code error;
    for (const auto &entry : fs::directory_iterator(fd_dir, error)) {
        char target[64] = {};
        if (readlink(entry.path().c_str(), target, sizeof target - 1) > 0 &&
            std::strncmp(target, "socket:", 7) == 0)
            return true;
    }
    return false;
}

std::string seconds(double s) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", s);
    return text;
}

std::vector<std::string> lines_of(const std::string &text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!trimmed(line).empty())
            lines.push_back(trimmed(line));
    return lines;
}

} // namespace

double slowdown() {
    const char *factor = std::getenv("TARVELLION_TEST_SLOWDOWN");
    const double value = factor ? std::atof(factor) : 1;
    return value > 1 ? value : 1;
}

std::string to_string(const ExitStatus &s) {
    if (!s.finished)
        return "still running";
    if (s.exited)
        return "exited with code " + std::to_string(s.code);
    return "killed by signal " + std::to_string(s.signal) + " (" + strsignal(s.signal) + ")";
}

VirtualDisplay::VirtualDisplay(int width, int height) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
    // Xvfb itself picks the first display number whose socket and lock file
    // are free, and reports it on this descriptor once it accepts clients.
    const int report_fd = fcntl(fds[1], F_DUPFD, 3);
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    pid_ = spawn({"Xvfb", "-displayfd", std::to_string(report_fd), "-nolisten", "tcp", "-noreset",
                  "-screen", "0", screen},
                 environment_with({}), "", open_or_throw("/dev/null", O_WRONLY),
                 open_or_throw("/dev/null", O_WRONLY));
    close(report_fd);
    close(fds[1]);
    std::string reported;
    read_until_closed(fds[0], reported, after(XVFB_START_S),
                      [](const std::string &s) { return s.find('\n') != std::string::npos; });
    close(fds[0]);
    if (reported.find('\n') == std::string::npos) {
        end_process(pid_);
        throw std::runtime_error("Xvfb did not report a display within " + seconds(XVFB_START_S));
    }
    name_ = ":" + trimmed(reported);
    if (!display_accepts_clients(name_)) {
        end_process(pid_);
        throw std::runtime_error("Xvfb on " + name_ + " does not accept connections");
    }
}

VirtualDisplay::~VirtualDisplay() {
    end_process(pid_);
}

ToolResult VirtualDisplay::run(const std::vector<std::string> &argv, double timeout_s) const {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
    const pid_t pid = spawn(argv, environment_with({{"DISPLAY", name_}}), "", fds[1],
                            open_or_throw("/dev/null", O_WRONLY));
    ToolResult result;
    result.timed_out = !read_until_closed(fds[0], result.out, after(timeout_s));
    close(fds[0]);
    if (result.timed_out)
        kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status) && !result.timed_out)
        result.status = WEXITSTATUS(status);
    return result;
}

pid_t VirtualDisplay::start(const std::vector<std::string> &argv) const {
    return spawn(argv, environment_with({{"DISPLAY", name_}}), "",
                 open_or_throw("/dev/null", O_WRONLY), open_or_throw("/dev/null", O_WRONLY));
}

GameRun::GameRun(GameOptions options) {
    char scratch[] = "/tmp/tarvellion-window-XXXXXX";
    if (!mkdtemp(scratch))
        throw std::runtime_error(std::string("mkdtemp: ") + std::strerror(errno));
    directory_ = scratch;

    player_dir_ = options.player_dir.empty() ? directory_ : options.player_dir;
    window_class_ = options.window_class;
    if (options.data) {
        const std::string data_dir =
            options.data_dir.empty() ? TARVELLION_WINDOW_DATA_DIR : options.data_dir;
        std::error_code error;
        for (const auto &entry : fs::directory_iterator(data_dir, error)) {
            const std::string name = entry.path().filename();
            // A developer's own saves and settings left in data/ are not data.
            bool players = false;
            for (const char *own : {"setting.ini", "save.dat", "options.ini", "highscores.txt"})
                players = players || name.rfind(own, 0) == 0;
            if (!entry.is_regular_file() || players)
                continue;
            fs::copy_file(entry.path(), directory_ + "/" + name);
        }
    }
    if (options.settings)
        write_bytes(player_dir_ + "/setting.ini", options.settings->data(),
                    options.settings->size());
    if (options.save)
        write_bytes(player_dir_ + "/save.dat", options.save->data(), options.save->size());
    for (const auto &[name, bytes] : options.files)
        write_bytes(directory_ + "/" + name, bytes.data(), bytes.size());

    std::vector<std::pair<std::string, std::string>> changes{
        {"HOME", options.home.empty() ? directory_ : options.home}, {"DISPLAY", ""}};
    if (options.display) {
        display_.emplace(options.screen_width, options.screen_height);
        changes.push_back({"DISPLAY", display_->name()});
    }
    changes.insert(changes.end(), options.environment.begin(), options.environment.end());
    std::vector<std::string> argv{options.program.empty() ? TARVELLION_GAME_PATH : options.program};
    argv.insert(argv.end(), options.arguments.begin(), options.arguments.end());
    pid_ = spawn(argv, environment_with(changes), directory_,
                 open_or_throw(directory_ + "/stdout.txt", O_WRONLY | O_CREAT | O_TRUNC),
                 open_or_throw(directory_ + "/stderr.txt", O_WRONLY | O_CREAT | O_TRUNC));
}

GameRun::~GameRun() {
    // A failure may still be on its way up as an exception.
    const bool failed = ::testing::Test::HasFailure() || std::uncaught_exceptions() > 0;
    if (failed && !window_.empty() && running()) {
        try {
            screenshot().save_png(directory_ + "/at-failure.png");
        } catch (const std::exception &) {
            // The picture is only a help for reading the failure.
        }
    }
    stop();
    display_.reset();
    if (failed) {
        std::fprintf(stderr, "window test files kept in %s\n", directory_.c_str());
    } else {
        std::error_code error;
        fs::remove_all(directory_, error);
    }
}

void GameRun::stop() {
    for (pid_t helper : helpers_)
        end_process(helper);
    helpers_.clear();
    if (pid_ <= 0 || !running())
        return;
    for (const ProcessInfo &child : descendants(pid_))
        kill(child.pid, SIGKILL);
    end_process(pid_);
    status_ = ExitStatus{true, false, -1, SIGKILL};
}

ToolResult GameRun::xtool(const std::vector<std::string> &argv, double timeout_s) const {
    if (!display_)
        throw std::runtime_error("this run of the game has no display");
    return display_->run(argv, timeout_s);
}

void GameRun::wait_for_window(double timeout_s) {
    timeout_s *= slowdown();
    const auto deadline = after(timeout_s);
    auto check_alive = [&] {
        if (message_process())
            throw std::runtime_error("the game shows a message instead of its window: " +
                                     answer_message(1).value_or("?"));
        if (!running())
            throw std::runtime_error("the game ended before its window appeared, " +
                                     to_string(*status_) + "; stderr:\n" + errors());
    };
    while (!holds_a_socket(pid_) && Clock::now() < deadline) {
        check_alive();
        sleep_ms(EXIT_POLL_MS);
    }
    sleep_ms(SETTLE_AFTER_CONNECT_MS);
    std::string seen;
    while (Clock::now() < deadline) {
        check_alive();
        seen.clear();
        for (const std::string &id :
             lines_of(xtool({"xdotool", "search", "--class", window_class_}).out)) {
            const std::string name = trimmed(xtool({"xdotool", "getwindowname", id}).out);
            if (name == "Tarvellion") {
                window_ = id;
                xtool({"xdotool", "windowfocus", window_});
                return;
            }
            seen += " \"" + name + "\"";
        }
        sleep_ms(WINDOW_POLL_MS);
    }
    throw std::runtime_error("no window titled \"Tarvellion\" within " + seconds(timeout_s) +
                             "; the game's windows:" + (seen.empty() ? " none" : seen));
}

std::string GameRun::title() const {
    return trimmed(xtool({"xdotool", "getwindowname", window_}).out);
}

std::pair<int, int> GameRun::window_size() const {
    int width = -1, height = -1;
    for (const std::string &line :
         lines_of(xtool({"xdotool", "getwindowgeometry", "--shell", window_}).out)) {
        if (line.rfind("WIDTH=", 0) == 0)
            width = std::atoi(line.c_str() + 6);
        if (line.rfind("HEIGHT=", 0) == 0)
            height = std::atoi(line.c_str() + 7);
    }
    return {width, height};
}

void GameRun::hold_key(const std::string &keysym, int hold_ms) {
    xtool({"xdotool", "windowfocus", window_});
    // No time held: down and up in one request, as a quick tap comes.
    const bool tapped = hold_ms == 0;
    std::vector<std::string> press = {"xdotool", "keydown", keysym};
    if (tapped)
        press.insert(press.end(), {"keyup", keysym});
    if (xtool(press).status != 0)
        throw std::runtime_error("xdotool cannot press " + keysym);
    if (!tapped) {
        sleep_ms(hold_ms);
        xtool({"xdotool", "keyup", keysym});
    }
    sleep_ms(KEY_RELEASE_MS);
}

void GameRun::watch_whole_screen(bool whole) {
    whole_screen_ = whole;
}

std::string GameRun::open_other_window() {
    // Away from the game's window, which starts at the screen's top-left.
    helpers_.push_back(display_->start({"xlogo", "-geometry", "120x90-10-10"}));
    const auto deadline = after(WINDOW_WAIT_S * slowdown());
    while (Clock::now() < deadline) {
        const auto found = lines_of(xtool({"xdotool", "search", "--class", "xlogo"}).out);
        if (!found.empty())
            return found.back();
        sleep_ms(WINDOW_POLL_MS);
    }
    throw std::runtime_error("xlogo's window did not appear");
}

void GameRun::focus_window(const std::string &id) {
    if (xtool({"xdotool", "windowfocus", "--sync", id}).status != 0)
        throw std::runtime_error("the focus cannot be given to window " + id);
}

void GameRun::focus_game() {
    focus_window(window_);
}

void GameRun::move_pointer(int x, int y) {
    if (!glide_pointer(display_->name(), whole_screen_ ? 0 : std::stoul(window_), x, y))
        throw std::runtime_error("the pointer cannot be moved in the game's window");
}

void GameRun::press_left(int hold_ms) {
    sleep_ms(POINTER_SETTLE_MS);
    if (hold_ms == 0) {
        xtool({"xdotool", "mousedown", "1", "mouseup", "1"});
        return;
    }
    xtool({"xdotool", "mousedown", "1"});
    sleep_ms(hold_ms);
    xtool({"xdotool", "mouseup", "1"});
}

ScreenImage GameRun::point_until(int x, int y,
                                 const std::function<bool(const ScreenImage &)> &shows,
                                 const std::string &what, double timeout_s) {
    move_pointer(x, y);
    auto next_move = after(REPOINT_S);
    return wait_for_screen(shows, what, timeout_s, [&] {
        if (Clock::now() >= next_move) {
            move_pointer(x, y);
            next_move = after(REPOINT_S);
        }
    });
}

ScreenImage GameRun::screenshot() const {
    const ToolResult shot =
        xtool(whole_screen_ ? std::vector<std::string>{"xwd", "-silent", "-root"}
                            : std::vector<std::string>{"xwd", "-silent", "-id", window_},
              10);
    if (shot.status != 0)
        throw std::runtime_error("xwd could not take a screenshot");
    return parse_xwd(Bytes(shot.out.begin(), shot.out.end()));
}

ScreenImage GameRun::wait_for_screen(const std::function<bool(const ScreenImage &)> &shows,
                                     const std::string &what, double timeout_s,
                                     const std::function<void()> &between_polls) {
    timeout_s *= slowdown();
    const auto deadline = after(timeout_s);
    for (;;) {
        if (!running())
            throw std::runtime_error("the game ended, " + to_string(*status_) +
                                     ", while waiting for " + what);
        ScreenImage shot = screenshot();
        if (shows(shot))
            return shot;
        if (Clock::now() >= deadline) {
            static int timeouts = 0;
            const std::string picture =
                directory_ + "/timeout-" + std::to_string(++timeouts) + ".png";
            shot.save_png(picture);
            throw std::runtime_error("the screen never showed " + what + " within " +
                                     seconds(timeout_s) + "; last screen: " + picture);
        }
        sleep_ms(SCREEN_POLL_MS);
        if (between_polls)
            between_polls();
    }
}

void GameRun::press_close_button() const {
    if (!send_close_request(display_->name(), std::stoul(window_)))
        throw std::runtime_error("the close request could not be sent to " + display_->name());
}

void GameRun::send_signal(int signal) const {
    if (kill(pid_, signal) != 0)
        throw std::runtime_error(std::string("kill: ") + std::strerror(errno));
}

void GameRun::end_display() {
    display_.reset();
}

std::optional<pid_t> GameRun::message_process() const {
    if (pid_ <= 0)
        return std::nullopt;
    for (const ProcessInfo &p : descendants(pid_))
        if (p.command == "xmessage")
            return p.pid;
    return std::nullopt;
}

std::optional<std::string> GameRun::answer_message(double timeout_s) {
    timeout_s *= slowdown();
    const auto deadline = after(timeout_s);
    std::optional<pid_t> xmessage;
    while (!(xmessage = message_process()) && Clock::now() < deadline)
        sleep_ms(WINDOW_POLL_MS);
    if (!xmessage)
        return std::nullopt;

    // allegro_message hands the text to xmessage as its last argument.
    std::ifstream in("/proc/" + std::to_string(*xmessage) + "/cmdline", std::ios::binary);
    const std::string cmdline((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
    const std::string args = cmdline.substr(0, cmdline.find_last_not_of('\0') + 1);
    const std::string text = trimmed(args.substr(args.rfind('\0') + 1));

    const auto answer_by = after(timeout_s > 3 ? timeout_s : 3);
    while (process_info(*xmessage) && process_info(*xmessage)->state != 'Z' &&
           Clock::now() < answer_by) {
        const auto windows = lines_of(xtool({"xdotool", "search", "--class", "Xmessage"}).out);
        if (!windows.empty()) {
            xtool({"xdotool", "windowfocus", windows.front()});
            xtool({"xdotool", "keydown", "Return"});
            sleep_ms(MESSAGE_KEY_HOLD_MS);
            xtool({"xdotool", "keyup", "Return"});
        }
        sleep_ms(WINDOW_POLL_MS);
    }
    if (process_info(*xmessage) && process_info(*xmessage)->state != 'Z')
        throw std::runtime_error("the message \"" + text + "\" could not be answered");
    return text;
}

ExitStatus GameRun::wait_exit(double timeout_s) {
    timeout_s *= slowdown();
    const auto deadline = after(timeout_s);
    while (running() && Clock::now() < deadline)
        sleep_ms(EXIT_POLL_MS);
    return status_ ? *status_ : ExitStatus{};
}

bool GameRun::running() {
    if (status_)
        return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) != pid_)
        return true;
    ExitStatus s;
    s.finished = true;
    s.exited = WIFEXITED(status);
    s.code = s.exited ? WEXITSTATUS(status) : -1;
    s.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    status_ = s;
    return false;
}

std::string GameRun::output() const {
    const Bytes b = read_bytes(directory_ + "/stdout.txt");
    return std::string(b.begin(), b.end());
}

std::string GameRun::errors() const {
    const Bytes b = read_bytes(directory_ + "/stderr.txt");
    return std::string(b.begin(), b.end());
}

std::optional<Bytes> GameRun::file(const std::string &name) const {
    const std::string path = player_dir_ + "/" + name;
    if (!fs::exists(path))
        return std::nullopt;
    return read_bytes(path);
}

std::vector<unsigned long> GameRun::window_icons() const {
    return window_property_cardinals(display_->name(), std::stoul(window_), "_NET_WM_ICON");
}

} // namespace window_test
