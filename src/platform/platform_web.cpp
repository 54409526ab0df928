// The platform layer in a web browser (Emscripten, one thread); see
// platform.h. Called by the shell (start-up, waits, endings) and by the
// readers and writers of the player's files.
//
// The program shares its one thread with the page: the page's timers run the
// main loop a pass at a time, and between two passes the page paints, takes
// keys and plays sound; nothing of the game ever sleeps or blocks. The data
// is packed with the program under /data; the player's files live in
// /player, a folder kept in the browser's IndexedDB: read from it before the
// program starts (cmake/web/player_files.js) and written back after every
// replaced file and when the page goes away. A browser that refuses the
// storage still plays; the page says once that the game cannot be kept.
#include "platform.h"

#include <emscripten.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char DATA_DIR[] = "/data";
const char PLAYER_DIR[] = "/player";

int (*page_hidden_save)() = nullptr;

// The page's side of the player's files, in JavaScript, as written (the
// formatter would take it for C++).
// clang-format off

EM_JS(void, write_back_player_files, (void), { Module.syncPlayerFiles(); });

// A page going away is gone before a write-back's several round trips to
// the database end: the files are handed to it in one transaction there and
// then, which the browser completes after the page has gone - unless it
// waits behind a write-back's transaction, which is why none is started
// meanwhile. A page the browser keeps and shows again writes back as before.
EM_JS(void, watch_page_hide, (const char *dir), {
    var path = UTF8ToString(dir);
    window.addEventListener('pageshow', function() { Module.pageHiding = false; });
    window.addEventListener('pagehide', function() {
        if (Module.webStopped)
            return;
        Module.pageHiding = true;
        _web_page_hidden();
        IDBFS.getDB(path, function(error, db) {
            if (error)
                return;
            var transaction = db.transaction(['FILE_DATA'], 'readwrite');
            var store = transaction.objectStore('FILE_DATA');
            FS.readdir(path).forEach(function(name) {
                var file = path + '/' + name;
                if (FS.isFile(FS.stat(file).mode))
                    IDBFS.loadLocalEntry(file, function(error, entry) {
                        if (!error)
                            store.put(entry, file);
                    });
            });
            // Committed now, not when the page's next task would find it idle.
            if (transaction.commit)
                transaction.commit();
        });
    });
});

// clang-format on

} // namespace

// The page is going away (closed, reloaded, navigated from): the game is
// saved right there, as on a lost display, since the program never runs
// again unless the browser brings the page back as it was.
extern "C" EMSCRIPTEN_KEEPALIVE void web_page_hidden() {
    if (page_hidden_save)
        page_hidden_save();
}

// The player's files are read before the program starts.
void prepare_platform() {}

namespace {

double (*game_pass)() = nullptr;
int (*finish_game)() = nullptr;

void next_pass(void *) {
    const double ms = game_pass();
    if (ms < 0)
        emscripten_force_exit(finish_game());
    else
        emscripten_async_call(next_pass, nullptr, static_cast<int>(ms));
}

} // namespace

// main() returns to the page at once, the program still alive: each pass
// runs from a timeout of the page, the time the last one asked for after it.
int run_game_loop(double (*pass)(), void (*)(double), int (*finish)()) {
    game_pass = pass;
    finish_game = finish;
    emscripten_async_call(next_pass, nullptr, 0);
    emscripten_exit_with_live_runtime();
    return 0;
}

// Nothing waits here: the only waits are the main loop's, between passes.
void sleep_ms(double) {}

FILE *open_regular_file(const std::string &path) {
    return is_regular_file(path) ? std::fopen(path.c_str(), "rb") : nullptr;
}

int replace_file(const std::string &path, const void *bytes, std::size_t size) {
    const std::string temporary = path + ".tmp";
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return errno;
    int error = write_all(fd, bytes, size);
    if (close(fd) != 0 && !error)
        error = errno;
    if (!error && std::rename(temporary.c_str(), path.c_str()) != 0)
        error = errno;
    if (error) {
        unlink(temporary.c_str());
        return error;
    }
    write_back_player_files();
    return 0;
}

FileLocations locate_files(const char *) {
    return {DATA_DIR, PLAYER_DIR};
}

// A page gets no signals.
void catch_ending_signals() {}

bool ending_signal_caught() {
    return false;
}

void on_session_lost(int (*save_now)()) {
    page_hidden_save = save_now;
    watch_page_hide(PLAYER_DIR);
}

void tell_player(const char *text, bool is_error) {
    std::fputs(text, is_error ? stderr : stdout);
}
