// What a first visit to the web page costs on the network: serves the built
// site with a server that compresses nothing and counts every byte it sends
// (headers too), opens the page in a fresh browser profile, waits until the
// game plays and its worker holds the whole set, and prints the bytes and
// answers per file and in all.
//
// Usage: node bench/web/first_visit.mjs [site folder]   (default build-web/site;
//        CHROMIUM names the browser; bench/web_page.sh installs the packages)
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { launch } from "puppeteer-core";

import { CHROMIUM, CHROMIUM_ARGS } from "../../tests/web/chromium_flags.mjs";
import { serveFolder } from "../../tests/web/static_server.mjs";

const here = path.dirname(new URL(import.meta.url).pathname);
const site = path.resolve(process.argv[2] ?? path.join(here, "../../build-web/site"));
const WAIT_MS = 60000;

async function visit(url) {
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), "dellomar-bench-visit-"));
    const browser = await launch({
        executablePath: CHROMIUM,
        headless: true,
        userDataDir: profile,
        targetFilter: (target) => target.type() !== "service_worker",
        args: CHROMIUM_ARGS,
    });
    try {
        const page = await browser.newPage();
        await page.setViewport({ width: 800, height: 640 });
        await page.goto(url);
        await page.waitForFunction(() => window.Module?.dellomarStats?.frames > 10, { timeout: WAIT_MS });
        await page.evaluate(() => navigator.serviceWorker.ready.then((registration) => new Promise((done) => {
            const worker = registration.active;
            if (worker.state === "activated") return done();
            worker.addEventListener("statechange", () => worker.state === "activated" && done());
        })));
    } finally {
        await browser.close();
        fs.rmSync(profile, { recursive: true, force: true });
    }
}

const server = await serveFolder(site);
try {
    await visit(`http://127.0.0.1:${server.address().port}/index.html`);
} finally {
    server.close();
}
let total = 0;
let answers = 0;
console.log("file                      answers      bytes");
for (const [file, bytes] of [...server.bytes].sort((a, b) => b[1] - a[1])) {
    const count = server.answers.get(file);
    console.log(`${file.padEnd(24)} ${String(count).padStart(8)} ${String(bytes).padStart(10)}`);
    total += bytes;
    answers += count;
}
console.log(`${"in all".padEnd(24)} ${String(answers).padStart(8)} ${String(total).padStart(10)}` +
            `  (${(total / 1024).toFixed(0)} KB)`);
