// Read into the program's module before it starts (--pre-js, package.cmake):
// mounts the player's folder, /player, kept in the browser's IndexedDB, and
// holds the program's start until the folder has been read, so the game
// finds its save, options and high scores at once. Defines the write-back
// that platform_web.cpp asks for after every replaced file.
Module.preRun = [].concat(Module.preRun || [], function() {
    var path = '/player';
    Module.storageRefused = function(error) {
        if (Module.storageRefusedSaid)
            return;
        Module.storageRefusedSaid = true;
        console.warn('IndexedDB refused:', error);
        if (Module.onStorageRefused)
            Module.onStorageRefused();
    };
    // One write-back at a time; asks that come meanwhile are done after it.
    // None while the page goes away (platform_web.cpp's watch_page_hide).
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
    addRunDependency('player-files');
    try {
        FS.mkdir(path);
        FS.mount(IDBFS, {}, path);
        FS.syncfs(true, function(error) {
            if (error)
                Module.storageRefused(error);
            removeRunDependency('player-files');
        });
    } catch (error) {
        Module.storageRefused(error);
        removeRunDependency('player-files');
    }
});
