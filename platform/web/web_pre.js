// Runs before the game starts.

// The counts the page keeps for its test: frames presented, turns given to
// the browser, milliseconds spent converting and drawing, sounds started,
// long presses taken as a right click.
Module.dellomarStats = {frames: 0, turns: 0, convertMs: 0, drawMs: 0, firstFrameAt: 0,
                        lastFrameAt: 0, sounds: 0, longPresses: 0, storage: "pending"};

// ---- When the game's loop gets its next pass ----
// While the picture changes or the player acts, each pass waits for the
// browser's next frame: the browser hands the page its input in step with its
// frames, and the game answers in the same frame. Once QUIET_PASSES passes in
// a row have drawn nothing, with no input and no finger down, the passes go on
// a timer at the display's measured rate instead, still never sooner than the
// game's frame allows: a frame asked of the browser costs it several times
// what the game's pass at rest costs. The first input or drawing after that is
// back on frames. A page in the background gets no pass at all.
Module.dellomarStats.timedTurns = 0;
Module.dellomarPace = (function() {
    var QUIET_PASSES = 30;
    var MEASURED_GAPS = 32;
    var period = 1000 / 60; // between two of the display's frames, as last measured
    var quiet = 0;          // passes in a row with nothing drawn and no input
    var fingers = 0;
    var lastFrameAt = 0;    // the time stamp of the frame the last pass waited for
    var gaps = [];
    var due = 0;            // when the next timed pass is due
    var wakeEarly = null;   // ends the timed wait being slept, on input
    var passAt = 0;         // when the last turn ended and its pass began

    function onInput(event) {
        quiet = 0;
        if (event.touches) fingers = event.touches.length;
        if (wakeEarly) wakeEarly();
    }
    ["mousedown", "mouseup", "mousemove", "wheel", "keydown", "keyup", "touchstart", "touchmove",
     "touchend", "touchcancel"].forEach(function(type) {
        window.addEventListener(type, onInput, {capture: true, passive: true});
    });

    function shown() {
        return new Promise(function(resolve) {
            document.addEventListener("visibilitychange", resolve, {once: true});
        });
    }

    // The middle gap of a run of frames: some browsers' frames come a little
    // early or late, and a pass that took long misses one now and then.
    function measure(at) {
        if (lastFrameAt > 0 && at > lastFrameAt) {
            gaps.push(at - lastFrameAt);
            if (gaps.length === MEASURED_GAPS) {
                gaps.sort(function(a, b) {
                    return a - b;
                });
                period = Math.min(Math.max(gaps[MEASURED_GAPS / 2], 4), 100);
                Module.dellomarStats.pacePeriodMs = period;
                gaps = [];
            }
        }
        lastFrameAt = at;
    }

    // A page that is shown but whose frames never come (shown in a way that
    // draws nothing) still plays, slowly, every `framelessMs`; turn() asks
    // only once the page is shown.
    function nextFrame(framelessMs) {
        return new Promise(function(resolve) {
            var timer = 0;
            requestAnimationFrame(function(at) {
                clearTimeout(timer);
                measure(at);
                resolve();
            });
            timer = setTimeout(function() {
                lastFrameAt = 0;
                resolve();
            }, framelessMs);
        });
    }

    function delayUntil(at) {
        return Math.max(0, Math.ceil(at - performance.now()));
    }

    // Input ends the sleep early, for the game to answer it at once.
    function restUntil(at) {
        return new Promise(function(resolve) {
            var timer = setTimeout(resolve, delayUntil(at));
            wakeEarly = function() {
                clearTimeout(timer);
                resolve();
            };
        }).then(function() {
            wakeEarly = null;
        });
    }

    // The browser's turn, after a pass that drew (`drawn`) or did not; it
    // lasts at least until `untilMs`, so that a display above 100 Hz still
    // gives the game its whole frame asleep rather than spun.
    async function turn(untilMs, framelessMs, drawn) {
        while (document.visibilityState === "hidden") await shown();
        quiet = drawn || fingers > 0 ? 0 : quiet + 1;
        if (quiet < QUIET_PASSES) {
            await nextFrame(framelessMs);
            due = performance.now();
        } else {
            lastFrameAt = 0;
            // Due a period after the last, kept to the display's rate
            // however late the timers wake; after a long pass, from now.
            due = Math.max(due + period, untilMs, performance.now());
            Module.dellomarStats.timedTurns++;
            await restUntil(due);
        }
        if (performance.now() < untilMs) {
            await new Promise(function(resolve) {
                setTimeout(resolve, delayUntil(untilMs));
            });
        }
        // For the page's test: the shortest time from one pass's start to the
        // next, which the game's frame clock keeps at 10 ms at least.
        var now = performance.now();
        if (passAt > 0) {
            var stats = Module.dellomarStats;
            stats.shortestPassMs = Math.min(stats.shortestPassMs || Infinity, now - passAt);
        }
        passAt = now;
    }

    return {turn: turn};
})();

// ---- The player's saved games, kept in IndexedDB ----
// The player's folder lives in memory; each file the game puts in place there
// is written through to IndexedDB before its Save counts as done, and is read
// back from IndexedDB before every Load, so a Load sees what another tab
// stored. The layout is the one earlier builds of the page wrote (a database
// named after the folder, one store of entries keyed by path), so their saves
// stay readable. Storage that does not answer within STORAGE_WAIT_MS counts as
// refusing: the game never waits on it for longer, and until storage answers
// again every further ask fails at once.
Module.dellomarStats.savesFailed = 0;
Module.dellomarSaves = (function() {
    var FOLDER = "/dellomar";
    var VERSION = 21;
    var STORE = "FILE_DATA";
    var STORAGE_WAIT_MS = 3000;
    var START_WAIT_MS = 5000;
    var PROBE_PAUSE_MS = 1000;
    var db = null;       // the open connection; null when there is none
    var opening = null;  // the connection being opened
    var resting = false; // storage let an ask's time pass and has not answered since
    var held = {};       // path: the bytes storage held at its last answer, or null

    function exists() {
        return typeof indexedDB !== "undefined" && !!indexedDB;
    }

    // A connection the browser takes away (site data cleared, eviction) or
    // another tab wants gone (a new version, a deletion) is let go; the next
    // ask opens a new one.
    function adopt(connection) {
        function drop() {
            if (db === connection) db = null;
        }
        connection.onversionchange = function() {
            connection.close();
            drop();
        };
        connection.onclose = drop;
        db = connection;
        Module.dellomarStats.storage = "indexeddb";
    }

    function open() {
        if (db) return Promise.resolve(db);
        if (opening) return opening;
        opening = new Promise(function(resolve, reject) {
            var request = indexedDB.open(FOLDER, VERSION);
            request.onupgradeneeded = function() {
                var made = request.result;
                var store = made.objectStoreNames.contains(STORE)
                    ? request.transaction.objectStore(STORE) : made.createObjectStore(STORE);
                if (!store.indexNames.contains("timestamp")) {
                    store.createIndex("timestamp", "timestamp", {unique: false});
                }
            };
            request.onsuccess = function() {
                adopt(request.result);
                resolve(request.result);
            };
            request.onerror = function() { reject(request.error); };
        });
        var done = function() { opening = null; };
        opening.then(done, done);
        return opening;
    }

    // One transaction; `work` puts its requests on the store and may leave a
    // result with `keep`. A connection found closed is opened again once.
    function transact(mode, work, again) {
        return open().then(function(connection) {
            var transaction;
            try {
                transaction = connection.transaction([STORE], mode);
            } catch (error) {
                if (db === connection) db = null;
                if (again && error.name === "InvalidStateError") return transact(mode, work, false);
                throw error;
            }
            return new Promise(function(resolve, reject) {
                var result;
                work(transaction.objectStore(STORE), function(value) { result = value; });
                transaction.oncomplete = function() { resolve(result); };
                transaction.onabort = function() { reject(transaction.error); };
            });
        });
    }

    // Resolves to {ok, value} within `waitMs`. `answered` runs when storage
    // does answer, however late: what it holds is known then. Storage that
    // let the time pass is rested: every ask fails at once until it answers
    // again (see rest).
    function ask(mode, work, answered, waitMs) {
        if (!exists() || resting) return Promise.resolve({ok: false});
        return new Promise(function(resolve) {
            var late = false;
            var timer = setTimeout(function() {
                late = true;
                rest();
                resolve({ok: false});
            }, waitMs || STORAGE_WAIT_MS);
            function settle(outcome) {
                if (late) return;
                clearTimeout(timer);
                resolve(outcome);
            }
            var asked;
            try {
                asked = transact(mode, work, true);
            } catch (error) {
                asked = Promise.reject(error);
            }
            asked.then(function(value) {
                answered(value);
                settle({ok: true, value: value});
            }, function() { settle({ok: false}); });
        });
    }

    // The connection that hung is let go, and storage is asked now and then,
    // on a connection of its own, whether it answers again; a Save in the
    // meantime fails at once instead of waiting out the time again.
    function rest() {
        forget();
        if (resting) return;
        resting = true;
        probe();
    }

    function probe() {
        setTimeout(function() {
            var settled = false;
            function next(answers) {
                if (settled) return;
                settled = true;
                if (answers) {
                    resting = false;
                } else {
                    forget();
                    probe();
                }
            }
            setTimeout(function() { next(false); }, STORAGE_WAIT_MS);
            try {
                transact("readonly", function(store) { store.count(); }, true)
                    .then(function() { next(true); }, function() { next(false); });
            } catch (error) {
                next(false);
            }
        }, PROBE_PAUSE_MS);
    }

    function forget() {
        if (!db) return;
        try {
            db.close();
        } catch (error) {
            // Closed already.
        }
        db = null;
    }

    function toMemory(path, bytes) {
        try {
            if (bytes) {
                FS.writeFile(path, bytes);
            } else if (FS.analyzePath(path).exists) {
                FS.unlink(path);
            }
        } catch (error) {
            // The folder in memory always takes a write; nothing to undo.
        }
    }

    function fetchEntry(path, waitMs) {
        return ask("readonly", function(store, keep) {
            var get = store.get(path);
            get.onsuccess = function() {
                var entry = get.result;
                keep(entry && entry.contents ? new Uint8Array(entry.contents) : null);
            };
        }, function(bytes) { held[path] = bytes || null; }, waitMs);
    }

    // The page's line saying that saves are not kept (index.html).
    function sayUnavailable(on) {
        var line = document.getElementById("saving");
        if (line) line.hidden = !on;
    }

    return {
        // Before the game starts: whether storage answers at all, within the
        // time the page gives it (the game then starts either way).
        start: function(path, ready) {
            var started = false;
            function go(storage) {
                if (started) return;
                started = true;
                if (storage) Module.dellomarStats.storage = storage;
                ready();
            }
            if (!exists()) {
                go("memory");
                return;
            }
            // A browser that neither answers nor refuses (storage blocked by
            // another tab) gets longer at the start, where nothing else waits.
            fetchEntry(path, START_WAIT_MS).then(function(outcome) {
                if (outcome.ok) toMemory(path, outcome.value);
                go(outcome.ok ? "" : "memory");
            });
        },
        // Before a Load: the file in memory becomes what storage holds now.
        // 0, or -1 when storage did not answer (the file then counts as missing).
        fetch: function(path) {
            return fetchEntry(path).then(function(outcome) {
                if (!outcome.ok) return -1;
                toMemory(path, outcome.value);
                return 0;
            });
        },
        // After the game put `path` in place: 0 once storage holds it. When it
        // does not, the file in memory goes back to what storage holds, so
        // that the failed Save changed nothing, and the page says so.
        store: function(path) {
            var bytes;
            var mode;
            try {
                bytes = FS.readFile(path);
                mode = FS.stat(path).mode;
            } catch (error) {
                return Promise.resolve(-1);
            }
            return ask("readwrite", function(store) {
                store.put({timestamp: new Date(), mode: mode, contents: bytes}, path);
            }, function() { held[path] = bytes; }).then(function(outcome) {
                if (outcome.ok) {
                    sayUnavailable(false);
                    return 0;
                }
                Module.dellomarStats.savesFailed++;
                toMemory(path, held[path] || null);
                sayUnavailable(true);
                return -1;
            });
        }
    };
})();

Module.preRun = Module.preRun || [];
Module.preRun.push(function() {
    var folder = "/dellomar";
    FS.mkdir(folder);
    FS.chdir(folder);
    addRunDependency("dellomar-saves");
    Module.dellomarSaves.start(folder + "/save.gm", function() {
        removeRunDependency("dellomar-saves");
    });
});
