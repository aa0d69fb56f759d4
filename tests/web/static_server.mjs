// A static file server on 127.0.0.1 at a port the system picks, for the
// built page: what `python3 -m http.server` would do, with the wasm and
// manifest types set. `server.root` may be changed to serve another build,
// and `server.offline` set to answer nothing.
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

export function serveFolder(root) {
    const server = http.createServer((request, response) => {
        if (server.offline) {
            request.socket.destroy(); // as a network that is not there
            return;
        }
        if (process.env.WEB_TEST_VERBOSE) console.log(`served ${request.url} from ${server.root}`);
        const wanted = decodeURIComponent(new URL(request.url, "http://x").pathname);
        const root = server.root;
        const file = path.join(root, path.normalize(wanted));
        if (!file.startsWith(root + path.sep)) {
            response.writeHead(403).end();
            return;
        }
        fs.readFile(file, (error, body) => {
            if (error) {
                response.writeHead(404).end();
                return;
            }
            response.writeHead(200, {
                "Content-Type": TYPES[path.extname(file)] ?? "application/octet-stream",
                "Cache-Control": "no-store",
            });
            response.end(body);
        });
    });
    server.root = root;
    return new Promise((resolve) => server.listen(0, "127.0.0.1", () => resolve(server)));
}
