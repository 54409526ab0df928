// The browser build measured in headless Chromium (`make bench-web`): the
// download (gzipped sizes of what a player fetches), the time from the page
// load to the menu's first frame with an immediate click on Click to play,
// and 10 s of play at the default DELAY 30: the frame period (between the
// game's frame sleeps, seen as the page's setTimeout calls that Asyncify
// makes for them), the time from waking to the next sleep (the pass and the
// wait's last spin), and the browser's share of a core (all its processes,
// from /proc). Three runs; medians of each figure.
// Usage: node web-bench.mjs ZIP NODE_DIR
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';

process.env.TARVELLION_WEB_NODE = path.resolve(process.argv[3]);
const { launchBrowser, serveZip, waitFor, clickAt } = await import('../tests/web/harness.mjs');

const RUNS = 3;
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

// Processor ticks used so far by every descendant of the process: the
// browser this script launched and its helpers.
function treeTicks(root) {
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
        for (let p = parents.get(pid) ?? 0; p > 1; p = parents.get(p) ?? 0)
            if (p === root) {
                total += used;
                break;
            }
    }
    return total;
}

function sizes(root) {
    const result = {};
    for (const name of ['tarvellion.wasm', 'tarvellion.js', 'tarvellion.data', 'index.html', 'page.js', 'page.css']) {
        const bytes = fs.readFileSync(path.join(root, name));
        result[name] = { raw: bytes.length, gzip: zlib.gzipSync(bytes, { level: 9 }).length };
    }
    return result;
}

async function run(site) {
    const browser = await launchBrowser();
    const page = await browser.newPage({ viewport: { width: 1400, height: 1100 } });
    await page.addInitScript(() => {
        window.frameSleeps = [];
        window.frameWakes = [];
        const plain = window.setTimeout;
        window.setTimeout = function (callback, ms, ...rest) {
            if (ms >= 10) {
                window.frameSleeps.push(performance.now());
                const inner = callback;
                callback = function (...args) {
                    window.frameWakes.push(performance.now());
                    return inner.apply(this, args);
                };
            }
            return plain.call(this, callback, ms, ...rest);
        };
    });
    await page.goto(site.url);
    await waitFor(page, () => !document.getElementById('play').disabled, undefined, 15000);
    const ready = await page.evaluate(() => performance.now());
    await page.click('#play');
    await waitFor(page, () => {
        const p = document.getElementById('canvas').getContext('2d').getImageData(282, 212, 1, 1).data;
        return p[0] === 192 && p[1] === 192;
    }, undefined, 15000);
    const menu = await page.evaluate(() => performance.now());

    await clickAt(page, 320, 212);
    await page.waitForTimeout(1000);
    const pid = process.pid;
    const from = await page.evaluate(() => performance.now());
    const ticksBefore = treeTicks(pid);
    await page.waitForTimeout(PLAY_MS);
    const ticksAfter = treeTicks(pid);
    const to = await page.evaluate(() => performance.now());
    const { sleeps, wakes } = await page.evaluate(({ from, to }) => ({
        sleeps: window.frameSleeps.filter((t) => t >= from && t <= to),
        wakes: window.frameWakes.filter((t) => t >= from && t <= to),
    }), { from, to });
    await browser.close();

    const periods = sleeps.slice(1).map((t, i) => t - sleeps[i]);
    const awake = wakes.map((w) => sleeps.find((s) => s > w) - w).filter((d) => d >= 0);
    return {
        ready, menu, periods: periods.length,
        median: median(periods), p95: percentile(periods, 0.95), awake: median(awake),
        core: ((ticksAfter - ticksBefore) / TICKS_PER_SECOND) / ((to - from) / 1000),
    };
}

const site = await serveZip(process.argv[2]);
const results = [];
for (let i = 0; i < RUNS; i++) {
    const r = await run(site);
    results.push(r);
    console.log(`run ${i + 1}: ready ${r.ready.toFixed(0)} ms, menu ${r.menu.toFixed(0)} ms; ` +
        `${r.periods} frames, period median ${r.median.toFixed(2)} ms, p95 ${r.p95.toFixed(2)} ms, ` +
        `awake ${r.awake.toFixed(2)} ms; browser ${(r.core * 100).toFixed(1)} % of a core`);
}
const all = (key) => median(results.map((r) => r[key]));
console.log(`medians: page load to Click to play ${all('ready').toFixed(0)} ms, to the menu's first frame ` +
    `${all('menu').toFixed(0)} ms; frame period ${all('median').toFixed(2)} ms (p95 ${all('p95').toFixed(2)} ms) ` +
    `against DELAY 30 + ${all('awake').toFixed(2)} ms awake; browser ${(all('core') * 100).toFixed(1)} % of a core`);
let total = 0;
for (const [name, size] of Object.entries(sizes(site.root))) {
    console.log(`${name}: ${size.raw} bytes, ${size.gzip} gzipped`);
    total += size.gzip;
}
console.log(`all: ${total} bytes gzipped`);
site.close();
