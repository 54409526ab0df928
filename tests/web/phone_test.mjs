// The browser build on a phone, in Chromium's emulation (touch, 390 x 844
// turned to 844 x 390, 3 device pixels a CSS pixel): a player's path by
// touch alone, the page keeping its place under swipes and pinches, the page
// killed mid-game without pagehide, a start with the server gone. ctest runs
// it once; bench/phone-bench.mjs times the same page.
import { after, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { canvasFits, colourAt, holdKey, openBrowser, pixels, playerFile, savedGame, serveZip, touchScreen,
    until, wait, waitFor } from './harness.mjs';

const PHONE = { isMobile: true, hasTouch: true, deviceScaleFactor: 3 };
const START = [320, 212], CONTINUE = [320, 182], END = [320, 242], FIGURE = { left: 300, top: 224, right: 340, bottom: 256 };
let site, browser, page, touch, placeOf, fingers, tap;

// The Start button's fill, grey or lit; the pause label's black box.
const menuUp = async () => [192, 227].includes((await colourAt(page, 282, 212))[1]);
const paused = async () => (await pixels(page, { left: 262, top: 230, right: 272, bottom: 250 }))
    .every((v, i) => i % 4 === 3 || v === 0);
const boxes = (...ids) => page.evaluate((ids) => ids.map((id) => document.getElementById(id).getBoundingClientRect().toJSON()), ids);

async function openPhone() {
    page = await browser.newPage(390, 844);
    await page.puppeteer.setViewport({ width: 390, height: 844, ...PHONE });
    ({ cdp: touch, placeOf, fingers, tap } = await touchScreen(page));
}

describe('Tarvellion on a phone (Chromium emulation)', () => {
    before(async () => {
        site = await serveZip(process.env.TARVELLION_WEB_ZIP);
        browser = await openBrowser('chromium');
        await openPhone();
        await page.goto(site.url);
    });

    after(async () => {
        await browser?.close();
        site?.close();
    });

    test('by touch alone: tap to play, Start, steering, pause beside a held thumb, the menu', async () => {
        await waitFor(page, () => document.getElementById('play').textContent === 'Tap to play', undefined, 15000);
        await page.puppeteer.touchscreen.tap(...await placeOf('#play'));
        await until(menuUp, 5000, 'the menu');
        const [canvas, steer, pause] = await boxes('canvas', 'steer', 'pause');
        assert.ok(canvas.width >= 0.9 * 390 && Math.min(steer.top, pause.top) >= canvas.bottom && pause.height >= 48);

        await tap(START);
        await until(async () => !await menuUp(), 5000, 'play');
        await wait(500);
        const still = await pixels(page, FIGURE);
        // Chromium holds back a page's timers, the game's passes among them,
        // for 100 ms after a touch it may turn into a scroll.
        await page.evaluate(() => { window.held = new Promise((resolve) => addEventListener('pointerdown',
            (e) => setTimeout(() => resolve(performance.now() - e.timeStamp)), { once: true })); });
        await fingers('touchStart', await placeOf('#steer [data-dx="1"][data-dy="0"]'));
        await wait(300);
        await fingers('touchEnd');
        assert.ok(await page.evaluate(() => window.held) < 50, 'the touch held the game back');
        assert.notDeepEqual(await pixels(page, FIGURE), still);

        const [steerAt, pauseAt] = [await placeOf('#steer [data-dx="1"][data-dy="1"]'), await placeOf('#pause')];
        await fingers('touchStart', steerAt);
        await fingers('touchStart', steerAt, pauseAt);
        await fingers('touchEnd', steerAt);
        await until(paused, 2000, 'the pause');
        await fingers('touchEnd');
        // The game takes no keys for half a second after its pause key.
        await wait(600);
        await tap('#menu');
        await until(menuUp, 2000, 'the menu');
        await tap(CONTINUE);
        await until(async () => !await menuUp(), 2000, 'play');
    });

    test('swipes and pinches over the game leave the page where it is; turned, it refits at once', async () => {
        const url = await page.evaluate(() => location.href);
        const [x, y] = await placeOf([320, 240]);
        for (let step = 0; step <= 6; step++)
            await fingers(step ? 'touchMove' : 'touchStart', [x + 150 - step * 50, y + step * 10]);
        await fingers('touchEnd');
        await touch.send('Input.synthesizePinchGesture', { x, y, scaleFactor: 2.5 });
        await wait(300);
        assert.deepEqual(await page.evaluate(() => [location.href, scrollX, scrollY, visualViewport.scale, String(getSelection())]),
            [url, 0, 0, 1, '']);

        await page.puppeteer.setViewport({ width: 844, height: 390, ...PHONE });
        await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));
        assert.ok(await canvasFits(page));
        const [steer, canvas, actions] = await boxes('steer', 'canvas', 'actions');
        assert.ok(steer.right <= canvas.left && canvas.right <= actions.left);
    });

    test('a page killed mid-game without pagehide keeps the level-start save and the option just changed', async () => {
        await holdKey(page, 'KeyM');
        await wait(500);
        touch.send('Page.crash').catch(() => {});
        await wait(500);
        await openPhone();
        await page.goto(site.url);
        assert.equal((await savedGame(page))?.level, 1);
        assert.match(String.fromCharCode(...await playerFile(page, 'options.ini') || []), /^mute = 1$/m);
    });

    test('installable; with the server gone, a reload plays from the kept files and continues the saved game', async () => {
        await waitFor(page, () => navigator.serviceWorker.ready.then((r) => r.active.state === 'activated'), undefined, 15000);
        assert.deepEqual((await touch.send('Page.getInstallabilityErrors')).installabilityErrors, []);
        const started = (await savedGame(page)).timer;
        site.close();
        await page.reload();
        await waitFor(page, () => !document.getElementById('play').disabled);
        await tap('#play');
        await until(menuUp, 5000, 'the menu');
        await tap(CONTINUE);
        await until(async () => !await menuUp(), 2000, 'play');
        await wait(1000);
        await tap('#menu');
        await until(menuUp, 2000, 'the menu');
        await tap(END);
        await waitFor(page, () => !document.getElementById('ended').hidden);
        assert.ok((await savedGame(page)).timer > started, 'the continued game was saved');
    });
});
