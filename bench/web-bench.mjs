// The browser build measured in Chromium, Firefox and WebKit side by side with
// the desktop game (`make bench-web`), each engine as the page tests drive it
// (tests/web/harness.mjs), in a 1400 x 1100 window, where the game shows at 2x:
// the download (gzipped sizes of what a player fetches); the time from the page
// load to the menu's first frame with an immediate click on Click to play; the
// browser's share of a core over 5 s of the still menu and over 10 s of play at
// the default DELAY 30 (all its processes, from /proc; WebKit's Xvfb apart);
// the frame period (between the game's frame sleeps, seen as the page's
// setTimeout calls that Asyncify makes for them), its 95th percentile, and the
// time from waking to the next sleep (the pass and the wait's last spin); the
// frames handed to the canvas per second; how often the sound's worklet ran
// dry (-1 without a worklet); the engine's floor: its share for a bare page
// that changes a canvas of the game's size as often. Then the desktop game's share in a
// window of the same scale, from bench/window-bench.sh. Three runs of each
// engine; medians of each figure.
// Usage: node web-bench.mjs ZIP NODE_DIR [GAME BENCH_SAVE]
// ENGINES (default "chromium firefox webkit") and RUNS (3) choose less.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';

process.env.TARVELLION_WEB_NODE = path.resolve(process.argv[3]);
const { ENGINES, clickAt, clickElement, colourAt, openBrowser, serveZip, until, wait, waitFor } =
    await import('../tests/web/harness.mjs');

const RUNS = Number(process.env.RUNS || 3);
const engines = (process.env.ENGINES || ENGINES.join(' ')).split(/\s+/).filter(Boolean);
const MENU_MS = 5000;
const PLAY_MS = 10000;
const TICKS_PER_SECOND = 100; // USER_HZ, as /proc/PID/stat counts

function median(values) {
    const sorted = [...values].sort((a, b) => a - b);
    return sorted[Math.floor(sorted.length / 2)];
}

function percentile(values, p) {
    const sorted = [...values].sort((a, b) => a - b);
    return sorted[Math.min(sorted.length - 1, Math.floor(sorted.length * p))];
}

// Processor ticks used so far by the given processes and all their
// descendants: the browser a run launched and its helpers.
function treeTicks(roots) {
    const parents = new Map();
    const ticks = new Map();
    for (const pid of fs.readdirSync('/proc').filter((name) => /^\d+$/.test(name))) {
        try {
            const stat = fs.readFileSync(`/proc/${pid}/stat`, 'utf8');
            const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
            parents.set(Number(pid), Number(fields[1]));
            ticks.set(Number(pid), Number(fields[11]) + Number(fields[12]));
        } catch {
            // gone meanwhile
        }
    }
    let total = 0;
    for (const [pid, used] of ticks) {
        for (let p = pid; p > 1; p = parents.get(p) ?? 0)
            if (roots.includes(p)) {
                total += used;
                break;
            }
    }
    return total;
}

// Share of a core of the processes over `ms` of wall time.
async function coreShare(roots, ms) {
    const before = treeTicks(roots);
    const from = performance.now();
    await wait(ms);
    const used = treeTicks(roots) - before;
    return used / TICKS_PER_SECOND / ((performance.now() - from) / 1000);
}

function sizes(root) {
    const result = {};
    for (const name of ['tarvellion.wasm', 'tarvellion.js', 'tarvellion.data', 'index.html', 'page.js', 'page.css']) {
        const bytes = fs.readFileSync(path.join(root, name));
        result[name] = { raw: bytes.length, gzip: zlib.gzipSync(bytes, { level: 9 }).length };
    }
    return result;
}

// Run in the page before its scripts: the game's frame sleeps and wakes, and
// every frame handed to the canvas, whichever way the page draws it.
const INSTRUMENT = `
window.frameSleeps = [];
window.frameWakes = [];
window.framesShown = [];
const plainTimeout = window.setTimeout;
window.setTimeout = function (callback, ms, ...rest) {
    if (ms >= 10) {
        window.frameSleeps.push(performance.now());
        const inner = callback;
        callback = function (...args) {
            window.frameWakes.push(performance.now());
            return inner.apply(this, args);
        };
    }
    return plainTimeout.call(this, callback, ms, ...rest);
};
for (const [type, name] of [[CanvasRenderingContext2D, 'putImageData'],
        [CanvasRenderingContext2D, 'drawImage'], [WebGLRenderingContext, 'texSubImage2D']]) {
    const plain = type.prototype[name];
    type.prototype[name] = function (...args) {
        if (this.canvas.id === 'canvas')
            window.framesShown.push(performance.now());
        return plain.apply(this, args);
    };
}
`;

// The engine's floor: a bare page showing a 640 x 480 canvas at 2x that
// changes as often as the game's, drawn the way the game's page draws it.
const FLOOR_PAGE = `<!doctype html><body style="margin:0;background:#000">
<canvas id="floor" width="640" height="480" style="width:1280px;height:960px;image-rendering:pixelated"></canvas>
<script>
const context = document.getElementById('floor').getContext('2d', { alpha: false, willReadFrequently: true });
const frame = context.createImageData(640, 480);
let shade = 0;
function draw() {
    shade = (shade + 8) % 256;
    for (let i = 0; i < frame.data.length; i += 4) {
        frame.data[i] = shade;
        frame.data[i + 1] = (i >> 10) & 255;
        frame.data[i + 3] = 255;
    }
    context.putImageData(frame, 0, 0);
    setTimeout(draw, 31);
}
draw();
</script>`;

async function floorShare(engine, site) {
    fs.writeFileSync(path.join(site.root, 'floor.html'), FLOOR_PAGE);
    const browser = await openBrowser(engine);
    try {
        const page = await browser.newPage(1400, 1100);
        await page.goto(`${site.url}floor.html`);
        await wait(1000);
        return await coreShare(browser.pids, PLAY_MS);
    } finally {
        await browser.close();
    }
}

async function menuShown(page) {
    const [r, g, b] = await colourAt(page, 282, 212);
    return r === g && g === b && (r === 192 || r === 227);
}

async function run(engine, site) {
    const browser = await openBrowser(engine);
    try {
        const page = await browser.newPage(1400, 1100);
        site.init = INSTRUMENT;
        await page.goto(site.url);
        await waitFor(page, () => !document.getElementById('play').disabled, undefined, 20000);
        const ready = await page.evaluate(() => performance.now());
        await clickElement(page, '#play');
        await until(() => menuShown(page), 20000, 'the menu');
        const menu = await page.evaluate(() => performance.now());

        await wait(1000);
        const menuFrom = await page.evaluate(() => performance.now());
        const menuCore = await coreShare(browser.pids, MENU_MS);
        const menuShownPerSecond = await page.evaluate((from) =>
            window.framesShown.filter((t) => t >= from).length / ((performance.now() - from) / 1000), menuFrom);

        await clickAt(page, 320, 212);
        await until(async () => !await menuShown(page), 5000, 'play');
        await wait(1000);
        const from = await page.evaluate(() => performance.now());
        const core = await coreShare(browser.pids, PLAY_MS);
        const to = await page.evaluate(() => performance.now());
        const { sleeps, wakes, shown, gaps } = await page.evaluate(({ from, to }) => {
            const within = (list) => list.filter((t) => t >= from && t <= to);
            return {
                sleeps: within(window.frameSleeps), wakes: within(window.frameWakes),
                shown: within(window.framesShown), gaps: Module.audioGaps ?? -1,
            };
        }, { from, to });
        const periods = sleeps.slice(1).map((t, i) => t - sleeps[i]);
        const awake = wakes.map((w) => sleeps.find((s) => s > w) - w).filter((d) => d >= 0);
        const seconds = (to - from) / 1000;
        return {
            ready, menu, menuCore, menuShown: menuShownPerSecond, core, passes: periods.length / seconds, shown: shown.length / seconds,
            median: median(periods), p95: percentile(periods, 0.95), awake: median(awake), gaps,
        };
    } finally {
        await browser.close();
    }
}

const pct = (share) => `${(share * 100).toFixed(1)} %`;

function describe(r) {
    return `menu ${r.menu.toFixed(0)} ms (Click to play at ${r.ready.toFixed(0)}); still menu ${pct(r.menuCore)} ` +
        `(${r.menuShown.toFixed(1)} frames shown/s), ` +
        `play ${pct(r.core)} of a core; ${r.passes.toFixed(1)} passes/s, ${r.shown.toFixed(1)} frames shown/s; ` +
        `period median ${r.median.toFixed(2)} ms, p95 ${r.p95.toFixed(2)} ms (${(r.p95 / r.median).toFixed(2)} x), ` +
        `awake ${r.awake.toFixed(2)} ms; sound ran dry ${r.gaps} times since the start; ` +
        `the engine's floor ${pct(r.floor)} (play ${(r.core / r.floor).toFixed(2)} x)`;
}

// The desktop game at DELAY 30, scale 2, standing still, as bench-window
// measures it: its share of a core, the median of the runs.
function desktopShare(game, benchSave) {
    const script = path.join(path.dirname(new URL(import.meta.url).pathname), 'window-bench.sh');
    const out = execFileSync(script, [game, benchSave, String(PLAY_MS / 1000), String(RUNS)], {
        env: { ...process.env, CASES: 'linux:640x480:30:2', SCREENS: '' }, encoding: 'utf8',
    });
    const row = out.slice(out.indexOf('median of')).split('\n').find((line) => line.startsWith('linux'));
    return Number(row.trim().split(/\s+/)[12]) / 100;
}

const site = await serveZip(process.argv[2]);
const download = sizes(site.root);
console.log(`load before: ${fs.readFileSync('/proc/loadavg', 'utf8').split(' ').slice(0, 3).join(' ')}`);
const summary = {};
try {
    for (const engine of engines) {
        const results = [];
        for (let i = 0; i < RUNS; i++) {
            results.push({ ...await run(engine, site), floor: await floorShare(engine, site) });
            console.log(`${engine} run ${i + 1}: ${describe(results.at(-1))}`);
        }
        const all = {};
        for (const key of Object.keys(results[0]))
            all[key] = median(results.map((r) => r[key]));
        summary[engine] = all;
    }
} finally {
    site.close();
}
let desktop = null;
if (process.argv[4])
    desktop = desktopShare(process.argv[4], process.argv[5]);
console.log(`load after: ${fs.readFileSync('/proc/loadavg', 'utf8').split(' ').slice(0, 3).join(' ')}`);
console.log(`medians of ${RUNS} runs:`);
for (const [engine, all] of Object.entries(summary))
    console.log(`${engine}: ${describe(all)}` +
        (desktop ? `; play ${(all.core / desktop).toFixed(1)} x the desktop game` : ''));
if (desktop)
    console.log(`desktop game at 2x: ${pct(desktop)} of a core`);
let total = 0;
for (const [name, size] of Object.entries(download)) {
    console.log(`${name}: ${size.raw} bytes, ${size.gzip} gzipped`);
    total += size.gzip;
}
console.log(`all: ${total} bytes gzipped`);
