// Measures what the page costs the browser (see page_at_rest.sh): prints one
// line per stretch with the CPU share of Chromium's whole process tree, and
// for the game the frames it presented and drew meanwhile.
//   node page_at_rest.mjs <site folder> <seconds>
import fs from "node:fs";
import { createRequire } from "node:module";
import os from "node:os";
import path from "node:path";
import { fileURLToPath } from "node:url";

import { CHROMIUM, CHROMIUM_ARGS } from "../tests/web/chromium_flags.mjs";
import { serveFolder } from "../tests/web/static_server.mjs";

const here = path.dirname(fileURLToPath(import.meta.url));
const require = createRequire(path.join(here, "../tests/web/package.json"));
const { launch } = require("puppeteer-core");

const site = path.resolve(process.argv[2]);
const seconds = Number(process.argv[3] ?? 10);
const VIEWPORT = { width: 1280, height: 800 };
const TICKS_PER_SECOND = 100; // USER_HZ on Linux

// What a process of Chromium's does, from its command line: the browser
// itself, or its --type (and, for a utility, which service).
function processKind(pid) {
    let args;
    try {
        // Chromium rewrites its children's command lines as one string.
        args = fs.readFileSync(`/proc/${pid}/cmdline`, "utf8").split(/[\0 ]/);
    } catch {
        return "gone";
    }
    const value = (name) => args.find((arg) => arg.startsWith(`--${name}=`))?.split("=")[1];
    const type = value("type");
    if (type === undefined) return "browser";
    const service = value("utility-sub-type");
    return service === undefined ? type : `${type} ${service.split(".")[0]}`;
}

// Processor ticks of every process in the tree under `root`, by pid.
function treeTicks(root) {
    const parents = new Map();
    const ticks = new Map();
    for (const name of fs.readdirSync("/proc")) {
        if (!/^\d+$/.test(name)) continue;
        let stat;
        try {
            stat = fs.readFileSync(`/proc/${name}/stat`, "utf8");
        } catch {
            continue;
        }
        // The command may hold spaces and brackets: fields count from its end.
        const fields = stat.slice(stat.lastIndexOf(")") + 2).split(" ");
        parents.set(Number(name), Number(fields[1]));
        ticks.set(Number(name), Number(fields[11]) + Number(fields[12]));
    }
    const inTree = (pid) => {
        for (let at = pid; at > 1; at = parents.get(at) ?? 0) {
            if (at === root) return true;
        }
        return false;
    };
    return new Map([...ticks].filter(([pid]) => inTree(pid)));
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// CPU share of a core over the stretch, while `during` runs (if given).
async function measure(root, during = async () => sleep(seconds * 1000)) {
    const before = treeTicks(root);
    const started = Date.now();
    await during();
    const after = treeTicks(root);
    const wall = (Date.now() - started) / 1000;
    let used = 0;
    const byKind = new Map();
    for (const [pid, ticks] of after) {
        const spent = ticks - (before.get(pid) ?? 0);
        used += spent;
        const kind = processKind(pid);
        byKind.set(kind, (byKind.get(kind) ?? 0) + spent);
    }
    const share = (ticks) => (100 * ticks) / TICKS_PER_SECOND / wall;
    const parts = [...byKind].filter(([, ticks]) => ticks > 0).sort((a, b) => b[1] - a[1])
        .map(([kind, ticks]) => `${kind} ${share(ticks).toFixed(1)}`);
    return { cpu: share(used), parts: parts.join(", ") };
}

const counters = (page) => page.evaluate(() => ({ ...Module.dellomarStats }));

async function wiggle(page) {
    const until = Date.now() + seconds * 1000;
    for (let step = 0; Date.now() < until; ++step) {
        const offset = step % 2 === 0 ? 12 : 0;
        await page.mouse.move(300 + offset, 300 + offset);
        await sleep(20);
    }
}

async function main() {
    const server = await serveFolder(site);
    const url = `http://127.0.0.1:${server.address().port}/index.html`;
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), "dellomar-bench-"));
    const browser = await launch({
        executablePath: CHROMIUM,
        headless: true,
        userDataDir: profile,
        args: CHROMIUM_ARGS,
    });
    try {
        const root = browser.process().pid;
        // The figures to read the game's against come from a tab of their
        // own, closed before the game opens, so that none of it lingers.
        const blankPage = await browser.newPage();
        await blankPage.setViewport(VIEWPORT);
        await blankPage.goto("about:blank");
        await sleep(2000);
        const blank = await measure(root);
        console.log(`blank page: ${blank.cpu.toFixed(1)} % of a core (${blank.parts})`);
        // What any page that does something at each of the display's frames
        // costs this browser, for the game's figure to be read against.
        await blankPage.evaluate(() => {
            const frame = () => requestAnimationFrame(frame);
            frame();
        });
        await sleep(1000);
        const looping = await measure(root);
        console.log(`blank page asking for every frame: ${looping.cpu.toFixed(1)} % of a core ` +
                    `(${looping.parts})`);
        await blankPage.close();
        const page = await browser.newPage();
        await page.setViewport(VIEWPORT);
        await page.goto(url);
        await page.waitForFunction(() => Module.dellomarStats && Module.dellomarStats.frames > 10,
                                   { timeout: 60000 });
        // A player has pressed a key or a button by then, which lets the
        // page's audio run.
        await page.keyboard.press("ShiftLeft");
        await page.mouse.move(300, 300);
        await sleep(3000);
        const audio = await page.evaluate(() => Module.dellomarAudio?.resting ? "resting"
                                          : Module.dellomarAudio?.context?.state ?? "none");
        console.log(`audio after the first key: ${audio}`);
        for (const [label, during] of [["game at rest", undefined],
                                       ["lamp moving", () => wiggle(page)]]) {
            const from = await counters(page);
            const spent = await measure(root, during);
            const to = await counters(page);
            console.log(`${label}: ${spent.cpu.toFixed(1)} % of a core; ` +
                        `${((to.frames - from.frames) / seconds).toFixed(1)} frames a second, ` +
                        `${(to.drawn ?? 0) - (from.drawn ?? 0)} drawn (${spent.parts})`);
        }
    } finally {
        await browser.close();
        server.close();
        fs.rmSync(profile, { recursive: true, force: true });
    }
}

main().catch((error) => {
    console.error(error);
    process.exit(1);
});
