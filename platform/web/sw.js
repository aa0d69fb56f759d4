// The page's service worker: keeps one set of the game's files (page, script,
// wasm, data, manifest, icons) so that the game starts with no network, and
// never hands a page files of two builds. The build writes the set's name and
// each file's hash in here (stamp_site.cmake).
//
// - Installing takes the whole set, by the URLs the page uses, from the
//   browser's cache where the page has just loaded it (a first visit
//   downloads each file once), and checks every file against its hash; a file
//   that does not match even when fetched afresh (the server is half way
//   through an update) fails the install, and the next visit tries again.
// - The page asks for its files with ?v=<set>; each is answered from that set
//   only. A set that is gone answers 503 rather than a file of another build
//   (a page still loading when a newer set took over: it says to reload).
// - A complete new set takes over at once and the older sets go: a page that
//   has started holds all it needs, and its next start uses the new set.
const STAMP = "@DELLOMAR_STAMP@";
const FILES = [
@DELLOMAR_SET_FILES@
];
const PREFIX = "dellomar-";
const CACHE = PREFIX + STAMP;
const NAMES = new Set(FILES.map(([name]) => name));
// The manifest names its icons with no set: the browser fetches them so.
const UNVERSIONED = new Set(["icon-192.png", "icon-512.png"]);

function hex(buffer) {
    return Array.from(new Uint8Array(buffer), (byte) => byte.toString(16).padStart(2, "0")).join("");
}

// The set's file by the very URL the page fetched it with, so that the
// browser's own cache answers and nothing travels twice; only a copy that
// does not match (an older one the browser kept) is fetched afresh.
async function fetchChecked(name, hash, urls) {
    const tries = [...urls.map((url) => [url, "force-cache"]), [urls.at(-1), "no-store"]];
    let status = "no answer";
    for (const [url, cache] of tries) {
        const response = await fetch(new Request(url, { cache }));
        if (!response.ok) {
            status = response.status;
            continue;
        }
        const body = await response.clone().arrayBuffer();
        if (hex(await crypto.subtle.digest("SHA-256", body)) === hash) return response;
        status = `not the one of set ${STAMP}`;
    }
    throw new Error(`${name}: ${status}`);
}

// The page itself came by whatever address the player opened.
async function pageUrls() {
    const scope = new URL(self.registration.scope);
    const pages = (await self.clients.matchAll({ type: "window", includeUncontrolled: true }))
        .map((client) => new URL(client.url))
        .filter((url) => url.origin === scope.origin &&
            (url.pathname === scope.pathname || url.pathname === scope.pathname + "index.html"))
        .map((url) => url.href.replace(/#.*$/, ""));
    return [...new Set([...pages, new URL("index.html", scope).href])];
}

async function fillCache() {
    const pages = await pageUrls();
    const responses = await Promise.all(FILES.map(async ([name, hash]) => {
        const urls = name === "index.html" ? pages
            : [UNVERSIONED.has(name) ? name : `${name}?v=${encodeURIComponent(STAMP)}`];
        return [name, await fetchChecked(name, hash, urls)];
    }));
    const cache = await caches.open(CACHE);
    try {
        await Promise.all(responses.map(([name, response]) => cache.put(name, response)));
    } catch (error) {
        await caches.delete(CACHE);
        throw error;
    }
}

self.addEventListener("install", (event) => event.waitUntil(fillCache().then(() => self.skipWaiting())));

self.addEventListener("activate", (event) => event.waitUntil((async () => {
    for (const name of await caches.keys()) {
        if (name.startsWith(PREFIX) && name !== CACHE) await caches.delete(name);
    }
})()));

// The file of the set a request names, or null for requests left to the network.
function fileOf(request) {
    const url = new URL(request.url);
    const scope = new URL(self.registration.scope);
    if (request.method !== "GET" || url.origin !== scope.origin ||
        !url.pathname.startsWith(scope.pathname)) {
        return null;
    }
    let name = url.pathname.slice(scope.pathname.length);
    if (name === "" && request.mode === "navigate") name = "index.html";
    return NAMES.has(name) ? name : null;
}

async function answer(request, name) {
    const wanted = new URL(request.url).searchParams.get("v");
    const set = wanted ? PREFIX + wanted : CACHE;
    if (set !== CACHE && !(await caches.has(set))) {
        return new Response("", { status: 503, statusText: "that version of the game is gone" });
    }
    const kept = await (await caches.open(set)).match(name);
    return kept ?? fetch(request);
}

self.addEventListener("fetch", (event) => {
    const name = fileOf(event.request);
    if (name !== null) event.respondWith(answer(event.request, name));
});
