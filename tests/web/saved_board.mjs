// The saved game's bytes as a board: the side length, CR LF, then two digits
// per cell (value 0..9 with 9 a mine, state), column by column.
export const HIDDEN = 0;
export const FLAGGED = 2;
export const OPEN = 3;
const MINE = 9;

export function parse(bytes) {
    if (!bytes) return null;
    const text = String.fromCharCode(...bytes);
    const match = /^(\d+)\r\n/.exec(text);
    if (!match) return null;
    const side = Number(match[1]);
    const cells = text.slice(match[0].length);
    if (cells.length !== side * side * 2) return null;
    return { bytes, side, cells };
}

export const text = (bytes) => String.fromCharCode(...bytes);

const digit = (saved, cell, which) =>
    Number(saved.cells[2 * (cell.x * saved.side + cell.y) + which]);
export const value = (saved, cell) => digit(saved, cell, 0);
export const state = (saved, cell) => digit(saved, cell, 1);

function* allCells(side) {
    for (let x = 0; x < side; x++) for (let y = 0; y < side; y++) yield { x, y };
}

const key = (cell) => `${cell.x},${cell.y}`;
const inside = (saved, x, y) => x >= 0 && y >= 0 && x < saved.side && y < saved.side;

export function openedCells(saved) {
    const open = new Set();
    for (const cell of allCells(saved.side)) if (state(saved, cell) === OPEN) open.add(key(cell));
    return open;
}

// What one click on a fresh board opens: a mine with its mine-free
// neighbours; otherwise the cell, flooding on through cells without
// neighbouring mines.
export function expectedAfterClick(saved, x, y) {
    const open = new Set([key({ x, y })]);
    const around = (cx, cy) => [-1, 0, 1].flatMap((dx) => [-1, 0, 1].map((dy) => [cx + dx, cy + dy]))
        .filter(([nx, ny]) => (nx !== cx || ny !== cy) && inside(saved, nx, ny));
    if (value(saved, { x, y }) === MINE) {
        for (const [nx, ny] of around(x, y)) {
            if (value(saved, { x: nx, y: ny }) !== MINE) open.add(key({ x: nx, y: ny }));
        }
        return open;
    }
    const todo = [[x, y]];
    while (todo.length > 0) {
        const [cx, cy] = todo.pop();
        if (value(saved, { x: cx, y: cy }) !== 0) continue;
        for (const [nx, ny] of around(cx, cy)) {
            if (!open.has(key({ x: nx, y: ny }))) {
                open.add(key({ x: nx, y: ny }));
                todo.push([nx, ny]);
            }
        }
    }
    return open;
}

export const sameCells = (a, b) => a.size === b.size && [...a].every((cell) => b.has(cell));

// Hidden cells without a mine (with a number, when asked) that the lamp can
// reach from a cursor that stays right of and below the screen's corner.
export function hiddenCells(saved, count, numbered = false) {
    const found = [];
    for (const cell of allCells(saved.side)) {
        if (cell.x >= 3 && cell.y >= 3 && state(saved, cell) === HIDDEN &&
            value(saved, cell) !== MINE && (!numbered || value(saved, cell) !== 0)) {
            found.push(cell);
        }
    }
    // Far apart, so that opening one cannot flood into the other.
    return found.length >= count ? [found[0], found[found.length - 1]] : found;
}
