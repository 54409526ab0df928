// The platform layer on Linux and other POSIX systems with X11; see
// platform.h. Called by the shell (start-up, waits, endings) and by the
// readers and writers of the player's files.
#include "platform.h"

#include <X11/Xlib.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

volatile sig_atomic_t ending_signal = 0;
int (*session_lost_save)() = nullptr;

void note_ending_signal(int) {
    ending_signal = 1;
}

std::string directory_of(const std::string &path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string program_directory(const char *program_path) {
    char here[4096];
    const ssize_t n = readlink("/proc/self/exe", here, sizeof here - 1);
    if (n > 0) {
        here[n] = '\0';
        return directory_of(here);
    }
    return directory_of(program_path ? program_path : "");
}

// Absolute, since start-up then changes the working directory.
std::string player_home() {
    const char *xdg = std::getenv("XDG_DATA_HOME");
    // The variable must hold an absolute path to count; anything else is unset.
    if (xdg && xdg[0] == '/')
        return xdg;
    const char *home = std::getenv("HOME");
    if (home && home[0] == '/')
        return std::string(home) + "/.local/share";
    char here[4096];
    return std::string(getcwd(here, sizeof here) ? here : "") + "/.local/share";
}

// Makes each missing directory of the path in turn, as mkdir -p does.
void make_directories(const std::string &path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1))
        make_directory(path.substr(0, slash));
    make_directory(path);
}

// Xlib calls this when the connection to the X server breaks, from whichever
// thread made the failing request; Xlib would end the process after it
// returns, so it never does.
int display_lost(Display *) {
    const int code = session_lost_save ? session_lost_save() : 0;
    _exit(code);
}

} // namespace

void prepare_platform() {}

void sleep_ms(double ms) {
    if (ms <= 0)
        return;
    timespec span;
    span.tv_sec = static_cast<time_t>(ms / 1000.0);
    span.tv_nsec = static_cast<long>((ms - span.tv_sec * 1000.0) * 1e6);
    nanosleep(&span, nullptr);
}

FILE *open_regular_file(const std::string &path) {
    // Opening a FIFO for reading would wait for a writer; without blocking it
    // opens at once and is then turned down like any other non-file.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return nullptr;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    FILE *file = fdopen(fd, "rb");
    if (!file)
        close(fd);
    return file;
}

int replace_file(const std::string &path, const void *bytes, std::size_t size) {
    char suffix[32];
    // A lost display saves from the library's thread, perhaps while the game
    // saves too: each thread writes a file of its own (the main thread's id is
    // the process id).
    std::snprintf(suffix, sizeof suffix, ".tmp%ld", static_cast<long>(syscall(SYS_gettid)));
    const std::string temporary = path + suffix;
    const int fd =
        open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0)
        return errno;
    int error = write_all(fd, bytes, size);
    if (!error && fsync(fd) != 0)
        error = errno;
    if (close(fd) != 0 && !error)
        error = errno;
    if (!error && std::rename(temporary.c_str(), path.c_str()) != 0)
        error = errno;
    if (error) {
        unlink(temporary.c_str());
        return error;
    }
    // The rename itself reaches the disk only with the directory.
    const int directory = open(directory_of(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory >= 0) {
        fsync(directory);
        close(directory);
    }
    return 0;
}

FileLocations locate_files(const char *program_path) {
    if (is_regular_file("lost.dat"))
        return {".", "."};
    // Installed, the data lies in share/ beside bin/; a build tree links the
    // source's data/ in beside the program.
    const std::string program_folder = program_directory(program_path);
    for (const std::string &data :
         {program_folder + "/" TARVELLION_INSTALLED_DATA, program_folder + "/data"}) {
        if (!is_regular_file(data + "/lost.dat"))
            continue;
        const std::string player = player_home() + "/tarvellion";
        make_directories(player);
        return {data, player};
    }
    return {".", "."};
}

void catch_ending_signals() {
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = note_ending_signal;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGHUP, SIGINT})
        sigaction(signal, &action, nullptr);
}

bool ending_signal_caught() {
    return ending_signal != 0;
}

void on_session_lost(int (*save_now)()) {
    session_lost_save = save_now;
    XSetIOErrorHandler(display_lost);
}

void tell_player(const char *text, bool is_error) {
    std::fputs(text, is_error ? stderr : stdout);
}
