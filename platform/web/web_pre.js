// Runs before the game starts: the saved games' folder is IndexedDB, filled
// from what an earlier visit stored before main runs. Without IndexedDB
// (refused, private mode) the folder stays in memory and the game plays on;
// Save then reports failure, as on a full disk.

// The counts the page keeps for its test: frames presented, turns given to
// the browser, milliseconds spent converting and drawing, sounds started,
// long presses taken as a right click.
Module.dellomarStats = {frames: 0, turns: 0, convertMs: 0, drawMs: 0, firstFrameAt: 0,
                        lastFrameAt: 0, sounds: 0, longPresses: 0, storage: "pending"};
Module.dellomarSavesStored = false;
Module.preRun = Module.preRun || [];
Module.preRun.push(function() {
    var folder = "/dellomar";
    FS.mkdir(folder);
    FS.chdir(folder);
    // Mounting without IndexedDB would stop the whole program.
    if (typeof indexedDB === "undefined" || !indexedDB) {
        Module.dellomarStats.storage = "memory";
        return;
    }
    FS.mount(IDBFS, {}, folder);
    addRunDependency("dellomar-saves");
    // A browser that neither answers nor refuses (storage blocked by another
    // tab) must not keep the game from starting: after a while it plays on
    // with the saves in memory.
    var settled = false;
    function settle(stored) {
        if (settled) return;
        settled = true;
        Module.dellomarSavesStored = stored;
        Module.dellomarStats.storage = stored ? "indexeddb" : "memory";
        removeRunDependency("dellomar-saves");
    }
    setTimeout(function() { settle(false); }, 5000);
    FS.syncfs(true, function(error) { settle(!error); });
});
