// The browser build on a phone, in Chromium's emulation (touch, 390 x 844
// and turned to 844 x 390, three device pixels a CSS pixel): a player's path
// by touch alone - tap to play, Start, the on-screen steering, pause and the
// menu - the page keeping its place under swipes and pinches, the page
// killed mid-game with no pagehide, and a start with the server gone.
// ctest runs it once; TARVELLION_SCREENSHOTS names a folder for the
// README's pictures of the page in both orientations.
import { after, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import {
    canvasFits, colourAt, holdKey, openBrowser, pixels, playerFile, savedGame, serveZip, until,
    wait, waitFor,
} from './harness.mjs';

const SHOTS = process.env.TARVELLION_SCREENSHOTS;
const PHONE = { isMobile: true, hasTouch: true, deviceScaleFactor: 3 };
const START = [320, 212], CONTINUE = [320, 182], END = [320, 242];
// Fill of the Start button, grey or lit: the menu is up.
const menuUp = async (page) => [192, 227].includes((await colourAt(page, 282, 212))[1]);
// The game's pause label: a black box in the middle of the field.
const pausedLabel = async (page) =>
    (await pixels(page, { left: 262, top: 230, right: 272, bottom: 250 })).every((v, i) => i % 4 === 3 || v === 0);

let site, browser, page, touch;

// The centre of a page element, or of a game pixel through the canvas's scaling.
function placeOf(page, where) {
    return page.evaluate((where) => {
        const canvas = document.getElementById('canvas');
        const box = (typeof where === 'string' ? document.querySelector(where) : canvas).getBoundingClientRect();
        if (typeof where === 'string')
            return [box.left + box.width / 2, box.top + box.height / 2];
        return [box.left + (where[0] + 0.5) * box.width / canvas.width,
            box.top + (where[1] + 0.5) * box.height / canvas.height];
    }, where);
}

// Fingers down at once, by CDP: each call gives every finger still down.
async function fingers(type, ...places) {
    await touch.send('Input.dispatchTouchEvent', {
        type, touchPoints: places.map(([x, y], id) => ({ x, y, id })),
    });
}

async function tap(where) {
    const at = await placeOf(page, where);
    await fingers('touchStart', at);
    await fingers('touchEnd');
}

async function openPhone(width, height) {
    const opened = await browser.newPage(width, height);
    await opened.puppeteer.setViewport({ width, height, ...PHONE });
    return opened;
}

describe('Tarvellion on a phone (Chromium emulation)', () => {
    before(async () => {
        site = await serveZip(process.env.TARVELLION_WEB_ZIP);
        browser = await openBrowser('chromium');
        page = await openPhone(390, 844);
        touch = await page.puppeteer.createCDPSession();
        await page.goto(site.url);
    });

    after(async () => {
        await browser?.close();
        site?.close();
    });

    test('by touch alone: tap to play, Start, steering, pause beside a held thumb, the menu', async (t) => {
        await waitFor(page, () => document.getElementById('play').textContent === 'Tap to play', undefined, 15000);
        await page.puppeteer.touchscreen.tap(...await placeOf(page, '#play'));
        await until(() => menuUp(page), 5000, 'the menu');
        const layout = await page.evaluate(() => {
            const box = (id) => document.getElementById(id).getBoundingClientRect().toJSON();
            return { canvas: box('canvas'), steer: box('steer'), pause: box('pause'), width: innerWidth };
        });
        assert.ok(layout.canvas.width >= 0.9 * layout.width, `canvas ${layout.canvas.width} of ${layout.width}`);
        assert.ok(layout.steer.top >= layout.canvas.bottom && layout.pause.top >= layout.canvas.bottom);
        assert.ok(layout.steer.width >= 3 * 48 && layout.pause.height >= 48);

        // From the finger on the steering, or a key, to the first frame that
        // shows the figure moved: each from a new game's figure at rest.
        const latency = async (press) => {
            await tap(START);
            await until(async () => !await menuUp(page), 5000, 'play');
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
            const release = await press();
            const ms = await page.evaluate(() => window.moved);
            await wait(100);
            await release();
            await until(() => menuUp(page), 2000, 'the menu');
            return ms;
        };
        const right = '#steer [data-dx="1"][data-dy="0"]';
        const median = (list) => list.sort((a, b) => a - b).slice(1, -1).reduce((a, b) => a + b) / (list.length - 2);
        const touched = [], keyed = [];
        for (let trial = 0; trial < 5; trial++)
            touched.push(await latency(async () => {
                await fingers('touchStart', await placeOf(page, right));
                return async () => {
                    await fingers('touchEnd');
                    await tap('#menu');
                };
            }));
        for (let trial = 0; trial < 5; trial++)
            keyed.push(await latency(async () => {
                await page.keyDown('ArrowRight');
                return async () => {
                    await page.keyUp('ArrowRight');
                    await holdKey(page, 'Escape');
                };
            }));
        t.diagnostic(`to the figure's first move: touch ${touched.map(Math.round)} ms, keys ${keyed.map(Math.round)} ms`);
        // The steering is as quick as the keys, within a pass (30 ms) of the
        // noise of where in a pass the press falls, on the middle three.
        assert.ok(median(touched) <= median(keyed) + 30, `touch ${touched}, keys ${keyed}`);
        await tap(CONTINUE);
        await until(async () => !await menuUp(page), 2000, 'play');
        if (SHOTS)
            await page.puppeteer.screenshot({ path: `${SHOTS}/phone-portrait.png`, clip: { x: 0, y: 0, width: 390, height: 844, scale: 1 / 3 } });

        // One thumb steering, the other taps Pause: the game pauses.
        const steerAt = await placeOf(page, '#steer [data-dx="1"][data-dy="1"]');
        const pauseAt = await placeOf(page, '#pause');
        await fingers('touchStart', steerAt);
        await fingers('touchStart', steerAt, pauseAt);
        await fingers('touchEnd', steerAt);
        await until(() => pausedLabel(page), 2000, 'the pause');
        await fingers('touchEnd');
        // The game takes no keys for half a second after its pause key.
        await wait(600);
        await tap('#pause');
        await until(async () => !await pausedLabel(page), 2000, 'the pause to end');
        await wait(600);
        await tap('#menu');
        await until(() => menuUp(page), 2000, 'the menu');
        await tap(CONTINUE);
        await until(async () => !await menuUp(page), 2000, 'play');
    });

    test('swipes and pinches over the game leave the page where it is; turned, it refits at once', async () => {
        const url = await page.evaluate(() => location.href);
        const [x, y] = await placeOf(page, [320, 240]);
        await fingers('touchStart', [x + 150, y]);
        for (let step = 1; step <= 6; step++)
            await fingers('touchMove', [x + 150 - step * 50, y + step * 10]);
        await fingers('touchEnd');
        await touch.send('Input.synthesizePinchGesture', { x, y, scaleFactor: 2.5 });
        await touch.send('Input.synthesizeTapGesture', { x, y, tapCount: 2 });
        await wait(300);
        assert.deepEqual(await page.evaluate(() =>
            [location.href, scrollX, scrollY, visualViewport.scale, getSelection().toString()]),
        [url, 0, 0, 1, '']);

        await page.puppeteer.setViewport({ width: 844, height: 390, ...PHONE });
        await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));
        assert.ok(await canvasFits(page));
        const [steer, canvas, actions] = await page.evaluate(() => ['steer', 'canvas', 'actions'].map((id) => {
            const box = document.getElementById(id).getBoundingClientRect();
            return [box.left, box.right];
        }));
        assert.ok(steer[1] <= canvas[0] && canvas[1] <= actions[0], `${steer} ${canvas} ${actions}`);
        if (SHOTS)
            await page.puppeteer.screenshot({ path: `${SHOTS}/phone-landscape.png`, clip: { x: 0, y: 0, width: 844, height: 390, scale: 1 / 3 } });
    });

    test('a page killed mid-game without pagehide keeps the level-start save and the option just changed', async () => {
        await holdKey(page, 'KeyM');
        await wait(500);
        touch.send('Page.crash').catch(() => {});
        await wait(500);
        page = await openPhone(390, 844);
        await page.goto(site.url);
        assert.equal((await savedGame(page))?.level, 1);
        assert.match(String.fromCharCode(...await playerFile(page, 'options.ini') || []), /^mute = 1$/m);
    });

    test('with the server gone, a reload plays from the kept files and continues the saved game', async (t) => {
        await waitFor(page, () => navigator.serviceWorker.ready.then((r) => r.active.state === 'activated'), undefined, 15000);
        touch = await page.puppeteer.createCDPSession();
        const started = (await savedGame(page)).timer;
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
                return tapped && copy.getImageData(0, 0, 1, 1).data[1] === 192 ? resolve(now - tapped)
                    : requestAnimationFrame(look);
            };
            requestAnimationFrame(look);
        }));
        await tap('#play');
        t.diagnostic(`from the kept files: page ready ${Math.round(ready)} ms, tap to the menu ${Math.round(await menuAt)} ms`);
        await tap(CONTINUE);
        await until(async () => !await menuUp(page), 2000, 'play');
        await wait(1000);
        await tap('#menu');
        await until(() => menuUp(page), 2000, 'the menu');
        await tap(END);
        await waitFor(page, () => /saved/.test(document.getElementById('ended').hidden ? '' : document.getElementById('ended-text').textContent));
        assert.ok((await savedGame(page)).timer > started, 'the continued game was saved');
    });
});
