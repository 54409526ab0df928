// What the browser tests share (page_test.mjs): the web zip unpacked and
// served on 127.0.0.1, Debian's Chromium driven headless by playwright-core,
// and the ways a test looks at the game: the canvas's pixels, keys held as a
// player holds them, the save the game keeps in IndexedDB.
// Environment: TARVELLION_WEB_ZIP (the zip to test), TARVELLION_WEB_NODE (the
// folder playwright-core is installed in), CHROMIUM (default /usr/bin/chromium).
import { createRequire } from 'node:module';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';

const require = createRequire(path.join(process.env.TARVELLION_WEB_NODE, 'package.json'));
const { chromium } = require('playwright-core');

const TYPES = {
    '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css',
    '.wasm': 'application/wasm', '.png': 'image/png', '.txt': 'text/plain',
};

// The zip unpacked, served as any static server would serve it.
export async function serveZip(zip) {
    const root = fs.mkdtempSync(path.join(os.tmpdir(), 'tarvellion-web-'));
    execFileSync('cmake', ['-E', 'tar', 'xf', path.resolve(zip)], { cwd: root });
    const server = http.createServer((request, response) => {
        let name = decodeURIComponent(new URL(request.url, 'http://host').pathname);
        if (name.endsWith('/'))
            name += 'index.html';
        const file = path.join(root, path.normalize(name));
        fs.readFile(file, (error, bytes) => {
            if (error || !file.startsWith(root)) {
                response.writeHead(404);
                response.end();
                return;
            }
            response.writeHead(200, { 'content-type': TYPES[path.extname(file)] || 'application/octet-stream' });
            response.end(bytes);
        });
    });
    await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
    return {
        url: `http://127.0.0.1:${server.address().port}/`,
        root,
        close() {
            server.close();
            fs.rmSync(root, { recursive: true, force: true });
        },
    };
}

// Chromium as CI runs it (root: no sandbox). Sound is left to wait for a
// click, as a player's browser makes it wait.
export function launchBrowser() {
    return chromium.launch({
        executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
        args: ['--no-sandbox'],
    });
}

export async function holdKey(page, key, ms = 100) {
    await page.keyboard.down(key);
    await page.waitForTimeout(ms);
    await page.keyboard.up(key);
}

// Waits up to `ms` for the page function to return something truthy.
export async function waitFor(page, fn, arg, ms = 5000) {
    return (await page.waitForFunction(fn, arg, { timeout: ms, polling: 50 })).jsonValue();
}

// The canvas's RGBA bytes of a box of game pixels, as an array.
export function pixels(page, box) {
    return page.evaluate(({ left, top, right, bottom }) => {
        const canvas = document.getElementById('canvas');
        const data = canvas.getContext('2d').getImageData(left, top, right - left, bottom - top).data;
        return Array.from(data);
    }, box);
}

// The colour of one game pixel, [r, g, b].
export async function colourAt(page, x, y) {
    return (await pixels(page, { left: x, top: y, right: x + 1, bottom: y + 1 })).slice(0, 3);
}

// Moves the real pointer to a game pixel, through the canvas's scaling.
export async function pointAt(page, x, y) {
    const box = await page.locator('#canvas').boundingBox();
    const canvasWidth = await page.evaluate(() => document.getElementById('canvas').width);
    const scale = box.width / canvasWidth;
    await page.mouse.move(box.x + (x + 0.5) * scale, box.y + (y + 0.5) * scale, { steps: 4 });
}

export async function clickAt(page, x, y) {
    await pointAt(page, x, y);
    await page.mouse.down();
    await page.waitForTimeout(150);
    await page.mouse.up();
}

// The game's save.dat as IndexedDB holds it (the player's folder's store),
// its fields decoded; null when there is none.
export async function savedGame(page) {
    const bytes = await page.evaluate(() => new Promise((resolve, reject) => {
        const open = indexedDB.open('/player');
        open.onerror = () => reject(open.error);
        open.onsuccess = () => {
            const db = open.result;
            if (!db.objectStoreNames.contains('FILE_DATA')) {
                resolve(null);
                return;
            }
            const get = db.transaction('FILE_DATA').objectStore('FILE_DATA').get('/player/save.dat');
            get.onsuccess = () => resolve(get.result ? Array.from(get.result.contents) : null);
            get.onerror = () => reject(get.error);
        };
    }));
    if (!bytes)
        return null;
    const view = new DataView(Uint8Array.from(bytes).buffer);
    const int = (at) => view.getInt32(at, true);
    return {
        size: bytes.length,
        level: int(0), score: int(4), fruitmax: int(8), end: int(24), timer: int(28),
        lives: int(292), facing: int(312), x: int(316), y: int(320),
    };
}
