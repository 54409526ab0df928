// What the browser tests (page_test.mjs) and bench/web-bench.mjs share: the
// web zip unpacked and served on 127.0.0.1, the three engines behind one small
// page interface, and the ways a test looks at the game: the canvas's pixels,
// keys held as a player holds them, the save the game keeps in IndexedDB.
// Chromium and Firefox are Debian's, driven by puppeteer-core (CDP and
// WebDriver BiDi); WebKit is Debian's MiniBrowser under an Xvfb of our own,
// driven by WebKitWebDriver over plain W3C WebDriver.
// Environment: TARVELLION_WEB_NODE (the folder puppeteer-core is installed
// in); CHROMIUM, FIREFOX, MINIBROWSER override the browsers' paths.
import { createRequire } from 'node:module';
import { execFileSync, spawn } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import net from 'node:net';
import os from 'node:os';
import path from 'node:path';

export const ENGINES = ['chromium', 'firefox', 'webkit'];

const TYPES = {
    '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css',
    '.wasm': 'application/wasm', '.png': 'image/png', '.txt': 'text/plain',
    '.webmanifest': 'application/manifest+json',
};

// Runs in the page before its own scripts: errors are kept for the tests to
// read, then whatever the test put in site.init.
const PAGE_HOOK = `window.pageErrors = [];
window.addEventListener('error', (e) => window.pageErrors.push(String(e.message)));
window.addEventListener('unhandledrejection', (e) => window.pageErrors.push(String(e.reason)));
`;

// The zip unpacked, served as any static server would serve it; index.html
// gets the test's hook as its first script, in every engine alike (WebDriver
// has no way to run a script before the page's own). Given a board's port,
// the site's /api/ is that board's, as behind a reverse proxy.
export async function serveZip(zip, boardPort = 0) {
    const root = fs.mkdtempSync(path.join(os.tmpdir(), 'tarvellion-web-'));
    execFileSync('cmake', ['-E', 'tar', 'xf', path.resolve(zip)], { cwd: root });
    const site = { root, init: '' };
    const server = http.createServer((request, response) => {
        let name = decodeURIComponent(new URL(request.url, 'http://host').pathname);
        if (boardPort && name.startsWith('/api/')) {
            request.pipe(http.request({ port: boardPort, path: request.url, method: request.method,
                headers: request.headers }, (answer) => {
                response.writeHead(answer.statusCode, answer.headers);
                answer.pipe(response);
            }).on('error', () => response.destroy()));
            return;
        }
        if (name.endsWith('/'))
            name += 'index.html';
        if (name === '/test-hook.js') {
            response.writeHead(200, { 'content-type': 'text/javascript', 'cache-control': 'no-store' });
            response.end(PAGE_HOOK + site.init);
            return;
        }
        const file = path.join(root, path.normalize(name));
        fs.readFile(file, (error, bytes) => {
            if (error || !file.startsWith(root)) {
                response.writeHead(404);
                response.end();
                return;
            }
            if (name === '/index.html')
                bytes = String(bytes).replace('<head>', '<head><script src="test-hook.js"></script>');
            response.writeHead(200, { 'content-type': TYPES[path.extname(file)] || 'application/octet-stream' });
            response.end(bytes);
        });
    });
    await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
    // Closed as a server that has gone: no new requests, none on a kept connection.
    return Object.assign(site, {
        url: `http://127.0.0.1:${server.address().port}/`,
        close() {
            if (!server.listening)
                return;
            server.close();
            server.closeAllConnections();
            fs.rmSync(root, { recursive: true, force: true });
        },
    });
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// The world board's server on a loopback port of its own, with a new
// database; stop() ends it.
export async function startBoard(program) {
    const db = fs.mkdtempSync(path.join(os.tmpdir(), 'tarvellion-board-'));
    const server = spawn(program, ['--db', path.join(db, 'board.sqlite'), '--listen', '127.0.0.1:0'],
        { stdio: ['ignore', 'pipe', 'inherit'] });
    const port = await new Promise((resolve, reject) => {
        server.stdout.once('data', (line) => resolve(Number(/:(\d+)/.exec(String(line))[1])));
        server.once('exit', () => reject(new Error('the board did not start')));
    });
    server.stdout.resume();
    return {
        port,
        stop() {
            server.kill();
            fs.rmSync(db, { recursive: true, force: true });
        },
    };
}

// Chromium and Firefox through puppeteer-core: its page already has nearly
// the interface the tests use.
async function openPuppeteer(engine) {
    const require = createRequire(path.join(process.env.TARVELLION_WEB_NODE, 'package.json'));
    const puppeteer = require('puppeteer-core');
    const browser = engine === 'firefox'
        ? await puppeteer.launch({
            browser: 'firefox', executablePath: process.env.FIREFOX || '/usr/bin/firefox-esr',
            // No sound device here: without the stand-in the AudioContext never starts.
            extraPrefsFirefox: { 'media.cubeb.force_mock_context': true },
        })
        // As root (CI) Chromium starts only without its sandbox. Sound is left
        // to wait for a click, as a player's browser makes it wait.
        : await puppeteer.launch({
            executablePath: process.env.CHROMIUM || '/usr/bin/chromium', args: ['--no-sandbox'],
        });
    return {
        pids: [browser.process().pid],
        puppeteer: browser,
        async newPage(width, height) {
            const page = await browser.newPage();
            await page.setViewport({ width, height });
            return {
                puppeteer: page,
                evaluate: (fn, arg) => page.evaluate(fn, arg),
                goto: async (url) => { await page.goto(url); },
                reload: async () => { await page.reload(); },
                setViewport: (w, h) => page.setViewport({ width: w, height: h }),
                keyDown: (key) => page.keyboard.down(key),
                keyUp: (key) => page.keyboard.up(key),
                mouseMove: (x, y) => page.mouse.move(x, y, { steps: 4 }),
                mouseDown: () => page.mouse.down(),
                mouseUp: () => page.mouse.up(),
            };
        },
        close: () => browser.close(),
    };
}

// The W3C keys of the DOM codes the tests press.
const WEBDRIVER_KEYS = {
    Enter: '\uE007', Escape: '\uE00C', Space: ' ', PageDown: '\uE00F', End: '\uE010',
    Home: '\uE011', ArrowLeft: '\uE012', ArrowUp: '\uE013', ArrowRight: '\uE014',
    ArrowDown: '\uE015', Minus: '-', Equal: '=', F11: '\uE03B', KeyY: 'y',
};

function freePort() {
    return new Promise((resolve, reject) => {
        const probe = net.createServer();
        probe.on('error', reject);
        probe.listen(0, '127.0.0.1', () => {
            const { port } = probe.address();
            probe.close(() => resolve(port));
        });
    });
}

function stopProcess(child) {
    if (child.exitCode !== null || child.signalCode !== null)
        return Promise.resolve();
    const gone = new Promise((resolve) => child.once('exit', resolve));
    child.kill();
    return gone;
}

// WebKit: an Xvfb of its own (it has no headless mode), WebKitWebDriver on a
// free port starting the MiniBrowser, and W3C WebDriver over HTTP.
async function openWebKit() {
    const xvfb = spawn('Xvfb', ['-displayfd', '1', '-screen', '0', '1600x1300x24', '-nolisten', 'tcp'],
        { stdio: ['ignore', 'pipe', 'ignore'] });
    const display = await new Promise((resolve, reject) => {
        xvfb.stdout.once('data', (data) => resolve(String(data).trim()));
        xvfb.once('exit', () => reject(new Error('Xvfb did not start')));
    });
    const port = await freePort();
    // No sound device here: the stand-in sink (GStreamer's fakeaudiosink)
    // keeps time as a device would, so the AudioContext runs.
    const driver = spawn('WebKitWebDriver', [`--port=${port}`], {
        stdio: 'ignore',
        env: { ...process.env, DISPLAY: `:${display}`, GST_PLUGIN_FEATURE_RANK: 'fakeaudiosink:MAX' },
    });
    const base = `http://127.0.0.1:${port}`;
    async function call(method, where, body) {
        const response = await fetch(base + where, {
            method, headers: { 'content-type': 'application/json' },
            body: body === undefined ? undefined : JSON.stringify(body),
        });
        const { value } = await response.json();
        if (!response.ok)
            throw new Error(`WebDriver ${where}: ${value.error}: ${value.message}`);
        return value;
    }
    let session;
    for (let tries = 0; !session; tries++) {
        try {
            session = await call('POST', '/session', { capabilities: { alwaysMatch: {
                'webkitgtk:browserOptions': {
                    binary: process.env.MINIBROWSER || '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser',
                    args: ['--automation'],
                },
            } } });
        } catch (error) {
            if (tries >= 50 || error.message.startsWith('WebDriver')) {
                await Promise.all([stopProcess(driver), stopProcess(xvfb)]);
                throw error;
            }
            await sleep(100);
        }
    }
    const at = (where) => `/session/${session.sessionId}${where}`;
    const evaluate = (fn, arg) => call('POST', at('/execute/sync'),
        { script: `return (${fn})(arguments[0]);`, args: [arg === undefined ? null : arg] });
    const act = (type, actions) => call('POST', at('/actions'), { actions: [{ type, id: type, actions }] });
    let pointer = { x: 0, y: 0 };
    // The window's size less its frame, so the page gets what was asked.
    async function setViewport(width, height) {
        await call('POST', at('/window/rect'), { width, height });
        const [innerWidth, innerHeight] = await evaluate(() => [window.innerWidth, window.innerHeight]);
        await call('POST', at('/window/rect'),
            { width: 2 * width - innerWidth, height: 2 * height - innerHeight });
    }
    return {
        pids: [driver.pid],
        async newPage(width, height) {
            await call('POST', at('/url'), { url: 'about:blank' });
            await setViewport(width, height);
            return {
                evaluate,
                goto: (url) => call('POST', at('/url'), { url }),
                reload: () => call('POST', at('/refresh'), {}),
                setViewport,
                keyDown: (key) => act('key', [{ type: 'keyDown', value: WEBDRIVER_KEYS[key] }]),
                keyUp: (key) => act('key', [{ type: 'keyUp', value: WEBDRIVER_KEYS[key] }]),
                async mouseMove(x, y) {
                    const steps = 4;
                    const moves = [];
                    for (let i = 1; i <= steps; i++)
                        moves.push({
                            type: 'pointerMove', origin: 'viewport', duration: 0,
                            x: Math.round(pointer.x + (x - pointer.x) * i / steps),
                            y: Math.round(pointer.y + (y - pointer.y) * i / steps),
                        });
                    await act('pointer', moves);
                    pointer = { x, y };
                },
                mouseDown: () => act('pointer', [{ type: 'pointerDown', button: 0 }]),
                mouseUp: () => act('pointer', [{ type: 'pointerUp', button: 0 }]),
            };
        },
        async close() {
            await call('DELETE', at('')).catch(() => {});
            await Promise.all([stopProcess(driver), stopProcess(xvfb)]);
        },
    };
}

export function openBrowser(engine) {
    if (!ENGINES.includes(engine))
        throw new Error(`no engine "${engine}": one of ${ENGINES.join(', ')}`);
    return engine === 'webkit' ? openWebKit() : openPuppeteer(engine);
}

export const wait = sleep;

export async function holdKey(page, key, ms = 100) {
    await page.keyDown(key);
    await sleep(ms);
    await page.keyUp(key);
}

// Waits up to `ms` for `check` to return something truthy, and returns that.
export async function until(check, ms = 5000, what = String(check)) {
    const end = Date.now() + ms;
    for (;;) {
        const value = await check();
        if (value)
            return value;
        if (Date.now() > end)
            throw new Error(`timed out after ${ms} ms waiting for ${what}`);
        await sleep(50);
    }
}

// The same for a function run in the page.
export function waitFor(page, fn, arg, ms = 5000) {
    return until(() => page.evaluate(fn, arg), ms, String(fn));
}

// The canvas's RGBA bytes of a box of game pixels, as an array: read back
// through a copy, since the game's own context need not be readable.
export function pixels(page, box) {
    return page.evaluate(({ left, top, right, bottom }) => {
        const copy = document.createElement('canvas');
        copy.width = right - left;
        copy.height = bottom - top;
        const context = copy.getContext('2d');
        context.drawImage(document.getElementById('canvas'), left, top, copy.width, copy.height,
            0, 0, copy.width, copy.height);
        return Array.from(context.getImageData(0, 0, copy.width, copy.height).data);
    }, box);
}

// The colour of one game pixel, [r, g, b].
// A phone's touch screen on a Chromium page: the centre of a page element,
// or of a game pixel through the canvas's scaling; every finger down at once,
// sent through the debugging protocol; a tap; the protocol's session.
export async function touchScreen(page) {
    const cdp = await page.puppeteer.createCDPSession();
    const placeOf = (where) => page.evaluate((where) => {
        const canvas = document.getElementById('canvas');
        const box = (typeof where === 'string' ? document.querySelector(where) : canvas).getBoundingClientRect();
        const [x, y] = typeof where === 'string' ? [0.5, 0.5] : [(where[0] + 0.5) / canvas.width, (where[1] + 0.5) / canvas.height];
        return [box.left + x * box.width, box.top + y * box.height];
    }, where);
    const fingers = (type, ...places) => cdp.send('Input.dispatchTouchEvent',
        { type, touchPoints: places.map(([x, y], id) => ({ x, y, id })) });
    const tap = async (where) => {
        await fingers('touchStart', await placeOf(where));
        await fingers('touchEnd');
    };
    return { cdp, placeOf, fingers, tap };
}

export async function colourAt(page, x, y) {
    return (await pixels(page, { left: x, top: y, right: x + 1, bottom: y + 1 })).slice(0, 3);
}

// Whether the canvas is as large as its room allows: the largest whole
// number of pixels a game pixel from 2 up, else filling the room one way.
export function canvasFits(page) {
    return page.evaluate(() => {
        const canvas = document.getElementById('canvas');
        const shown = canvas.getBoundingClientRect();
        const room = document.getElementById('field').getBoundingClientRect();
        const k = shown.width / canvas.width;
        const inside = shown.width <= room.width + 0.01 && shown.height <= room.height + 0.01;
        const nextTooBig = (k + 1) * canvas.width > room.width || (k + 1) * canvas.height > room.height;
        const filled = room.width - shown.width < 1 || room.height - shown.height < 1;
        return inside && (k >= 2 ? Number.isInteger(k) && nextTooBig : filled);
    });
}

// Moves the real pointer to a game pixel, through the canvas's scaling.
export async function pointAt(page, x, y) {
    const [left, top, scale] = await page.evaluate(() => {
        const canvas = document.getElementById('canvas');
        const box = canvas.getBoundingClientRect();
        return [box.left, box.top, box.width / canvas.width];
    });
    await page.mouseMove(Math.round(left + (x + 0.5) * scale), Math.round(top + (y + 0.5) * scale));
}

async function press(page) {
    await page.mouseDown();
    await sleep(150);
    await page.mouseUp();
}

export async function clickAt(page, x, y) {
    await pointAt(page, x, y);
    await press(page);
}

// A click in the middle of a page element, as a player clicks it.
export async function clickElement(page, selector) {
    const [x, y] = await page.evaluate((selector) => {
        const box = document.querySelector(selector).getBoundingClientRect();
        return [Math.round(box.left + box.width / 2), Math.round(box.top + box.height / 2)];
    }, selector);
    await page.mouseMove(x, y);
    await press(page);
}

// A file of the player's folder as IndexedDB holds it, its bytes as an
// array; null when there is none.
export function playerFile(page, name) {
    return page.evaluate((name) => new Promise((resolve, reject) => {
        const open = indexedDB.open('/player');
        open.onerror = () => reject(open.error);
        open.onsuccess = () => {
            const db = open.result;
            if (!db.objectStoreNames.contains('FILE_DATA')) {
                resolve(null);
                return;
            }
            const get = db.transaction('FILE_DATA').objectStore('FILE_DATA').get(`/player/${name}`);
            get.onsuccess = () => resolve(get.result ? Array.from(get.result.contents) : null);
            get.onerror = () => reject(get.error);
        };
    }), name);
}

// The game's save.dat as IndexedDB holds it, its fields decoded; null when
// there is none.
export async function savedGame(page) {
    const bytes = await playerFile(page, 'save.dat');
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
