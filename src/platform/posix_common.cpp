// What the two POSIX platforms share, Linux with X11 (platform_posix.cpp) and
// the browser (platform_web.cpp, Emscripten's POSIX layer): the clocks, the
// plain write, making, entering and telling apart directories and files,
// and hushing the standard error; see platform.h.
#include "platform.h"

#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int64_t microseconds(clockid_t clock) {
    timespec now;
    clock_gettime(clock, &now);
    return int64_t{now.tv_sec} * 1000000 + now.tv_nsec / 1000;
}

long plain_write(int fd, const void *bytes, std::size_t size) {
    return static_cast<long>(write(fd, bytes, size));
}

int kept_standard_error = -1;

} // namespace

WriteCall write_call = plain_write;

int64_t monotonic_us() {
    return microseconds(CLOCK_MONOTONIC);
}

int64_t wall_clock_us() {
    return microseconds(CLOCK_REALTIME);
}

bool make_directory(const std::string &path) {
    if (mkdir(path.c_str(), 0755) == 0)
        return true;
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool enter_directory(const std::string &path) {
    return chdir(path.c_str()) == 0;
}

bool is_regular_file(const std::string &path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

void hush_standard_error() {
    if (kept_standard_error >= 0)
        return;
    const int nowhere = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (nowhere < 0)
        return;
    std::fflush(stderr);
    kept_standard_error = dup(STDERR_FILENO);
    dup2(nowhere, STDERR_FILENO);
    close(nowhere);
}

void restore_standard_error() {
    if (kept_standard_error < 0)
        return;
    std::fflush(stderr);
    dup2(kept_standard_error, STDERR_FILENO);
    close(kept_standard_error);
    kept_standard_error = -1;
}
