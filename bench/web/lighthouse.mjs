// Lighthouse's mobile audit of the web page (its default profile: a slow 4G
// network and a processor four times slower, both simulated), run several
// times on the built site served by the test's static server, each run in a
// fresh browser profile. Prints the four scores and Total Blocking Time of
// every run, then the medians.
//
// Usage: node bench/web/lighthouse.mjs [site folder] [runs]   (default
//        build-web/site, 5 runs; CHROME_PATH names the browser; LONG_TASKS=1
//        also lists each run's long tasks: file, start + length in ms;
//        KEEP_REPORTS=1 keeps the JSON reports and prints their folder)
import { spawn } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";

import { CHROMIUM_ARGS } from "../../tests/web/chromium_flags.mjs";
import { serveFolder } from "../../tests/web/static_server.mjs";

const here = path.dirname(new URL(import.meta.url).pathname);
const site = path.resolve(process.argv[2] ?? path.join(here, "../../build-web/site"));
const runs = Number(process.argv[3] ?? 5);
const CATEGORIES = ["performance", "accessibility", "best-practices", "seo"];
// The flags the page tests start Chromium with.
const FLAGS = CHROMIUM_ARGS.join(" ");

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

// Run as a child the server keeps answering, not one that blocks it.
function lighthouse(args) {
    return new Promise((resolve, reject) => {
        const child = spawn(path.join(here, "node_modules/.bin/lighthouse"), args, {
            env: { ...process.env, CHROME_PATH: process.env.CHROME_PATH ?? "/usr/bin/chromium" },
            stdio: ["ignore", "ignore", "pipe"],
        });
        let errors = "";
        child.stderr.on("data", (chunk) => { errors += chunk; });
        child.on("error", reject);
        child.on("exit", (code) => (code === 0 ? resolve() : reject(new Error(`lighthouse failed: ${errors}`))));
    });
}

async function audit(url, out) {
    await lighthouse([url, "--quiet", "--output=json", `--output-path=${out}`, `--chrome-flags=${FLAGS}`,
                      `--only-categories=${CATEGORIES.join(",")}`]);
    const report = JSON.parse(fs.readFileSync(out, "utf8"));
    const scores = Object.fromEntries(CATEGORIES.map((c) => [c, report.categories[c].score]));
    const failing = Object.values(report.audits)
        .filter((a) => a.score !== null && a.score < 0.9 && a.scoreDisplayMode !== "informative" &&
                       a.scoreDisplayMode !== "notApplicable" && a.scoreDisplayMode !== "manual")
        .map((a) => a.id);
    // The tasks the simulation counts as long, by when they began (simulated).
    const longTasks = (report.audits["long-tasks"]?.details?.items ?? [])
        .map((t) => `${path.basename(t.url ?? "") || "?"} ${t.startTime.toFixed(0)}+${t.duration.toFixed(0)}`);
    return { ...scores, tbt: report.audits["total-blocking-time"].numericValue,
             lcp: report.audits["largest-contentful-paint"].numericValue, failing, longTasks };
}

const server = await serveFolder(site);
const folder = fs.mkdtempSync(path.join(os.tmpdir(), "dellomar-lighthouse-"));
const results = [];
try {
    const url = `http://127.0.0.1:${server.address().port}/index.html`;
    for (let i = 0; i < runs; i++) {
        const r = await audit(url, path.join(folder, `run${i}.json`));
        results.push(r);
        console.log(`run ${i + 1}: performance ${r.performance}  accessibility ${r.accessibility}  ` +
                    `best practices ${r["best-practices"]}  SEO ${r.seo}  TBT ${r.tbt.toFixed(0)} ms  ` +
                    `LCP ${r.lcp.toFixed(0)} ms${r.failing.length ? "  below 0.9: " + r.failing.join(" ") : ""}`);
        if (process.env.LONG_TASKS) console.log(`  long tasks (ms): ${r.longTasks.join(", ") || "none"}`);
    }
} finally {
    server.close();
    if (process.env.KEEP_REPORTS) {
        console.log(`reports kept in ${folder}`);
    } else {
        fs.rmSync(folder, { recursive: true, force: true });
    }
}
const m = (key) => median(results.map((r) => r[key]));
console.log(`median of ${runs}: performance ${m("performance")}  accessibility ${m("accessibility")}  ` +
            `best practices ${m("best-practices")}  SEO ${m("seo")}  TBT ${m("tbt").toFixed(0)} ms`);
