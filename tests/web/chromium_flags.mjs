// How every page test and benchmark starts Chromium: headless, as root, with
// nothing of its own reaching for the network (this machine's closed network
// refuses those connections, many at a time).
export const CHROMIUM = process.env.CHROMIUM ?? "/usr/bin/chromium";
export const CHROMIUM_ARGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                              "--no-first-run", "--disable-background-networking",
                              "--disable-component-update", "--disable-sync"];
