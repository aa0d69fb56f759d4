// A static file server on 127.0.0.1 at a port the system picks, for the
// built page: what `python3 -m http.server` would do, with the wasm and
// manifest types set. `server.root` may be changed to serve another build,
// and `server.offline` set to answer nothing (`server.refused` lists what was
// asked meanwhile). It counts what it answers, by
// path: `server.answers` (how many times) and `server.bytes` (bytes sent,
// headers included), for the tests and the first-visit benchmark; `server.count()`
// starts both afresh. `server.override(path)` may answer a path otherwise:
// a number is an HTTP status with no body, "drop" cuts the connection, a
// Buffer is served as the file.
import fs from "node:fs";
import http from "node:http";
import path from "node:path";

const TYPES = {
    ".html": "text/html; charset=utf-8",
    ".js": "text/javascript",
    ".wasm": "application/wasm",
    ".data": "application/octet-stream",
    ".webmanifest": "application/manifest+json",
    ".png": "image/png",
};

// Every byte of an answer, its header too, once it has gone out.
function counted(server, wanted, response) {
    server.answers.set(wanted, (server.answers.get(wanted) ?? 0) + 1);
    const socket = response.socket;
    const before = socket?.bytesWritten ?? 0;
    response.on("finish", () => {
        const sent = (socket?.bytesWritten ?? 0) - before;
        server.bytes.set(wanted, (server.bytes.get(wanted) ?? 0) + sent);
    });
}

// The browser may keep what it gets, but asks again before it uses a kept
// copy for a page load (no-cache): an update is seen at once, and the page's
// worker can still take what the page just loaded from the browser's cache.
function send(server, response, wanted, file, body) {
    counted(server, wanted, response);
    response.writeHead(200, {
        "Content-Type": TYPES[path.extname(file)] ?? "application/octet-stream",
        "Content-Length": body.length,
        "Cache-Control": "no-cache",
    });
    response.end(body);
}

function answerOtherwise(server, request, response, wanted, file) {
    const instead = server.override?.(wanted);
    if (instead === undefined || instead === null) return false;
    if (instead === "drop") {
        counted(server, wanted, response);
        request.socket.destroy();
    } else if (typeof instead === "number") {
        counted(server, wanted, response);
        response.writeHead(instead).end();
    } else {
        send(server, response, wanted, file, instead);
    }
    return true;
}

export function serveFolder(root) {
    const server = http.createServer((request, response) => {
        if (server.offline) {
            server.refused.push(new URL(request.url, "http://x").pathname);
            request.socket.destroy(); // as a network that is not there
            return;
        }
        if (process.env.WEB_TEST_VERBOSE) console.log(`served ${request.url} from ${server.root}`);
        const wanted = decodeURIComponent(new URL(request.url, "http://x").pathname);
        const root = server.root;
        const file = path.join(root, path.normalize(wanted));
        if (answerOtherwise(server, request, response, wanted, file)) return;
        if (!file.startsWith(root + path.sep)) {
            counted(server, wanted, response);
            response.writeHead(403).end();
            return;
        }
        fs.readFile(file, (error, body) => {
            if (error) {
                counted(server, wanted, response);
                response.writeHead(404).end();
                return;
            }
            send(server, response, wanted, file, body);
        });
    });
    server.root = root;
    server.count = () => {
        server.answers = new Map();
        server.bytes = new Map();
        server.refused = [];
    };
    server.count();
    return new Promise((resolve) => server.listen(0, "127.0.0.1", () => resolve(server)));
}
