// The browser build on a phone, in Chromium's phone emulation (touch,
// 390 x 844, 3 device pixels a CSS pixel), driven as the page tests drive it
// (tests/web/harness.mjs): the time from a touch on the steering, and from the
// arrow key, to the first frame that shows the figure of a new game moved
// (TRIALS each, 10 by default); then, after one visit, with the server
// stopped, a reload from the service worker's kept files: the page's load to
// the Play button ready, and the tap on Play to the menu's first frame. With
// SHOTS=DIR it also leaves pictures of the page in play, held upright and
// turned (the README's). Run by hand after `make web`:
// Usage: node bench/phone-bench.mjs ZIP NODE_DIR
import path from 'node:path';

process.env.TARVELLION_WEB_NODE = path.resolve(process.argv[3]);
const { colourAt, holdKey, openBrowser, serveZip, touchScreen, until, wait, waitFor } =
    await import('../tests/web/harness.mjs');

const TRIALS = Number(process.env.TRIALS || 10);
const PHONE = { width: 390, height: 844, isMobile: true, hasTouch: true, deviceScaleFactor: 3 };
const START = [320, 212], CONTINUE = [320, 182];

const site = await serveZip(process.argv[2]);
const browser = await openBrowser('chromium');
const page = await browser.newPage(390, 844);
await page.puppeteer.setViewport(PHONE);
const { placeOf, fingers, tap } = await touchScreen(page);

const menuUp = async () => [192, 227].includes((await colourAt(page, 282, 212))[1]);

// A new game, a press, and the first frame whose figure box differs from the
// one before the press; back to the menu after.
async function firstMove(press, release) {
    await tap(START);
    await until(async () => !await menuUp(), 5000, 'play');
    await wait(700);
    await page.evaluate(() => {
        const copy = document.createElement('canvas').getContext('2d', { willReadFrequently: true });
        const figure = () => {
            copy.drawImage(document.getElementById('canvas'), 300, 224, 40, 32, 0, 0, 40, 32);
            return copy.getImageData(0, 0, 40, 32).data.join();
        };
        const still = figure();
        window.moved = new Promise((resolve) => ['pointerdown', 'keydown'].forEach((name) =>
            addEventListener(name, (e) => {
                const look = (now) => figure() === still ? requestAnimationFrame(look) : resolve(now - e.timeStamp);
                requestAnimationFrame(look);
            }, { once: true, capture: true })));
    });
    await press();
    const ms = await page.evaluate(() => window.moved);
    await wait(100);
    await release();
    await until(menuUp, 2000, 'the menu');
    return ms;
}

function summary(values) {
    const sorted = [...values].sort((a, b) => a - b);
    return `median ${Math.round(sorted[Math.floor(sorted.length / 2)])} ms, ` +
        `${Math.round(sorted[0])} - ${Math.round(sorted[sorted.length - 1])} ms ` +
        `(${values.map(Math.round).join(', ')})`;
}

try {
    await page.goto(site.url);
    await waitFor(page, () => !document.getElementById('play').disabled, undefined, 15000);
    await tap('#play');
    await until(menuUp, 5000, 'the menu');

    const right = '#steer [data-dx="1"][data-dy="0"]';
    const touched = [], keyed = [];
    for (let trial = 0; trial < TRIALS; trial++) {
        touched.push(await firstMove(async () => fingers('touchStart', await placeOf(right)), async () => {
            await fingers('touchEnd');
            await tap('#menu');
        }));
        keyed.push(await firstMove(() => page.keyDown('ArrowRight'), async () => {
            await page.keyUp('ArrowRight');
            await holdKey(page, 'Escape');
        }));
    }
    console.log(`touch on the steering to the figure's first move: ${summary(touched)}`);
    console.log(`arrow key to the figure's first move: ${summary(keyed)}`);

    if (process.env.SHOTS) {
        await tap(CONTINUE);
        await until(async () => !await menuUp(), 2000, 'play');
        await page.puppeteer.screenshot({ path: `${process.env.SHOTS}/phone-portrait.png`,
            clip: { x: 0, y: 0, width: 390, height: 844, scale: 1 / 3 } });
        await page.puppeteer.setViewport({ ...PHONE, width: 844, height: 390 });
        await wait(300);
        await page.puppeteer.screenshot({ path: `${process.env.SHOTS}/phone-landscape.png`,
            clip: { x: 0, y: 0, width: 844, height: 390, scale: 1 / 3 } });
        await page.puppeteer.setViewport(PHONE);
    }

    await waitFor(page, () => navigator.serviceWorker.ready.then((r) => r.active.state === 'activated'), undefined, 15000);
    site.close();
    await page.reload();
    await waitFor(page, () => !document.getElementById('play').disabled, undefined, 5000);
    const ready = await page.evaluate(() => performance.now());
    const menuAt = page.evaluate(() => new Promise((resolve) => {
        let tapped;
        addEventListener('click', (e) => { tapped = e.timeStamp; }, { capture: true, once: true });
        const copy = document.createElement('canvas').getContext('2d', { willReadFrequently: true });
        const look = (now) => {
            copy.drawImage(document.getElementById('canvas'), 282, 212, 1, 1, 0, 0, 1, 1);
            if (tapped && copy.getImageData(0, 0, 1, 1).data[1] === 192)
                resolve(now - tapped);
            else
                requestAnimationFrame(look);
        };
        requestAnimationFrame(look);
    }));
    await tap('#play');
    console.log(`from the kept files, server stopped: page load to Play ready <= ${Math.round(ready)} ms ` +
        `(polled every 50 ms), tap on Play to the menu's first frame ${Math.round(await menuAt)} ms`);
} finally {
    await browser.close();
    site.close();
}
