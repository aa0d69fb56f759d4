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
    for (const [pid, ticks] of after) used += ticks - (before.get(pid) ?? 0);
    return (100 * used) / TICKS_PER_SECOND / wall;
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
        const page = await browser.newPage();
        await page.setViewport(VIEWPORT);
        await page.goto("about:blank");
        await sleep(2000);
        console.log(`blank page: ${(await measure(root)).toFixed(1)} % of a core`);
        await page.goto(url);
        await page.waitForFunction(() => Module.dellomarStats && Module.dellomarStats.frames > 10,
                                   { timeout: 60000 });
        await page.mouse.move(300, 300);
        await sleep(3000);
        for (const [label, during] of [["game at rest", undefined],
                                       ["lamp moving", () => wiggle(page)]]) {
            const from = await counters(page);
            const cpu = await measure(root, during);
            const to = await counters(page);
            console.log(`${label}: ${cpu.toFixed(1)} % of a core; ` +
                        `${((to.frames - from.frames) / seconds).toFixed(1)} frames a second, ` +
                        `${(to.drawn ?? 0) - (from.drawn ?? 0)} drawn`);
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
