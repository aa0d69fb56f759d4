// Runs before the game starts: the saved games' folder is IndexedDB, filled
// from what an earlier visit stored before main runs. Without IndexedDB
// (refused, private mode) the folder stays in memory and the game plays on;
// Save then reports failure, as on a full disk.
// The counts the page keeps for its test: frames presented, turns given to
// the browser, milliseconds spent converting and drawing, sounds started.
Module.dellomarStats = {frames: 0, turns: 0, convertMs: 0, drawMs: 0, firstFrameAt: 0,
                        lastFrameAt: 0, sounds: 0, storage: "pending"};
Module.dellomarSavesStored = false;
Module.preRun = Module.preRun || [];
Module.preRun.push(function() {
    var folder = "/dellomar";
    FS.mkdir(folder);
    try {
        FS.mount(IDBFS, {}, folder);
    } catch (e) {
        Module.dellomarStats.storage = "memory";
        FS.chdir(folder);
        return;
    }
    FS.chdir(folder);
    addRunDependency("dellomar-saves");
    FS.syncfs(true, function(error) {
        Module.dellomarSavesStored = !error;
        Module.dellomarStats.storage = error ? "memory" : "indexeddb";
        removeRunDependency("dellomar-saves");
    });
});
