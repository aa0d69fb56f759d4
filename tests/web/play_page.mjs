// Plays the web build in a headless browser (Chromium or Firefox), served from
// 127.0.0.1, and judges it by the canvas's pixels and by the saved game read
// out of IndexedDB. First, loading: a first visit asks the server for each file
// once and stays small, and the backdrop it paints is the native file; a file
// that fails to load (503, a dropped connection, another build's, a set that is
// gone) makes the page say the game could not be loaded. Then playing:
// the field and menu show; a click opens the start cell as the rules say; a
// right tap flags and a left tap opens (press and release between two
// frames); Save, a reload and Load give back the same board, as does a
// restart of the browser; a Save the browser's storage refuses leaves the
// stored game as it was and the game running; F12 then Enter ends the game
// and the page says so. On a phone, portrait and landscape, by touch: the
// picture fits; a drag moves the lamp, a tap opens and a long press flags
// under it, a moving touch opens nothing; Save, Load and New by touch, with
// the number field; touches that go wrong leave no button down; nothing
// scrolls or zooms. After a first visit the page plays offline; an update
// serves the next start a whole new set and keeps the save; Chromium finds
// the page installable. Nothing reaches the console as an error. Prints the frame rate reached and
// what presenting a frame costs.
//
// Usage: node play_page.mjs <site folder> [chromium|firefox]
// (CHROMIUM and FIREFOX name the browsers' programs)
import { launch } from "puppeteer-core";
import { spawnSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";

import { CHROMIUM, CHROMIUM_ARGS } from "./chromium_flags.mjs";
import { serveFolder } from "./static_server.mjs";
import * as board from "./saved_board.mjs";

const site = path.resolve(process.argv[2] ?? "../../build-web/site");
const BROWSER = process.argv[3] ?? "chromium";
const IS_CHROMIUM = BROWSER === "chromium";
if (!["chromium", "firefox"].includes(BROWSER)) throw new Error(`unknown browser ${BROWSER}`);
const WAIT_MS = 15000;

// The canvas is shown at one page pixel per picture pixel: 600 rows of
// picture above the 40-pixel line of controls.
const VIEWPORT = { width: 800, height: 640 };
// Where the page's pointer sits relative to the game's cursor; the cursor
// starts at (10, 10), with the lamp's hot spot 57 pixels right and down.
const POINTER_OFFSET = 40;
const CURSOR_START = 10;
const HOTSPOT = 57;
const CELL = 23;
const SAVE_BUTTON = { x: 680, y: 150 };
const LOAD_BUTTON = { x: 680, y: 100 };

const failures = [];
function check(ok, what) {
    console.log(`${ok ? "ok  " : "FAIL"} [${BROWSER}] ${what}`);
    if (!ok) failures.push(what);
}

// Each launch gets the profile folder given, so that a restart of the
// browser finds what the last one stored.
async function openBrowser(profile) {
    if (!IS_CHROMIUM) {
        return launch({
            browser: "firefox",
            executablePath: process.env.FIREFOX ?? "/usr/bin/firefox-esr",
            headless: true,
            userDataDir: profile,
            extraPrefsFirefox: FIREFOX_PREFS,
        });
    }
    return launch({
        executablePath: CHROMIUM,
        headless: true,
        userDataDir: profile,
        // Left alone: attaching to a new version of the page's worker holds it.
        targetFilter: (target) => target.type() !== "service_worker",
        args: CHROMIUM_ARGS,
    });
}

// Firefox as a player's: touch events on, no first-run pages, no updates.
const FIREFOX_PREFS = {
    "dom.w3c_touch_events.enabled": 1,
    "media.autoplay.default": 0,
    "media.autoplay.block-webaudio": false,
    "browser.shell.checkDefaultBrowser": false,
    "app.update.enabled": false,
    "datareporting.policy.dataSubmissionEnabled": false,
};

// One page of the game with its console watched; the pointer follows the
// game's cursor (see POINTER_OFFSET).
async function openPage(browser, url, errors, beforeLoad = async () => {}, viewport = VIEWPORT) {
    const page = await browser.newPage();
    await beforeLoad(page);
    page.on("console", (message) => {
        if (process.env.WEB_TEST_VERBOSE) console.log(`console ${message.type()}: ${message.text()}`);
        if (message.type() === "error") errors.push(message.text());
    });
    page.on("pageerror", (error) => errors.push(String(error)));
    await page.setViewport(viewport);
    await page.goto(url);
    if (viewport.hasTouch && !IS_CHROMIUM) await firstTouch(page);
    return page;
}

// A reload of a phone's page: a new document, which must learn of the touch
// screen again.
async function reloadPage(page) {
    await page.reload();
    if (page.viewport()?.hasTouch && !IS_CHROMIUM) await firstTouch(page);
}

// Firefox's emulated phone keeps a fine pointer, so the page, as on a laptop
// with a touch screen, learns of the touch screen from its first touch: one
// on the words, before the test measures the picture.
async function firstTouch(page) {
    const started = () => typeof Module !== "undefined" && Module.dellomarStats.frames > 0;
    if (!(await evaluatedUntil(page, started))) {
        const state = await page.evaluate(() => ({
            shown: document.visibilityState, notice: document.getElementById("notice")?.textContent,
            started: typeof Module !== "undefined" && !!Module.calledRun,
            stats: typeof Module !== "undefined" ? Module.dellomarStats : null,
        }));
        throw new Error(`no frame within ${WAIT_MS} ms: ${JSON.stringify(state)}`);
    }
    const words = await page.evaluate(() => {
        const r = document.getElementById("controls").getBoundingClientRect();
        return { x: Math.round(r.left + r.width / 2), y: Math.round(r.top + r.height / 2), id: 0 };
    });
    await page.evaluate(dispatchTouches, "touchStart", [words]);
    await page.evaluate(dispatchTouches, "touchEnd", []);
    if (!(await evaluatedUntil(page, () => document.body.classList.contains("touch")))) {
        throw new Error(`the page took no touch within ${WAIT_MS} ms`);
    }
}

// Asks the page afresh each time, in the document it shows then. With three
// runs at once, Firefox's waitForFunction started as a page opened timed out
// now and then on a game that had started within a second (hundreds of
// frames when asked afterwards): its poll watched a document no longer shown.
async function evaluatedUntil(page, condition, ...args) {
    const until = Date.now() + WAIT_MS;
    for (;;) {
        try {
            if (await page.evaluate(condition, ...args)) return true;
        } catch {
            // The document was replaced while it was asked: ask the new one.
        }
        if (Date.now() > until) return false;
        await new Promise((resolve) => setTimeout(resolve, 20));
    }
}

const stats = (page) => page.evaluate(() => ({ ...window.Module?.dellomarStats }));

// Passes of the game's loop: a frame that runs Load or Save ends early and
// presents nothing, but still gives the page its turn.
async function waitPasses(page, count, counter = "turns") {
    // A page still loading its script has no counts yet: none so far.
    const from = (await stats(page))[counter] ?? 0;
    try {
        await page.waitForFunction((counter, target) => Module.dellomarStats?.[counter] >= target,
                                   { timeout: WAIT_MS, polling: 5 }, counter, from + count);
    } catch (error) {
        throw new Error(`the game stopped (${counter}): ${JSON.stringify(await stats(page))}`);
    }
}
const waitFrames = (page, count) => waitPasses(page, count, "frames");

// The game's cursor, tracked from the motion sent: the pointer moves by the
// same amount, one page pixel per picture pixel.
class Pointer {
    constructor(page) {
        this.page = page;
        this.cursor = { x: CURSOR_START, y: CURSOR_START };
        this.at = { x: CURSOR_START + POINTER_OFFSET, y: CURSOR_START + POINTER_OFFSET };
    }
    // The first move gives the page a place to measure motion from.
    async start() {
        await this.page.mouse.move(this.at.x, this.at.y);
        await waitFrames(this.page, 2);
    }
    // Where the pointer is (`at`) and where the cursor is part when Firefox
    // lets the lock go (another tab came to the front): the cursor then moves
    // as the pointer does, from wherever the pointer was left.
    async moveCursorTo(x, y) {
        await this.moveCursorAt(x, y, 4);
        await waitFrames(this.page, 3);
    }
    // Moves without waiting for frames, for checks that count them.
    async moveCursorAt(x, y, steps) {
        const by = { x: x - this.cursor.x, y: y - this.cursor.y };
        this.cursor = { x, y };
        if (!IS_CHROMIUM && await this.page.evaluate(() => document.pointerLockElement !== null)) {
            await this.moveLockedBy(by, steps);
        } else {
            this.at = { x: this.at.x + by.x, y: this.at.y + by.y };
            await this.page.mouse.move(this.at.x, this.at.y, { steps });
        }
    }
    // Under pointer lock Firefox measures each move the driver makes from the
    // middle of the view, where a locked pointer is kept: each step goes there
    // plus the step's motion.
    async moveLockedBy(by, fewest) {
        const view = this.page.viewport();
        const middle = { x: Math.floor(view.width / 2), y: Math.floor(view.height / 2) };
        // Each step must end inside the view.
        const steps = Math.max(fewest, Math.ceil(Math.abs(by.x) / (middle.x - 1)),
                               Math.ceil(Math.abs(by.y) / (middle.y - 1)));
        let done = { x: 0, y: 0 };
        // A move to where the driver's pointer already is makes no event, so
        // each step starts from the middle itself (a move of nothing).
        for (let i = 1; i <= steps; i++) {
            const step = { x: Math.round((by.x * i) / steps) - done.x, y: Math.round((by.y * i) / steps) - done.y };
            done = { x: done.x + step.x, y: done.y + step.y };
            if (step.x === 0 && step.y === 0) continue;
            await this.page.mouse.move(middle.x, middle.y);
            this.at = { x: middle.x + step.x, y: middle.y + step.y };
            await this.page.mouse.move(this.at.x, this.at.y);
        }
    }
    async moveLampTo(cell) {
        await this.moveCursorTo(cell.x * CELL + 11 - HOTSPOT, cell.y * CELL + 11 - HOTSPOT);
    }
    // Held over several frames, as a player's click is.
    async hold(button = "left") {
        await this.page.mouse.down({ button });
        await waitPasses(this.page, 4);
        await this.page.mouse.up({ button });
        await waitFrames(this.page, 3);
    }
}

// A press and a release dispatched in one go: both land between two frames.
async function tapButton(page, button) {
    await page.evaluate((button) => {
        const canvas = document.getElementById("canvas");
        for (const type of ["mousedown", "mouseup"]) {
            canvas.dispatchEvent(new MouseEvent(type, { button, bubbles: true, cancelable: true }));
        }
    }, button);
    await waitFrames(page, 3);
}

// Waits for no frame afterwards: the key may end the game.
async function tapKey(page, code) {
    await page.evaluate((code) => {
        for (const type of ["keydown", "keyup"]) {
            window.dispatchEvent(new KeyboardEvent(type, { code, key: code, bubbles: true,
                                                            cancelable: true }));
        }
    }, code);
}

// The saved game as IndexedDB holds it, or null.
async function readStoredSave(page) {
    return (await readStoredEntry(page))?.bytes ?? null;
}

// The saved game's entry: its bytes and when it was written.
function readStoredEntry(page) {
    return page.evaluate(() => new Promise((resolve) => {
        const request = indexedDB.open("/dellomar");
        request.onerror = () => resolve(null);
        request.onsuccess = () => {
            const db = request.result;
            const done = (value) => { db.close(); resolve(value); };
            try {
                const get = db.transaction(["FILE_DATA"], "readonly").objectStore("FILE_DATA")
                    .get("/dellomar/save.gm");
                get.onsuccess = () => done(get.result ? {
                    bytes: Array.from(get.result.contents),
                    timestamp: Number(get.result.timestamp),
                } : null);
                get.onerror = () => done(null);
            } catch (e) {
                done(null);
            }
        };
    }));
}

async function saveAndRead(pointer) {
    await pointer.moveCursorTo(SAVE_BUTTON.x, SAVE_BUTTON.y);
    await pointer.hold();
    return readStoredSave(pointer.page);
}

// Mean brightness (0..255) and a checksum of a rectangle of the canvas.
function canvasArea(page, x, y, width, height) {
    return page.evaluate((x, y, width, height) => {
        const data = document.getElementById("canvas").getContext("2d")
            .getImageData(x, y, width, height).data;
        let sum = 0;
        let hash = 0;
        for (let i = 0; i < data.length; i += 4) {
            sum += (data[i] + data[i + 1] + data[i + 2]) / 3;
            hash = (hash * 31 + data[i] * 65536 + data[i + 1] * 256 + data[i + 2]) >>> 0;
        }
        return { mean: sum / (width * height), hash };
    }, x, y, width, height);
}

async function firstSession(browser, url, errors) {
    const page = await openPage(browser, url, errors);
    await waitFrames(page, 10);
    const field = await canvasArea(page, 100, 100, 400, 400);
    const menu = await canvasArea(page, 636, 31, 100, 38);
    check(field.mean > 5, `the field shows (mean brightness ${field.mean.toFixed(1)})`);
    check(menu.mean > 5, `the menu shows (mean brightness ${menu.mean.toFixed(1)})`);

    const pointer = new Pointer(page);
    await pointer.start();
    await pointer.hold(); // the lamp starts over cell (2, 2)
    const locked = await page.evaluate(() => document.pointerLockElement !== null);
    // Either way the lamp moves: by relative motion, or by the pointer's moves.
    console.log(`pointer lock after the first click: ${locked ? "granted" : "refused"}`);
    const soundsAfterClick = (await stats(page)).sounds;
    let saved = board.parse(await saveAndRead(pointer));
    check(saved !== null, "Save stores the game in IndexedDB");
    if (saved === null) return { page };
    check(board.sameCells(board.openedCells(saved), board.expectedAfterClick(saved, 2, 2)),
          "the click opened cell (2, 2) and what the rules open with it");

    const [flagCell, tapCell] = board.hiddenCells(saved, 2);
    await pointer.moveLampTo(flagCell);
    await tapButton(page, 2);
    await pointer.moveLampTo(tapCell);
    await tapButton(page, 0);
    saved = board.parse(await saveAndRead(pointer));
    check(board.state(saved, flagCell) === board.FLAGGED,
          `a right tap flagged (${flagCell.x}, ${flagCell.y})`);
    check(board.state(saved, tapCell) === board.OPEN,
          `a left tap opened (${tapCell.x}, ${tapCell.y})`);
    return { page, saved, flagCell, soundsAfterClick, pointer };
}

// A fresh page (after a reload or a restart) loads the stored game and
// saves it back unchanged.
async function loadSession(page, expected, flagCell, what) {
    await waitFrames(page, 10);
    const pointer = new Pointer(page);
    await pointer.start();
    const cellArea = [flagCell.x * CELL, flagCell.y * CELL, CELL, CELL];
    const before = await canvasArea(page, ...cellArea);
    await pointer.moveCursorTo(LOAD_BUTTON.x, LOAD_BUTTON.y);
    await pointer.hold();
    const after = await canvasArea(page, ...cellArea);
    check(before.hash !== after.hash, `${what}: the flag shows after Load`);
    const saved = await saveAndRead(pointer);
    check(saved !== null && board.text(saved) === board.text(expected.bytes),
          `${what}: Load gave back the saved board`);
    return pointer;
}

// The browser refuses to store (as with no room left): Save fails, the stored
// game stays as it was, and the game plays on.
async function refusedSave(page, expected, pointer) {
    const [cell] = board.hiddenCells(board.parse(expected.bytes), 1);
    await pointer.moveLampTo(cell);
    await tapButton(page, 2);
    await page.evaluate(() => {
        window.keptTransaction = IDBDatabase.prototype.transaction;
        IDBDatabase.prototype.transaction = () => {
            throw new DOMException("no room left", "QuotaExceededError");
        };
    });
    await pointer.moveCursorTo(SAVE_BUTTON.x, SAVE_BUTTON.y);
    await pointer.hold();
    await page.evaluate(() => { IDBDatabase.prototype.transaction = window.keptTransaction; });
    const stored = await readStoredSave(page);
    check(stored !== null && board.text(stored) === board.text(expected.bytes),
          "a Save the browser refuses leaves the stored game as it was");
    await waitFrames(page, 5);
    const next = board.parse(await saveAndRead(pointer));
    check(next !== null && board.state(next, cell) === board.FLAGGED,
          "the game plays on, and the next Save the browser takes is stored");
}

// The picture fills the window above the line of controls, its aspect kept.
async function checkLayout(page) {
    const title = await page.title();
    check(title === "Dellomar ++", `the page's title is the game's name ("${title}")`);
    await page.setViewport({ width: 1000, height: 440 });
    await page.waitForFunction(() => window.innerHeight === 440, { timeout: WAIT_MS });
    await page.waitForFunction(
        () => document.getElementById("canvas").getBoundingClientRect().height !== 600,
        { timeout: WAIT_MS }).catch(() => {});
    const shown = await page.evaluate(() => {
        const box = document.getElementById("canvas").getBoundingClientRect();
        return { width: box.width, height: box.height };
    });
    check(shown.height === 400 && shown.width === 533,
          `in a 1000 x 440 window the picture is shown at ${shown.width} x ${shown.height}`);
}

// A browser without IndexedDB at all (as in some private modes): the game
// starts, and Save, which cannot be stored, leaves it running.
async function noStorageSession(browser, url, errors) {
    const page = await openPage(browser, url, errors, (page) => page.evaluateOnNewDocument(() => {
        Object.defineProperty(window, "indexedDB", { value: undefined });
    }));
    await waitFrames(page, 10);
    const pointer = new Pointer(page);
    await pointer.start();
    await pointer.moveCursorTo(SAVE_BUTTON.x, SAVE_BUTTON.y);
    await pointer.hold();
    await waitFrames(page, 5);
    const storage = (await stats(page)).storage;
    check(storage === "memory", `without IndexedDB the game plays on (saves kept in ${storage})`);
    await checkLayout(page);
    await page.close();
}

async function endGame(page) {
    await tapKey(page, "F12");
    await waitFrames(page, 3);
    await tapKey(page, "Enter");
    const ended = await page.waitForFunction(
        () => document.getElementById("notice").textContent.includes("The game has ended"),
        { timeout: WAIT_MS }).then(() => true, () => false);
    check(ended, "F12 then Enter ended the game and the page says so");
    const dimmed = await page.evaluate(
        () => document.getElementById("canvas").classList.contains("ended"));
    check(dimmed, "the last frame stays, dimmed");
}

// ---- The page draws only what changed, and at once ----

// The frame count when the page last took an event of this type.
async function frameOfEvent(page, type) {
    return page.evaluate((type) => window.frameOf[type], type);
}

// How many frames after `frame` the page next drew.
async function framesUntilDrawn(page, frame) {
    await page.waitForFunction((frame) => Module.dellomarStats.drawnAt > frame,
                               { timeout: WAIT_MS, polling: 5 }, frame);
    return (await stats(page)).drawnAt - frame;
}

async function drawnOnlyWhenChanged(pointer, saved) {
    const page = pointer.page;
    await page.evaluate(() => {
        window.frameOf = {};
        for (const type of ["mousemove", "mouseup"]) {
            window.addEventListener(type, () => { window.frameOf[type] = Module.dellomarStats.frames; },
                                    true);
        }
    });
    await waitFrames(page, 5);
    const rest = await stats(page);
    await waitFrames(page, 30);
    const still = await stats(page);
    check(still.drawn === rest.drawn, `at rest the page draws nothing ` +
          `(${still.frames - rest.frames} frames, ${still.drawn - rest.drawn} drawn)`);

    // One motion in one step: the lamp's new place shows within two frames.
    const [cell] = board.hiddenCells(saved, 1);
    const cellArea = [cell.x * CELL, cell.y * CELL, CELL, CELL];
    const target = { x: cell.x * CELL + 11 - HOTSPOT, y: cell.y * CELL + 11 - HOTSPOT };
    // The lamp's ring around its hot spot, where it will stand.
    const lampArea = [Math.max(0, target.x), Math.max(0, target.y), 120, 120];
    const before = await canvasArea(page, ...lampArea);
    await pointer.moveCursorAt(target.x, target.y, 1);
    const moved = await framesUntilDrawn(page, await frameOfEvent(page, "mousemove"));
    check(moved <= 2, `the lamp moved on the canvas ${moved} frame(s) after the motion`);
    check((await canvasArea(page, ...lampArea)).hash !== before.hash,
          "the lamp shows at its new place");
    const lit = await canvasArea(page, ...cellArea);

    // A click: the opened cell shows in the frame after the release.
    await page.mouse.down();
    await waitPasses(page, 3);
    await page.mouse.up();
    const clicked = await framesUntilDrawn(page, await frameOfEvent(page, "mouseup"));
    check(clicked <= 2, `the click's result was drawn ${clicked} frame(s) after the release`);
    const opened = await canvasArea(page, ...cellArea);
    check(opened.hash !== lit.hash, `the clicked cell (${cell.x}, ${cell.y}) shows opened`);

    // While the lamp moves the page draws; once it stops, it draws nothing.
    const moving = await stats(page);
    for (let step = 0; step < 10; ++step) {
        await pointer.moveCursorAt(pointer.cursor.x + (step % 2 === 0 ? 5 : -5), pointer.cursor.y, 1);
        await waitFrames(page, 2);
    }
    const stopped = await stats(page);
    check(stopped.drawn - moving.drawn >= 8,
          `the page drew ${stopped.drawn - moving.drawn} of ${stopped.frames - moving.frames} ` +
          `frames while the lamp moved 10 times`);
    await waitFrames(page, 20);
    check((await stats(page)).drawn === stopped.drawn, "and nothing once it stopped");
}

// The tab in the background (as the page sees it): the game's loop stops, and
// goes on, the picture drawn whole once, when the tab is shown again.
async function hiddenTabRests(page) {
    const setShown = (shown) => page.evaluate((shown) => {
        Object.defineProperty(document, "visibilityState", { configurable: true,
                                                            get: () => (shown ? "visible" : "hidden") });
        document.dispatchEvent(new Event("visibilitychange"));
    }, shown);
    const pause = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
    await setShown(false);
    // The pass under way ends; the next turn finds the tab hidden.
    await pause(200);
    const hidden = await stats(page);
    await pause(500);
    const later = await stats(page);
    check(later.turns === hidden.turns, `a hidden tab runs no pass (${later.turns - hidden.turns} in 0.5 s)`);
    await setShown(true);
    await page.evaluate(() => { delete document.visibilityState; });
    await waitFrames(page, 5);
    const shown = await stats(page);
    check(shown.drawn === later.drawn + 1, "shown again, the game goes on and draws its picture once");
}

function reportSpeed(label, first, last) {
    const frames = last.frames - first.frames;
    const seconds = (last.lastFrameAt - first.lastFrameAt) / 1000;
    const fps = seconds > 0 ? frames / seconds : 0;
    const drawn = last.drawn ?? last.frames;
    console.log(`${label}: ${fps.toFixed(1)} frames per second over ${frames} frames, ` +
                `${drawn - (first.drawn ?? first.frames)} drawn; ` +
                `RGBA conversion ${(last.convertMs / drawn).toFixed(3)} ms, ` +
                `canvas draw ${(last.drawMs / drawn).toFixed(3)} ms per frame drawn`);
}

// At rest the passes go on timers rather than the browser's frames, one
// display period apart (measured from the frames' time stamps: 60 a second
// here), and keep the game's 10 ms all the same. The rate the passes reach is
// printed, not checked: on a loaded machine the timers wake late, and the
// benchmark (bench/page_at_rest.mjs) is where the rate is measured.
function restsOnTimers(first, last) {
    const frames = last.frames - first.frames;
    const timed = last.timedTurns - first.timedTurns;
    const fps = (1000 * frames) / (last.lastFrameAt - first.lastFrameAt);
    const period = last.pacePeriodMs;
    check(timed >= frames * 0.75 && period >= 1000 / 75 && period <= 1000 / 45,
          `at rest the passes are timed (${timed} of ${frames}), due every ` +
          `${period?.toFixed(1)} ms, the display's period (${fps.toFixed(1)} passes a second)`);
    // The game's tick and Firefox's clock each count whole milliseconds.
    check(last.shortestPassMs >= 8, `no frame was shorter than 10 ms, to the clocks' ` +
          `milliseconds (shortest ${last.shortestPassMs.toFixed(1)} ms)`);
}

const audioState = (page) => page.evaluate(() => {
    const audio = Module.dellomarAudio;
    return audio?.resting ? "resting" : audio?.context?.state ?? "none";
});

// Headless Firefox here finds no sound device: its audio never runs, and no
// page can sound. The game must still have sounded wherever audio runs.

async function clickSounded(first) {
    const audio = await audioState(first.page);
    const mute = !IS_CHROMIUM && audio !== "running" && audio !== "resting";
    if (mute) console.log(`note: this Firefox has no running audio (${audio}); the click cannot sound`);
    check(first.soundsAfterClick > 0 || mute, `the click sounded (${first.soundsAfterClick} sounds)`);
    return !mute;
}

// A quiet game suspends its audio, which would otherwise keep the browser's
// audio working; the next click sounds all the same, the audio running again.
async function audioRests(page) {
    const quietFrom = Date.now();
    const rested = await evaluatedUntil(page, () => Module.dellomarAudio?.resting &&
                                        Module.dellomarAudio.context.state === "suspended");
    check(rested, `the audio rests once the game is quiet (${await audioState(page)} after ` +
          `${Date.now() - quietFrom} ms)`);
    const sounds = (await stats(page)).sounds;
    await page.mouse.down();
    await waitPasses(page, 3);
    await page.mouse.up();
    const wokenFrom = Date.now();
    const woken = await evaluatedUntil(page, (n) => Module.dellomarStats.sounds > n &&
                                       Module.dellomarAudio.context.state === "running", sounds);
    check(woken, `a click on the quiet game sounds and its audio runs again ` +
          `(${await audioState(page)} after ${Date.now() - wokenFrom} ms)`);
}

// ---- Storage that misbehaves; windows too small for the picture ----

// A page of the site without the game, for a second tab of the same origin
// (one that every browser shows as a page: not the manifest, which Firefox
// would not show).
const OTHER_PAGE = "sw.js";

const savingSaid = (page) => page.evaluate(() => !document.getElementById("saving").hidden);

// A Save whose storage fails: the game goes on drawing frames after it, the
// page says saving is unavailable, and the Save counts as failed.
async function saveFails(page, pointer, what) {
    const failed = (await stats(page)).savesFailed;
    await pointer.moveCursorTo(SAVE_BUTTON.x, SAVE_BUTTON.y);
    await pointer.hold();
    await page.waitForFunction((n) => Module.dellomarStats.savesFailed > n, { timeout: WAIT_MS }, failed)
        .catch(() => {});
    const after = await stats(page);
    const goesOn = await waitFrames(page, 20).then(() => true, () => false);
    check(after.savesFailed > failed && goesOn && await savingSaid(page),
          `${what}: Save failed, frames go on and the page says saving is unavailable ` +
          `(${after.savesFailed - failed} failed)`);
}

// IndexedDB that never answers, from the start or once the game runs; a
// store cleared while the page is open (another tab deletes it, as clearing
// the site's data does); two tabs saving in turn.
async function storageGoesWrong(browser, url, errors) {
    const silent = await openPage(browser, url, errors, (page) => page.evaluateOnNewDocument(() => {
        IDBFactory.prototype.open = () => ({}); // a request that never calls back
    }));
    await waitFrames(silent, 10);
    const stuck = new Pointer(silent);
    await stuck.start();
    check((await stats(silent)).storage === "memory", "an IndexedDB that never opens: the game starts");
    await saveFails(silent, stuck, "an IndexedDB that never opens");
    await silent.close();

    const page = await openPage(browser, url, errors);
    await waitFrames(page, 10);
    const pointer = new Pointer(page);
    await pointer.start();
    await pointer.hold();
    const stored = await saveAndRead(pointer);
    await page.evaluate(() => {
        window.keptTransaction = IDBDatabase.prototype.transaction;
        const never = () => ({}); // requests whose answers never come
        IDBDatabase.prototype.transaction = () => ({ objectStore: () => ({ get: never, put: never }) });
    });
    await saveFails(page, pointer, "an IndexedDB that stops answering");
    await page.evaluate(() => { IDBDatabase.prototype.transaction = window.keptTransaction; });
    const kept = await readStoredSave(page);
    check(stored !== null && kept !== null && board.text(kept) === board.text(stored),
          "the stored game stays as it was");
    // The game finds out by itself that storage answers again; a Save held
    // meanwhile goes through once it has.
    const again = await holdSaveUntilStored(pointer);
    check(again !== null && !(await savingSaid(page)),
          "once IndexedDB answers again, a Save is stored and the line goes");

    await clearedStore(browser, page, pointer);
    await twoTabs(browser, url, errors, page, pointer);
    await page.close();
}

async function holdSaveUntilStored(pointer) {
    const page = pointer.page;
    const before = await readStoredEntry(page);
    await pointer.moveCursorTo(SAVE_BUTTON.x, SAVE_BUTTON.y);
    await page.mouse.down();
    const entry = await waitFor("a held Save to be stored", async () => {
        const now = await readStoredEntry(page);
        return now && (!before || now.timestamp !== before.timestamp) ? now : null;
    }).catch(() => null);
    await page.mouse.up();
    await waitFrames(page, 3);
    return entry?.bytes ?? null;
}

// Firefox opens it behind, so that the game's tab keeps the pointer.
async function deleteStore(browser, url) {
    const other = await browser.newPage(IS_CHROMIUM ? undefined : { background: true });
    await other.goto(new URL(OTHER_PAGE, url).href);
    const deleted = await other.evaluate(() => new Promise((resolve) => {
        const request = indexedDB.deleteDatabase("/dellomar");
        request.onsuccess = () => resolve("deleted");
        request.onerror = () => resolve(String(request.error));
        request.onblocked = () => {}; // the game's page lets go; success follows
    }));
    await other.close();
    return deleted;
}

// The site's stored data goes while the page plays: the next Save stores the
// game again. In Chromium also through its own "clear site data".
async function clearedStore(browser, page, pointer) {
    const url = page.url();
    const ways = [["another tab deletes the store", () => deleteStore(browser, url)]];
    if (IS_CHROMIUM) {
        ways.push(["the site's data is cleared", async () => {
            const client = await page.createCDPSession();
            await client.send("Storage.clearDataForOrigin", { origin: new URL(url).origin,
                                                              storageTypes: "indexeddb" });
            return "cleared";
        }]);
    }
    for (const [what, clear] of ways) {
        const how = await clear();
        const gone = (await readStoredSave(page)) === null;
        await waitFrames(page, 5);
        const saved = await saveAndRead(pointer);
        check(gone && saved !== null && board.parse(saved) !== null,
              `${what} (${how}): the next Save is stored`);
    }
}

// Tab A saves, tab B saves another board, A's Load gives B's board.
async function twoTabs(browser, url, errors, pageA, pointerA) {
    await pageA.bringToFront();
    const savedA = await saveAndRead(pointerA);
    const pageB = await openPage(browser, url, errors);
    await waitFrames(pageB, 10);
    const pointerB = new Pointer(pageB);
    await pointerB.start();
    await pointerB.moveLampTo({ x: 20, y: 20 });
    await pointerB.hold("right");
    const savedB = await saveAndRead(pointerB);
    await pageA.bringToFront();
    await pointerA.moveCursorTo(LOAD_BUTTON.x, LOAD_BUTTON.y);
    await pointerA.hold();
    const loadedA = await saveAndRead(pointerA);
    check(savedA !== null && savedB !== null && board.text(savedA) !== board.text(savedB) &&
          loadedA !== null && board.text(loadedA) === board.text(savedB),
          "two tabs: A saves, B saves another board, and A's Load gives B's board");
    await pageB.close();
}

// The whole picture inside the window, its aspect kept to the pixel, as
// large as the window lets it be.
async function pictureFits(page, what) {
    const shown = await page.evaluate(() => {
        const box = document.getElementById("canvas").getBoundingClientRect();
        return { left: box.left, top: box.top, right: box.right, bottom: box.bottom,
                 width: box.width, height: box.height, windowWidth: window.innerWidth,
                 windowHeight: window.innerHeight };
    });
    const inside = shown.left >= 0 && shown.top >= 0 && shown.right <= shown.windowWidth &&
        shown.bottom <= shown.windowHeight && shown.width >= 1 && shown.height >= 1;
    const aspect = Math.abs(shown.width * 3 - shown.height * 4) <= 4;
    const large = shown.width >= shown.windowWidth - 1 || shown.height >= shown.windowHeight - 1;
    check(inside && aspect && large, `${what}: the whole picture shows, at ${shown.width} x ` +
          `${shown.height} in ${shown.windowWidth} x ${shown.windowHeight}`);
}

async function tinyWindows(browser, url, errors) {
    const page = await openPage(browser, url, errors);
    await waitFrames(page, 5);
    for (const [width, height] of [[50, 30], [1, 1], [120, 700]]) {
        await page.setViewport({ width, height });
        await page.waitForFunction((w, h) => window.innerWidth === w && window.innerHeight === h,
                                   { timeout: WAIT_MS }, width, height).catch(() => {});
        await waitFrames(page, 2);
        await pictureFits(page, `a ${width} x ${height} window`);
    }
    await page.close();
    const touch = await openPage(browser, url, errors, async () => {},
                                 { width: 100, height: 100, isMobile: true, hasTouch: true });
    await waitFrames(touch, 5);
    await pictureFits(touch, "a 100 x 100 window by touch");
    await touch.close();
}

// ---- A phone: touch, the number field, offline, updates, installing ----

const PICTURE = { width: 800, height: 600 };
const MENU_X = 635;
const PHONE_VIEWS = [
    { name: "portrait", width: 412, height: 915, isMobile: true, hasTouch: true, deviceScaleFactor: 1 },
    { name: "landscape", width: 915, height: 412, isMobile: true, hasTouch: true, deviceScaleFactor: 1 },
];
const PHONE_BUTTON = { new: { x: 686, y: 50 }, load: { x: 686, y: 100 }, save: { x: 686, y: 150 } };
const cellCentre = (cell) => ({ x: cell.x * CELL + 11, y: cell.y * CELL + 11 });

async function waitFor(what, condition) {
    const until = Date.now() + WAIT_MS;
    for (;;) {
        const value = await condition();
        if (value) return value;
        if (Date.now() > until) throw new Error(`timed out waiting for ${what}`);
        await new Promise((resolve) => setImmediate(resolve));
    }
}

// Fingers on the page, through the DevTools protocol. It keeps the lamp's hot
// spot as the game moves it: a finger's motion in whole page pixels (as the
// page reports it) times picture pixels per page pixel.
class Fingers {
    constructor(page, client, box) {
        this.page = page;
        this.client = client;
        this.box = box;
        this.scale = PICTURE.width / box.width;
        this.lamp = { x: CURSOR_START + HOTSPOT, y: CURSOR_START + HOTSPOT };
        this.arrowInMenu = false;
    }
    static async on(page) {
        const box = await page.evaluate(() => {
            const r = document.getElementById("canvas").getBoundingClientRect();
            return { left: r.left, top: r.top, width: r.width, height: r.height };
        });
        return new Fingers(page, IS_CHROMIUM ? await page.createCDPSession() : null, box);
    }
    // Whole page pixels for a picture point, and back as the page reports it.
    at(point) {
        return { x: Math.round(this.box.left + point.x / this.scale),
                 y: Math.round(this.box.top + point.y / this.scale) };
    }
    seen(pagePoint) {
        return { x: Math.trunc(pagePoint.x - this.box.left), y: Math.trunc(pagePoint.y - this.box.top) };
    }
    // Touch events go out in order without waiting for one another's answer
    // (the protocol keeps their order), so on a loaded machine a quick finger
    // is not held still between two of them for longer than it really was.
    // `points` are the fingers down after the event, as DevTools takes them.
    send(type, points) {
        const touchPoints = points.map((p, i) => ({ x: p.x, y: p.y, id: p.id ?? i }));
        const sent = this.client
            ? this.client.send("Input.dispatchTouchEvent", { type, touchPoints })
            : this.page.evaluate(dispatchTouches, type, touchPoints);
        this.inFlight = (this.inFlight ?? Promise.resolve()).then(() => sent);
        return this.inFlight;
    }
    // A finger put down at a picture point; over the field, when the arrow
    // was in the menu, the lamp's hot spot comes under it.
    // Without `settle` the next touch event follows at once, as a quick
    // finger's does: the long press must not fire on a loaded machine.
    async down(point, settle = true) {
        const p = this.at(point);
        const sent = this.send("touchStart", [p]);
        if (settle) await sent;
        const seen = this.seen(p);
        if (point.x >= MENU_X) {
            this.arrowInMenu = true;
        } else if (this.arrowInMenu) {
            this.arrowInMenu = false;
            this.lamp = { x: Math.floor(seen.x * this.scale), y: Math.floor(seen.y * this.scale) };
        }
        this.last = seen;
        this.pagePoint = p;
        // Passes, not frames: a held Save or Load presents none.
        if (settle) await waitPasses(this.page, 3);
    }
    // Touch events at picture points, all sent before the game reads twice
    // (in Firefox from one turn of the page): [type, [points]] each.
    async burst(events) {
        const sent = events.map(([type, points]) => [type, points.map((p, i) => ({ ...this.at(p), id: i }))]);
        if (this.client) {
            for (const [type, points] of sent) this.send(type, points);
            await this.inFlight;
        } else {
            await this.page.evaluate((sent, dispatch) => {
                const fire = new Function(`return (${dispatch})`)();
                for (const [type, points] of sent) fire(type, points);
            }, sent, dispatchTouches.toString());
        }
        await waitPasses(this.page, 3);
    }
    async moveBy(dx, dy, steps = 5) {
        const from = this.pagePoint;
        for (let i = 1; i <= steps; i++) {
            const p = { x: from.x + Math.round((dx * i) / steps), y: from.y + Math.round((dy * i) / steps) };
            this.send("touchMove", [p]);
            this.pagePoint = p;
        }
        await this.inFlight;
        const seen = this.seen(this.pagePoint);
        if (!this.arrowInMenu) {
            this.lamp.x += (seen.x - this.last.x) * this.scale;
            this.lamp.y += (seen.y - this.last.y) * this.scale;
        }
        this.last = seen;
        await waitFrames(this.page, 3);
    }
    async up() {
        await this.send("touchEnd", []);
        await waitPasses(this.page, 3);
    }
    async tap(point) {
        await this.down(point, false);
        await this.up();
    }
    // Drags until the hot spot is over the cell's centre, starting each
    // stroke where its whole way stays on the picture.
    async dragLampTo(cell) {
        const target = cellCentre(cell);
        if (this.arrowInMenu) {
            const side = target.x > 250 ? -1 : 1;
            await this.down({ x: target.x + side * 4 * CELL, y: target.y });
            await this.up();
        }
        for (let stroke = 0; stroke < 4; stroke++) {
            let dx = target.x - this.lamp.x;
            let dy = target.y - this.lamp.y;
            if (Math.abs(dx) < 3 && Math.abs(dy) < 3) return;
            if (Math.hypot(dx, dy) < 2 * CELL) {
                // Too short to tell from a tap: go by way of three cells over.
                const side = target.x > 250 ? -1 : 1;
                dx += side * 3 * CELL;
                await this.stroke(dx, dy);
                continue;
            }
            await this.stroke(dx, dy);
        }
        throw new Error(`the lamp did not reach (${cell.x}, ${cell.y})`);
    }
    async stroke(dx, dy) {
        dx = Math.max(-360, Math.min(360, dx));
        dy = Math.max(-260, Math.min(260, dy));
        await this.down({ x: 400 - dx / 2 - 60, y: 300 - dy / 2 }, false);
        await this.moveBy(dx / this.scale, dy / this.scale);
        await this.up();
    }
    // Holds a menu button until the game has written its save.
    async save() {
        const before = await readStoredEntry(this.page);
        await this.down(PHONE_BUTTON.save);
        const entry = await waitFor("Save by touch", async () => {
            const now = await readStoredEntry(this.page);
            return now && (!before || now.timestamp !== before.timestamp) ? now : null;
        });
        await this.up();
        return board.parse(entry.bytes);
    }
    async load() {
        await this.down(PHONE_BUTTON.load);
        await waitPasses(this.page, 4);
        await this.up();
    }
}

// In the page, for a browser whose driver has no touch screen to offer
// (Firefox over WebDriver BiDi cannot cancel a touch nor hold two fingers the
// way DevTools does): the touch events a screen gives for the fingers now down,
// one event per finger that came, moved or went, each sent to the element the
// finger first touched, as a browser sends them.
function dispatchTouches(type, points) {
    const down = (window.testFingers ??= new Map());
    const touch = (id, p, target) => new Touch({
        identifier: id, target, clientX: p.x, clientY: p.y, pageX: p.x + window.scrollX,
        pageY: p.y + window.scrollY, screenX: p.x, screenY: p.y, radiusX: 1, radiusY: 1, force: 0.5,
    });
    const fire = (name, changed) => {
        const all = [...down.values()];
        changed.target.dispatchEvent(new TouchEvent(name, {
            bubbles: true, cancelable: true, composed: true, view: window,
            touches: all, changedTouches: [changed],
            targetTouches: all.filter((t) => t.target === changed.target),
        }));
    };
    for (const p of points) {
        const was = down.get(p.id);
        if (!was) {
            const target = document.elementFromPoint(p.x, p.y) ?? document.body;
            const now = touch(p.id, p, target);
            down.set(p.id, now);
            fire("touchstart", now);
        } else if (was.clientX !== p.x || was.clientY !== p.y) {
            const now = touch(p.id, p, was.target);
            down.set(p.id, now);
            fire("touchmove", now);
        }
    }
    const kept = new Set(points.map((p) => p.id));
    for (const [id, was] of [...down]) {
        if (kept.has(id)) continue;
        down.delete(id);
        fire(type === "touchCancel" ? "touchcancel" : "touchend", was);
    }
}

// The cells whose state differs, for a failure's message.
function changes(before, after) {
    if (!before || !after) return "";
    const changed = [];
    for (let x = 0; x < before.side; x++) {
        for (let y = 0; y < before.side; y++) {
            const a = board.state(before, { x, y });
            const b = board.state(after, { x, y });
            if (a !== b) changed.push(`(${x}, ${y}) ${a}->${b}`);
        }
    }
    return changed.length ? `: ${changed.join(" ")}` : "";
}

const hotCell = (fingers) => ({ x: Math.floor(fingers.lamp.x / CELL), y: Math.floor(fingers.lamp.y / CELL) });
const union = (a, b) => new Set([...a, ...b]);

// What a finger does over the field and on the menu, in one orientation.
async function touchPlay(page, view) {
    const fingers = await Fingers.on(page);
    const { width, height } = fingers.box;
    const fits = width <= view.width && height <= view.height &&
        Math.abs(width / height - 4 / 3) < 0.01;
    const full = view.width > view.height ? height === view.height : width === view.width;
    check(fits && full, `${view.name}: the picture fits at ${width} x ${height}, ` +
          `using the full ${view.width > view.height ? "height" : "width"}`);
    const touchWords = await page.evaluate(() => {
        const span = document.querySelector("#controls .touch");
        return span.offsetParent !== null ? span.textContent : "";
    });
    check(/tap/.test(touchWords) && /hold/.test(touchWords),
          `${view.name}: the line of controls says the touch controls`);

    // A tap far from the lamp opens what a click at the lamp opens.
    const start = hotCell(fingers);
    await fingers.tap({ x: 420, y: 480 });
    let saved = await fingers.save();
    check(saved !== null && board.sameCells(board.openedCells(saved),
                                            board.expectedAfterClick(saved, start.x, start.y)),
          `${view.name}: a tap elsewhere opened (${start.x}, ${start.y}) under the lamp, as the rules do, ` +
          `and a held Save stored it`);
    if (saved === null) return null;

    // A drag brings the lamp, and the numbers it shows, over a numbered cell.
    const numbered = [...board.openedCells(saved)].map((k) => k.split(",").map(Number))
        .map(([x, y]) => ({ x, y })).find((c) => board.value(saved, c) >= 1 && board.value(saved, c) <= 8);
    if (numbered) {
        const area = [numbered.x * CELL, numbered.y * CELL, CELL, CELL];
        const away = await canvasArea(page, ...area);
        await fingers.dragLampTo(numbered);
        const under = await canvasArea(page, ...area);
        await fingers.stroke(5 * CELL, 4 * CELL);
        const left = await canvasArea(page, ...area);
        check(away.hash !== under.hash && left.hash === away.hash,
              `${view.name}: a drag moved the lamp and its numbers to (${numbered.x}, ${numbered.y}) and away`);
    }

    // A short touch that moves opens nothing; a tap opens, a long press flags.
    const [openCell, flagCell] = board.hiddenCells(saved, 2);
    await fingers.dragLampTo(openCell);
    await fingers.down({ x: 300, y: 300 }, false);
    await fingers.moveBy(0, CELL / fingers.scale, 2);
    await fingers.up();
    const afterMove = await fingers.save();
    check(board.text(afterMove.bytes) === board.text(saved.bytes),
          `${view.name}: a short touch that moved opened nothing${changes(saved, afterMove)}`);
    await fingers.dragLampTo(openCell);
    await fingers.tap({ x: 500, y: 200 });
    await fingers.dragLampTo(flagCell);
    const presses = (await stats(page)).longPresses;
    await fingers.down({ x: 200, y: 400 });
    await page.waitForFunction((n) => Module.dellomarStats.longPresses > n, { timeout: WAIT_MS }, presses);
    await waitFrames(page, 3);
    await fingers.up();
    const played = await fingers.save();
    check(board.sameCells(board.openedCells(played),
                          union(board.openedCells(saved), board.expectedAfterClick(saved, openCell.x, openCell.y))),
          `${view.name}: a tap opened (${openCell.x}, ${openCell.y}) under the lamp${changes(afterMove, played)}`);
    check(board.state(played, flagCell) === board.FLAGGED,
          `${view.name}: a long press flagged (${flagCell.x}, ${flagCell.y}) under the lamp`);
    return { fingers, saved: played };
}

// Touches that go wrong leave no button down: a cancelled touch, two fingers
// (on the field and on a menu button), a touch that ends off the picture.
async function badTouches(page, fingers, saved) {
    // A numbered cell opens alone, whatever flags stand around it.
    const numbered = board.hiddenCells(saved, 99, true);
    const [spare, probe] = [numbered[0], numbered[numbered.length - 1]];
    await fingers.dragLampTo(spare);
    await fingers.down({ x: 300, y: 300 }, false);
    await fingers.send("touchCancel", []);
    await waitFrames(page, 3);
    const two = [{ ...fingers.at({ x: 300, y: 300 }), id: 0 }, { ...fingers.at({ x: 450, y: 350 }), id: 1 }];
    await fingers.send("touchStart", [two[0]]);
    await fingers.send("touchStart", two);
    await waitFrames(page, 3);
    await fingers.send("touchEnd", []);
    await waitFrames(page, 3);
    const onSave = { ...fingers.at(PHONE_BUTTON.save), id: 0 };
    await fingers.send("touchStart", [onSave]);
    await fingers.send("touchStart", [onSave, { ...fingers.at({ x: 300, y: 300 }), id: 1 }]);
    await waitFrames(page, 3);
    await fingers.send("touchEnd", []);
    fingers.arrowInMenu = true;
    await waitFrames(page, 3);
    // Off the bottom (portrait) or the right (landscape) of the picture.
    await fingers.dragLampTo(spare);
    await fingers.down({ x: 300, y: 500 }, false);
    const edge = fingers.at({ x: 300, y: 500 });
    const off = fingers.box.top + fingers.box.height + 40 < page.viewport().height
        ? { x: 0, y: fingers.box.top + fingers.box.height + 40 - edge.y } : { x: 0, y: 0 };
    await fingers.moveBy(off.x, off.y);
    await fingers.up();
    // The game may have stopped the lamp at the field's edge: the arrow goes
    // to the menu's empty part, and the next touch places the lamp afresh.
    await fingers.tap({ x: 720, y: 400 });
    await fingers.dragLampTo(probe);
    await fingers.tap({ x: 250, y: 250 });
    const after = await fingers.save();
    check(after !== null && board.sameCells(board.openedCells(after),
            union(board.openedCells(saved), board.expectedAfterClick(saved, probe.x, probe.y))) &&
          board.state(after, spare) === board.HIDDEN,
          "a cancelled touch, two fingers and a touch ending off the picture did nothing and left " +
          `no button down: the next tap opened just its cell${changes(saved, after)}`);
    return after;
}

// Quick touches that must not act on the field: a tap on the menu's empty
// part then a tap on the field; a tap on Save then a tap on the field (the
// Save must be stored all the same); a drag from the menu's empty part onto
// the field.
async function ghostTouches(page, fingers) {
    const empty = { x: 700, y: 420 };
    const field = { x: 250, y: 250 };
    const cases = [
        ["a quick tap on the menu's empty part, then one on the field",
         [["touchStart", [empty]], ["touchEnd", []], ["touchStart", [field]], ["touchEnd", []]], false],
        ["a quick tap on Save, then one on the field",
         [["touchStart", [PHONE_BUTTON.save]], ["touchEnd", []], ["touchStart", [field]], ["touchEnd", []]], true],
        ["a drag from the menu's empty part onto the field",
         [["touchStart", [empty]], ["touchMove", [{ x: 600, y: 380 }]], ["touchMove", [{ x: 450, y: 320 }]],
          ["touchMove", [field]], ["touchEnd", []]], false],
    ];
    for (const [what, events, saves] of cases) {
        const before = await fingers.save();
        const stamp = (await readStoredEntry(page))?.timestamp;
        await fingers.burst(events);
        const entry = await readStoredEntry(page);
        const stored = !saves || (entry !== null && entry.timestamp !== stamp);
        // The arrow is left in the menu; the next touch on the field places the lamp.
        fingers.arrowInMenu = true;
        const after = await fingers.save();
        check(before !== null && after !== null && board.text(after.bytes) === board.text(before.bytes) && stored,
              `${what}: nothing opened${saves ? ", and the Save was stored" : ""}${changes(before, after)}`);
    }
}

// New, then the number pad: 13, Enter, 20, Enter.
async function touchNewGame(page, fingers) {
    await fingers.down(PHONE_BUTTON.new);
    const shown = await page.waitForFunction(() => {
        const field = document.getElementById("number");
        return !document.getElementById("ask").hidden && document.activeElement === field &&
            field.getAttribute("inputmode") === "numeric";
    }, { timeout: WAIT_MS }).then(() => true, () => false);
    await fingers.send("touchEnd", []);
    check(shown, "New by touch shows the numeric field, with the focus");
    await page.keyboard.type("13");
    await page.keyboard.press("Enter");
    await page.keyboard.type("20");
    await page.keyboard.press("Enter");
    const gone = await page.waitForFunction(() => document.getElementById("ask").hidden,
                                            { timeout: WAIT_MS }).then(() => true, () => false);
    fingers.lamp = { x: HOTSPOT, y: HOTSPOT };
    const saved = await fingers.save();
    const mines = saved ? [...saved.cells].filter((c, i) => i % 2 === 0 && c === "9").length : -1;
    // Two mines may fall on one cell.
    check(gone && saved?.side === 13 && mines > 10 && mines <= 20,
          `13, Enter, 20, Enter on the number pad made a 13-side game with 20 mines placed ` +
          `(side ${saved?.side}, ${mines} mines), and the field went away`);
    return saved;
}

async function noScrollNoZoom(page, fingers, view) {
    // A swipe and a pinch on the words below or beside the picture.
    const words = await page.evaluate(() => {
        const r = document.querySelector("#controls").getBoundingClientRect();
        return { x: Math.round(r.left + r.width / 2), y: Math.round(r.top + Math.min(r.height / 2, 30)) };
    });
    await fingers.send("touchStart", [words]);
    await fingers.send("touchMove", [{ x: words.x, y: Math.max(1, words.y - 200) }]);
    await fingers.send("touchEnd", []);
    const a = { x: words.x - 20, y: words.y, id: 0 };
    const b = { x: words.x + 20, y: words.y, id: 1 };
    await fingers.send("touchStart", [a, b]);
    await fingers.send("touchMove", [{ ...a, x: a.x - 120 }, { ...b, x: b.x + 120 }]);
    await fingers.send("touchEnd", []);
    await waitFrames(page, 3);
    const view2 = await page.evaluate(() => ({
        x: window.scrollX, y: window.scrollY, zoom: window.visualViewport.scale,
        selected: String(window.getSelection()),
    }));
    check(view2.x === 0 && view2.y === 0 && view2.zoom === 1 && view2.selected === "",
          `${view.name}: the page did not scroll, zoom or select (${JSON.stringify(view2)})`);
}

async function sha256(bytes) {
    const { createHash } = await import("node:crypto");
    return createHash("sha256").update(bytes).digest("hex");
}

// The game's own files as the page got them, by name, with their hashes.
function watchFiles(page) {
    const got = new Map();
    page.on("response", async (response) => {
        const name = new URL(response.url()).pathname.split("/").pop() || "index.html";
        if (!/^(index\.html|dellomar\.(js|wasm|data))$/.test(name)) return;
        try {
            got.set(name, { hash: await sha256(await response.buffer()), worker: response.fromServiceWorker(),
                            url: response.url() });
        } catch (error) {
            got.set(name, { hash: `unread: ${error.message}` });
        }
    });
    return got;
}

async function siteHashes(folder) {
    const hashes = {};
    for (const name of ["index.html", "dellomar.js", "dellomar.wasm", "dellomar.data"]) {
        hashes[name] = await sha256(fs.readFileSync(path.join(folder, name)));
    }
    return hashes;
}

// A second build of the same site under another version: every file differs.
function secondBuild(folder) {
    const next = fs.mkdtempSync(path.join(os.tmpdir(), "dellomar-site2-"));
    fs.cpSync(folder, next, { recursive: true });
    fs.appendFileSync(path.join(next, "dellomar.js"), "\n// the next build\n");
    // A custom section named "next" at the end of the module.
    fs.appendFileSync(path.join(next, "dellomar.wasm"), Buffer.from([0, 5, 4, 0x6e, 0x65, 0x78, 0x74]));
    fs.appendFileSync(path.join(next, "dellomar.data"), Buffer.from("next"));
    const source = path.resolve(path.dirname(new URL(import.meta.url).pathname), "../../platform/web");
    const result = spawnSync("cmake", [`-DSITE=${next}`, `-DSOURCE=${source}`, "-DVERSION=9.9.9",
                                       `-DTAB_ICON=${path.join(folder, "icon-192.png")}`,
                                       "-P", path.join(source, "stamp_site.cmake")], { encoding: "utf8" });
    if (result.status !== 0) throw new Error(`restamping failed: ${result.stderr}`);
    return next;
}

const pageSet = (page) => page.evaluate(() => Module.dellomarSet);

async function waitForWorker(page) {
    await page.evaluate(() => navigator.serviceWorker.ready.then(() => true));
}

async function phoneSessions(url, server, errors) {
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), "dellomar-phone-"));
    const browser = await openBrowser(profile);
    let next = null;
    try {
        let page = null;
        let kept = null;
        for (const view of PHONE_VIEWS) {
            page = await openPage(browser, url, errors, async () => {}, view);
            await waitFrames(page, 10);
            const played = await touchPlay(page, view);
            if (played === null) return;
            await noScrollNoZoom(page, played.fingers, view);
            if (view.name === "portrait") {
                await badTouches(page, played.fingers, played.saved);
                await ghostTouches(page, played.fingers);
                kept = await touchNewGame(page, played.fingers);
                await page.close();
            } else {
                kept = await played.fingers.save();
            }
        }

        // Offline: the worker has the whole set; the server answers nothing.
        await waitForWorker(page);
        const setBefore = await pageSet(page);
        server.count();
        server.offline = true;
        await page.setOfflineMode(true);
        const offlineFiles = watchFiles(page);
        await reloadPage(page);
        await waitFrames(page, 10);
        let fingers = await Fingers.on(page);
        await fingers.load();
        const loaded = await fingers.save();
        const [cell] = board.hiddenCells(kept, 1);
        await fingers.dragLampTo(cell);
        await fingers.tap({ x: 300, y: 300 });
        const offlinePlayed = await fingers.save();
        // Firefox's driver cannot tell a worker's answer from the network's;
        // there the server answering nothing is what shows the worker served.
        const fromWorker = !IS_CHROMIUM || [...offlineFiles.values()].every((file) => file.worker);
        check(loaded !== null && board.text(loaded.bytes) === board.text(kept.bytes) &&
              board.state(offlinePlayed, cell) === board.OPEN && fromWorker,
              "offline: the page started from the worker's set, loaded, played and saved " +
              `(${[...offlineFiles.keys()].join(", ") || "no file seen"})`);
        // The browser's look for a newer worker is all that may try the network.
        check(server.refused.every((wanted) => wanted === "/sw.js"),
              `offline: nothing of the game was asked of the server (${JSON.stringify(server.refused)})`);
        await page.setOfflineMode(false);
        server.offline = false;

        // An update: the next build is fetched as a whole while this one
        // plays, and the next start runs it, all of it, with the save kept.
        await page.close();
        // A running start of the page: its own load comes whole from its set.
        let firstFiles = null;
        page = await openPage(browser, url, errors, async (opened) => { firstFiles = watchFiles(opened); },
                              PHONE_VIEWS[0]);
        await waitFrames(page, 5);
        const first = await siteHashes(site);
        const stillFirst = [...firstFiles].every(([name, file]) => file.hash === first[name]) &&
            (await pageSet(page)) === setBefore;
        // Only now, with this start running, does the server have the newer
        // build: a look for it made before (the browser makes them on its own)
        // would let the newer set serve the start itself.
        next = secondBuild(site);
        server.root = next;
        // While the game runs, headless Chromium holds back the page's own
        // update check; another tab of the site makes it, as a browser does.
        const other = await browser.newPage();
        await other.goto(new URL(OTHER_PAGE, url).href);
        const checked = await other.evaluate(async () => {
            const registration = await navigator.serviceWorker.getRegistration();
            return registration.update().then(() => "checked", (error) => String(error));
        });
        await other.close();
        const noticed = await page.waitForFunction(
            () => Module.dellomarUpdateReady === true &&
                document.getElementById("update").textContent.includes("next time"),
            { timeout: WAIT_MS }).then(() => true, () => false);
        check(stillFirst && noticed,
              `update: the running page keeps its own set (${stillFirst}) and says a new version is ready ` +
              `(${noticed}; the other tab's look: ${checked})`);
        const secondFiles = watchFiles(page);
        await reloadPage(page);
        await waitFrames(page, 10);
        const second = await siteHashes(next);
        const fromSecond = ["index.html", "dellomar.js", "dellomar.wasm", "dellomar.data"]
            .every((name) => secondFiles.get(name)?.hash === second[name]);
        check(fromSecond && (await pageSet(page)).startsWith("9.9.9-"),
              `update: after a restart every file comes from the new set (${await pageSet(page)})`);
        fingers = await Fingers.on(page);
        await fingers.load();
        const afterUpdate = await fingers.save();
        check(afterUpdate !== null && board.text(afterUpdate.bytes) === board.text(offlinePlayed.bytes),
              "update: the saved game is still there");

        await installable(page);
    } finally {
        await browser.close();
        fs.rmSync(profile, { recursive: true, force: true });
        if (next) fs.rmSync(next, { recursive: true, force: true });
    }
}

// ---- Loading the page ----------------------------------------------------

const FIRST_VISIT_BUDGET = 700 * 1024;
const nativeGame = process.env.NATIVE_GAME_DIR ?? path.resolve(site, "../../build/game");

async function workerActivated(page) {
    await page.evaluate(() => navigator.serviceWorker.ready.then((registration) => new Promise((done) => {
        const worker = registration.active;
        if (worker.state === "activated") return done();
        worker.addEventListener("statechange", () => worker.state === "activated" && done());
    })));
}

// A first visit in a fresh profile, until the worker holds the set: the
// server answers each file once, little in all; and the backdrop the page
// paints is the native build's file, byte for byte.
async function firstVisit(url, server, errors) {
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), "dellomar-first-"));
    const browser = await openBrowser(profile);
    try {
        server.count();
        const page = await openPage(browser, url, errors);
        await waitFrames(page, 10);
        await workerActivated(page);
        const answers = Object.fromEntries(server.answers);
        const total = [...server.bytes.values()].reduce((sum, bytes) => sum + bytes, 0);
        check(Object.values(answers).every((count) => count === 1) && "/sw.js" in answers,
              `a first visit asks the server for no file twice (${JSON.stringify(answers)})`);
        check(total <= FIRST_VISIT_BUDGET,
              `a first visit transfers ${(total / 1024).toFixed(0)} KB, at most ` +
              `${FIRST_VISIT_BUDGET / 1024} KB`);
        // The page's words paint before the game's files take the network.
        const order = await page.evaluate(() => {
            const paint = performance.getEntriesByName("first-contentful-paint")[0];
            const files = performance.getEntriesByType("resource")
                .filter((entry) => /dellomar\.(js|wasm|data)/.test(entry.name));
            return { paint: paint?.startTime, files: files.length,
                     first: Math.min(...files.map((entry) => entry.startTime)) };
        });
        check(order.files === 3 && (order.paint === undefined || order.first >= order.paint),
              `the game's ${order.files} files were asked for at ${order.first.toFixed(0)} ms, ` +
              `after the first paint (${order.paint?.toFixed(0) ?? "not reported"} ms)`);
        const painted = await page.evaluate(async () => {
            const bytes = FS.readFile("/dellomar-data/Textures/back.txr");
            const digest = await crypto.subtle.digest("SHA-256", bytes);
            return Array.from(new Uint8Array(digest), (b) => b.toString(16).padStart(2, "0")).join("");
        });
        const native = fs.existsSync(path.join(nativeGame, "Textures/back.txr"))
            ? await sha256(fs.readFileSync(path.join(nativeGame, "Textures/back.txr"))) : "missing";
        check(painted === native,
              `the backdrop painted in the page is the native build's file (${painted.slice(0, 12)}, ` +
              `native ${native.slice(0, 12)} in ${nativeGame})`);
    } finally {
        await browser.close();
        fs.rmSync(profile, { recursive: true, force: true });
    }
}

const notice = (page) => page.evaluate(() => document.getElementById("notice").textContent);

async function saysFailed(page, pattern) {
    const said = await page.waitForFunction(
        (source) => new RegExp(source).test(document.getElementById("notice").textContent),
        { timeout: WAIT_MS }, pattern.source).then(() => true, () => false);
    return { said, text: await notice(page) };
}

// Each way a file of the page can fail, on a first visit in a fresh browser
// context: the page says within 15 s that the game could not be loaded.
async function failedLoads(browser, url, server) {
    const other = Buffer.from(fs.readFileSync(path.join(site, "dellomar.wasm")));
    other[other.length - 1] ^= 1;
    const cases = [
        ["the script answers 503", { "/dellomar.js": 503 }, /could not be loaded.*Reload/],
        ["the data answers 503", { "/dellomar.data": 503 }, /could not be loaded.*Reload/],
        ["the wasm answers 503", { "/dellomar.wasm": 503 }, /could not be loaded.*Reload/],
        ["the connection drops on the data", { "/dellomar.data": "drop" },
         /could not be loaded: its first start needs the network, once/],
        ["the wasm is of another build", { "/dellomar.wasm": other }, /could not be loaded.*Reload/],
    ];
    for (const [what, answers, pattern] of cases) {
        const context = await browser.createBrowserContext();
        try {
            server.override = (wanted) => answers[wanted];
            const page = await context.newPage();
            await page.goto(url);
            const { said, text } = await saysFailed(page, pattern);
            check(said, `${what}: the page says so ("${text}")`);
        } finally {
            server.override = null;
            await context.close();
        }
    }
}

// A page of a set the worker no longer holds (a newer one took over while
// it loaded): the worker answers 503 for its files, and the page says so.
async function goneSet(browser, url, server) {
    const page = await browser.newPage();
    try {
        await page.goto(url);
        await waitFrames(page, 5);
        await workerActivated(page);
        const html = fs.readFileSync(path.join(site, "index.html"), "utf8")
            .replace(/(name="dellomar-set" content=")[^"]*/, "$10.0.1-gone");
        server.override = (wanted) => (wanted === "/gone.html" ? Buffer.from(html) : null);
        await page.goto(new URL("gone.html", url).href);
        const { said, text } = await saysFailed(page, /could not be loaded.*Reload/);
        check(said, `a set gone after an update: the page says so ("${text}")`);
    } finally {
        server.override = null;
        await page.close();
    }
}

async function loadFailures(url, server) {
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), "dellomar-fail-"));
    const browser = await openBrowser(profile);
    try {
        await failedLoads(browser, url, server);
        await goneSet(browser, url, server);
    } finally {
        await browser.close();
        fs.rmSync(profile, { recursive: true, force: true });
    }
}

// Chromium's own check, and the icons at the sizes the manifest gives.
async function installable(page) {
    if (IS_CHROMIUM) await chromiumInstallable(page);
    await manifestIcons(page);
}

async function chromiumInstallable(page) {
    const client = await page.createCDPSession();
    const { installabilityErrors } = await client.send("Page.getInstallabilityErrors");
    check(installabilityErrors.length === 0,
          `Chromium finds the page installable${installabilityErrors.length
              ? ": " + JSON.stringify(installabilityErrors) : ""}`);
}

async function manifestIcons(page) {
    const icons = await page.evaluate(async () => {
        const manifest = await (await fetch(document.querySelector("link[rel=manifest]").href)).json();
        return Promise.all(manifest.icons.map((icon) => new Promise((resolve) => {
            const image = new Image();
            image.onload = () => resolve({ sizes: icon.sizes, got: `${image.naturalWidth}x${image.naturalHeight}` });
            image.onerror = () => resolve({ sizes: icon.sizes, got: "missing" });
            image.src = new URL(icon.src, document.querySelector("link[rel=manifest]").href).href;
        })));
    });
    check(icons.length >= 2 && icons.some((i) => i.sizes === "192x192") &&
          icons.some((i) => i.sizes === "512x512") && icons.every((i) => i.sizes === i.got),
          `the manifest's icons are the sizes it says (${JSON.stringify(icons)})`);
}

async function main() {
    const server = await serveFolder(site);
    const url = `http://127.0.0.1:${server.address().port}/index.html`;
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), "dellomar-web-"));
    const errors = [];
    let browser = await openBrowser(profile);
    try {
        // WEB_TEST_ONLY=phone skips the mouse and keyboard sessions,
        // WEB_TEST_ONLY=storage runs only the misbehaving storage and the small windows.
        const only = process.env.WEB_TEST_ONLY;
        if (only === "storage") {
            await storageGoesWrong(browser, url, errors);
            await tinyWindows(browser, url, errors);
        }
        if (!only) {
            await firstVisit(url, server, errors);
            await loadFailures(url, server);
        }
        const first = only === "phone" || only === "storage" ? {} : await firstSession(browser, url, errors);
        if (first.saved) {
            const sounding = await clickSounded(first);
            await drawnOnlyWhenChanged(first.pointer, first.saved);
            if (sounding) await audioRests(first.page);
            await hiddenTabRests(first.page);
            const speedFrom = await stats(first.page);
            await waitFrames(first.page, 200);
            const speedTo = await stats(first.page);
            reportSpeed("steady play", speedFrom, speedTo);
            restsOnTimers(speedFrom, speedTo);

            await first.page.reload();
            await loadSession(first.page, first.saved, first.flagCell, "after a reload");
            await browser.close();
            browser = await openBrowser(profile);
            const page = await openPage(browser, url, errors);
            const pointer = await loadSession(page, first.saved, first.flagCell, "after a browser restart");
            await refusedSave(page, first.saved, pointer);
            await storageGoesWrong(browser, url, errors);
            await tinyWindows(browser, url, errors);
            await noStorageSession(browser, url, errors);
            await endGame(page);
        }
        if (only !== "storage") await phoneSessions(url, server, errors);
    } finally {
        await browser.close();
        server.close();
        fs.rmSync(profile, { recursive: true, force: true });
    }
    check(errors.length === 0, `no errors in the console${errors.length ? ": " + errors.join(" | ") : ""}`);
    if (failures.length > 0) {
        console.log(`${failures.length} check(s) failed`);
        process.exit(1);
    }
    console.log(`all checks passed in ${BROWSER}`);
}

main().catch((error) => {
    console.error(error);
    process.exit(1);
});
