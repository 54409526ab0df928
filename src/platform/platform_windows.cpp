// The platform layer on Windows; see platform.h. Called by the shell
// (start-up, waits, endings) and by the readers and writers of the player's
// files.
//
// The game's paths are UTF-8 and reach Windows through its wide-character
// calls: the ANSI ones cannot name a folder outside the system's code page,
// such as a Cyrillic user name's Downloads on an English Windows, where the
// game would not even find its data.
#include "platform.h"
#include "windows_text.h"

#include <allegro.h>
#include <winalleg.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <mmsystem.h>
#include <process.h>
#include <sys/stat.h>

std::wstring wide(const std::string &text) {
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), n);
    return result;
}

namespace {

volatile sig_atomic_t ending_signal = 0;
int (*session_lost_save)() = nullptr;

// How long a console's close, logoff or shutdown event waits for the game to
// save before Windows is let to end the process (it allows about five seconds).
constexpr DWORD CONSOLE_END_WAIT_MS = 4000;

void note_ending_signal(int) {
    ending_signal = 1;
}

BOOL WINAPI note_console_event(DWORD event) {
    ending_signal = 1;
    // Windows ends the process as soon as this returns for anything but
    // Ctrl+C and Ctrl+Break; the game's loop saves and exits meanwhile.
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        Sleep(CONSOLE_END_WAIT_MS);
    return TRUE;
}

// Runs on the library's window thread before its own handling of a message;
// returning non-zero lets the library handle it (zero would swallow it).
// After WM_ENDSESSION the process may be ended at any moment, so the game is
// saved there and then.
int watch_session(HWND, UINT message, WPARAM wparam, LPARAM, int *) {
    if (message == WM_ENDSESSION && wparam && session_lost_save)
        _exit(session_lost_save());
    return 1;
}

long plain_write(int fd, const void *bytes, std::size_t size) {
    return _write(fd, bytes, static_cast<unsigned>(size));
}

std::string utf8(const std::wstring &text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), n,
                        nullptr, nullptr);
    return result;
}

std::string directory_of(const std::string &path) {
    const auto separator = path.find_last_of("\\/");
    return separator == std::string::npos ? "." : path.substr(0, separator);
}

std::string program_directory(const char *program_path) {
    // Long enough for any path Windows can give, long-path names included.
    std::wstring here(32768, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, here.data(), static_cast<DWORD>(here.size()));
    if (n > 0 && n < here.size())
        return directory_of(utf8(here.substr(0, n)));
    return directory_of(program_path ? program_path : "");
}

void restore_timer_resolution() {
    timeEndPeriod(1);
}

} // namespace

WriteCall write_call = plain_write;

void prepare_platform() {
    timeBeginPeriod(1);
    std::atexit(restore_timer_resolution);
}

int64_t monotonic_us() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<int64_t>(now.QuadPart / frequency.QuadPart * 1000000 +
                                now.QuadPart % frequency.QuadPart * 1000000 / frequency.QuadPart);
}

int64_t wall_clock_us() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const int64_t ticks = (static_cast<int64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    constexpr int64_t UNIX_EPOCH_TICKS = 116444736000000000; // 100 ns ticks since 1601
    return (ticks - UNIX_EPOCH_TICKS) / 10;
}

void sleep_ms(double ms) {
    if (ms >= 1)
        Sleep(static_cast<DWORD>(ms));
}

FILE *open_regular_file(const std::string &path) {
    // Binary mode: text mode would read a CR LF pair inside the save as one
    // byte. What was opened is checked, not what the name showed before.
    FILE *file = _wfopen(wide(path).c_str(), L"rb");
    struct _stat64 info;
    if (file && (_fstat64(_fileno(file), &info) != 0 || (info.st_mode & _S_IFMT) != _S_IFREG)) {
        std::fclose(file);
        return nullptr;
    }
    return file;
}

int replace_file(const std::string &path, const void *bytes, std::size_t size) {
    // The session's end saves from the window's thread, which may come while
    // the game's own thread is saving: each thread writes a file of its own.
    const std::wstring temporary = wide(path + ".tmp" + std::to_string(_getpid()) + "-" +
                                        std::to_string(GetCurrentThreadId()));
    // Binary mode: text mode would write every 0x0A byte of the save as two.
    const int fd = _wopen(temporary.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY,
                          _S_IREAD | _S_IWRITE);
    if (fd < 0)
        return errno;
    int error = write_all(fd, bytes, size);
    if (!error && _commit(fd) != 0)
        error = errno;
    if (_close(fd) != 0 && !error)
        error = errno;
    // A plain rename refuses to replace an existing file here.
    if (!error && !MoveFileExW(temporary.c_str(), wide(path).c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = GetLastError() == ERROR_DISK_FULL ? ENOSPC : EACCES;
    if (error) {
        _wunlink(temporary.c_str());
        return error;
    }
    return 0;
}

bool make_directory(const std::string &path) {
    const std::wstring name = wide(path);
    if (CreateDirectoryW(name.c_str(), nullptr))
        return true;
    const DWORD attributes = GetFileAttributesW(name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool enter_directory(const std::string &path) {
    return SetCurrentDirectoryW(wide(path).c_str()) != 0;
}

bool is_regular_file(const std::string &path) {
    struct _stat64 info;
    return _wstat64(wide(path).c_str(), &info) == 0 && (info.st_mode & _S_IFMT) == _S_IFREG;
}

FileLocations locate_files(const char *program_path) {
    const std::string data = program_directory(program_path);
    // Asked of the system: the C library's wide environment of a program with
    // main() is made from its ANSI one, losing what the code page cannot hold.
    std::wstring appdata(32768, L'\0');
    const DWORD n =
        GetEnvironmentVariableW(L"APPDATA", appdata.data(), static_cast<DWORD>(appdata.size()));
    if (is_regular_file(data + "\\portable.txt") || n == 0 || n >= appdata.size())
        return {data, data};
    const std::string player = utf8(appdata.substr(0, n)) + "\\Tarvellion";
    make_directory(player);
    return {data, player};
}

void catch_ending_signals() {
    std::signal(SIGINT, note_ending_signal);
    std::signal(SIGTERM, note_ending_signal);
    SetConsoleCtrlHandler(note_console_event, TRUE);
}

bool ending_signal_caught() {
    return ending_signal != 0;
}

void on_session_lost(int (*save_now)()) {
    session_lost_save = save_now;
    win_set_msg_pre_proc(watch_session);
}

// DirectSound keeps quiet about a missing device, and a game started from
// the Explorer has no standard error to hush.
void hush_standard_error() {}

void restore_standard_error() {}

void tell_player(const char *text, bool is_error) {
    // A program built for the desktop has no console unless it was started
    // from one with its output redirected.
    const HANDLE out = GetStdHandle(is_error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    if (out && out != INVALID_HANDLE_VALUE && GetFileType(out) != FILE_TYPE_UNKNOWN) {
        std::fputs(text, is_error ? stderr : stdout);
        std::fflush(is_error ? stderr : stdout);
        return;
    }
    MessageBoxW(nullptr, wide(text).c_str(), L"Tarvellion",
                MB_OK | (is_error ? MB_ICONERROR : MB_ICONINFORMATION));
}
