// Plays the web build in headless Chromium, served from 127.0.0.1, and judges
// it by the canvas's pixels and by the saved game read out of IndexedDB:
// the field and menu show; a click opens the start cell as the rules say; a
// right tap flags and a left tap opens (press and release between two
// frames); Save, a reload and Load give back the same board, as does a
// restart of the browser; a Save the browser's storage refuses leaves the
// stored game as it was and the game running; F12 then Enter ends the game
// and the page says so;
// nothing reaches the console as an error. Prints the frame rate reached and
// what presenting a frame costs.
//
// Usage: node play_page.mjs <site folder>   (CHROMIUM names the browser)
import { launch } from "puppeteer-core";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";

import { serveFolder } from "./static_server.mjs";
import * as board from "./saved_board.mjs";

const site = path.resolve(process.argv[2] ?? "../../build-web/site");
const chromium = process.env.CHROMIUM ?? "/usr/bin/chromium";
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
    console.log(`${ok ? "ok  " : "FAIL"} ${what}`);
    if (!ok) failures.push(what);
}

async function openBrowser(profile) {
    return launch({
        executablePath: chromium,
        headless: true,
        userDataDir: profile,
        args: ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
               "--disable-background-networking", "--disable-component-update", "--disable-sync"],
    });
}

// One page of the game with its console watched; the pointer follows the
// game's cursor (see POINTER_OFFSET).
async function openPage(browser, url, errors, beforeLoad = async () => {}) {
    const page = await browser.newPage();
    await beforeLoad(page);
    page.on("console", (message) => {
        if (process.env.WEB_TEST_VERBOSE) console.log(`console ${message.type()}: ${message.text()}`);
        if (message.type() === "error") errors.push(message.text());
    });
    page.on("pageerror", (error) => errors.push(String(error)));
    await page.setViewport(VIEWPORT);
    await page.goto(url);
    return page;
}

const stats = (page) => page.evaluate(() => ({ ...Module.dellomarStats }));

// Passes of the game's loop: a frame that runs Load or Save ends early and
// presents nothing, but still gives the page its turn.
async function waitPasses(page, count, counter = "turns") {
    const from = (await stats(page))[counter];
    try {
        await page.waitForFunction((counter, target) => Module.dellomarStats[counter] >= target,
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
    }
    // The first move gives the page a place to measure motion from.
    async start() {
        await this.page.mouse.move(this.cursor.x + POINTER_OFFSET, this.cursor.y + POINTER_OFFSET);
        await waitFrames(this.page, 2);
    }
    async moveCursorTo(x, y) {
        this.cursor = { x, y };
        await this.page.mouse.move(x + POINTER_OFFSET, y + POINTER_OFFSET, { steps: 4 });
        await waitFrames(this.page, 3);
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
function readStoredSave(page) {
    return page.evaluate(() => new Promise((resolve) => {
        const request = indexedDB.open("/dellomar");
        request.onerror = () => resolve(null);
        request.onsuccess = () => {
            const db = request.result;
            const done = (value) => { db.close(); resolve(value); };
            try {
                const get = db.transaction(["FILE_DATA"], "readonly").objectStore("FILE_DATA")
                    .get("/dellomar/save.gm");
                get.onsuccess = () => done(get.result ? Array.from(get.result.contents) : null);
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
    return { page, saved, flagCell, soundsAfterClick };
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
}

// The browser refuses to store (as with no room left): Save fails, the stored
// game stays as it was, and the game plays on.
async function refusedSave(page, expected) {
    const pointer = new Pointer(page);
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

function reportSpeed(label, first, last) {
    const frames = last.frames - first.frames;
    const seconds = (last.lastFrameAt - first.lastFrameAt) / 1000;
    const fps = seconds > 0 ? frames / seconds : 0;
    console.log(`${label}: ${fps.toFixed(1)} frames per second over ${frames} frames; ` +
                `RGBA conversion ${(last.convertMs / last.frames).toFixed(3)} ms, ` +
                `canvas draw ${(last.drawMs / last.frames).toFixed(3)} ms per frame`);
}

async function main() {
    const server = await serveFolder(site);
    const url = `http://127.0.0.1:${server.address().port}/index.html`;
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), "dellomar-web-"));
    const errors = [];
    let browser = await openBrowser(profile);
    try {
        const first = await firstSession(browser, url, errors);
        if (first.saved) {
            check(first.soundsAfterClick > 0, `the click sounded (${first.soundsAfterClick} sounds)`);
            const speedFrom = await stats(first.page);
            await waitFrames(first.page, 200);
            reportSpeed("steady play", speedFrom, await stats(first.page));

            await first.page.reload();
            await loadSession(first.page, first.saved, first.flagCell, "after a reload");
            await browser.close();
            browser = await openBrowser(profile);
            const page = await openPage(browser, url, errors);
            await loadSession(page, first.saved, first.flagCell, "after a browser restart");
            await refusedSave(page, first.saved);
            await noStorageSession(browser, url, errors);
            await endGame(page);
        }
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
    console.log("all checks passed");
}

main().catch((error) => {
    console.error(error);
    process.exit(1);
});
