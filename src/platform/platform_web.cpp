// The platform layer in a web browser (Emscripten, one thread); see
// platform.h. Called by the shell (start-up, waits, endings) and by the
// readers and writers of the player's files.
//
// The program shares its one thread with the page: sleeping hands control to
// the page (Asyncify) so it can paint, take keys and play sound meanwhile. The
// data is packed with the program under /data; the player's files live in
// /player, a folder kept in the browser's IndexedDB: read from it before the
// game starts and written back after every replaced file and when the page
// goes away. A browser that refuses the storage still plays; the page says
// once that the game cannot be kept.
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

// Mounts the player's folder and starts reading it from IndexedDB; the
// program waits for Module.playerFilesLoaded before it reads any file.
EM_JS(void, load_player_files, (const char *dir), {
    var path = UTF8ToString(dir);
    Module.playerFilesLoaded = false;
    Module.storageRefused = function(error) {
        if (Module.storageRefusedSaid)
            return;
        Module.storageRefusedSaid = true;
        console.warn('IndexedDB refused:', error);
        if (Module.onStorageRefused)
            Module.onStorageRefused();
    };
    // One write-back at a time; asks that come meanwhile are done after it.
    // None while the page goes away (see watch_page_hide).
    Module.syncPlayerFiles = function(done) {
        if (Module.pageHiding)
            return;
        if (Module.syncing) {
            Module.syncAgain = (Module.syncAgain || []).concat(done ? [done] : []);
            return;
        }
        Module.syncing = true;
        FS.syncfs(false, function(error) {
            Module.syncing = false;
            if (error)
                Module.storageRefused(error);
            if (done)
                done();
            var waiting = Module.syncAgain;
            Module.syncAgain = null;
            if (waiting)
                Module.syncPlayerFiles(function() { waiting.forEach(function(f) { f(); }); });
        });
    };
    try {
        FS.mkdir(path);
        FS.mount(IDBFS, {}, path);
        FS.syncfs(true, function(error) {
            if (error)
                Module.storageRefused(error);
            Module.playerFilesLoaded = true;
        });
    } catch (error) {
        Module.storageRefused(error);
        Module.playerFilesLoaded = true;
    }
});

EM_JS(int, player_files_loaded, (void), { return Module.playerFilesLoaded ? 1 : 0; });

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

void prepare_platform() {
    load_player_files(PLAYER_DIR);
    while (!player_files_loaded())
        emscripten_sleep(10);
}

// The page's timers run in whole milliseconds: a shorter rest is left to the
// caller's own wait, as a sleep that ends early.
void sleep_ms(double ms) {
    if (ms >= 1)
        emscripten_sleep(static_cast<unsigned>(ms));
}

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
