// The world board from the browser build, in one engine (TARVELLION_WEB_ENGINE):
// the page's own site answers as a board (a board server behind the test's
// static server, as behind a reverse proxy), so a game over asks whether to
// send games; the game goes to the board through the browser's fetch() and
// comes back marked on the World page, and its copy plays from the board.
import { after, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { clickElement, holdKey, openBrowser, pixels, serveZip, startBoard, until, waitFor } from './harness.mjs';

const ENGINE = process.env.TARVELLION_WEB_ENGINE || 'chromium';

const LIT = [227, 227, 227];
const GOLD = [255, 214, 64];
const YELLOW = [255, 255, 0];
// Either choice lit: the arrows that end the game-over picture may move it.
const CHOICES = { left: 220, top: 200, right: 420, bottom: 246 };
const FIRST_ROW = { left: 24, top: 100, right: 300, bottom: 113 };
const NAME_LINE = { left: 120, top: 240, right: 520, bottom: 247 };
const TABLE_ROW = { left: 120, top: 168, right: 520, bottom: 175 };
const TITLE = { left: 240, top: 40, right: 400, bottom: 48 };
const START = { left: 282, top: 212, right: 283, bottom: 213 };

let board, site, browser, page;

async function count(box, colour) {
    const bytes = await pixels(page, box);
    let n = 0;
    for (let i = 0; i < bytes.length; i += 4)
        n += bytes[i] === colour[0] && bytes[i + 1] === colour[1] && bytes[i + 2] === colour[2];
    return n;
}

describe(`The world board in ${ENGINE}`, () => {
    before(async () => {
        board = await startBoard(process.env.TARVELLION_BOARD_PROGRAM);
        site = await serveZip(process.env.TARVELLION_WEB_ZIP, board.port);
        browser = await openBrowser(ENGINE);
        page = await browser.newPage(1400, 1100);
        await page.goto(site.url);
    });

    after(async () => {
        await browser?.close();
        site?.close();
        board?.stop();
    });

    test('a game over goes to the board through fetch() and shows on the World page', async () => {
        await waitFor(page, () => document.getElementById('play').textContent === 'Click to play',
            undefined, 15000);
        await clickElement(page, '#play');
        await until(async () => await count(START, LIT) === 1, 5000, 'the menu with Start lit');
        await holdKey(page, 'Enter');
        // As fast as the game goes: the board takes a faster game, never a slower.
        for (let i = 0; i < 6; i++)
            await holdKey(page, 'Minus', 150);
        // Each screen on the way is answered once it shows: the game-over
        // picture, the question, and the name and the table when the game scored.
        const steps = [[CHOICES, LIT, 2000, 'KeyY'], [NAME_LINE, YELLOW, 40, 'Enter'],
            [TABLE_ROW, YELLOW, 40, 'ArrowRight']];
        await until(async () => {
            if (await count(FIRST_ROW, GOLD) > 40)
                return true;
            for (const [box, colour, least, key] of steps)
                if (await count(box, colour) > least) {
                    await holdKey(page, key);
                    await until(async () => await count(box, colour) <= least, 5000, `the screen after ${key}`);
                    return false;
                }
            // The World page's title while the board's answer is on its way;
            // else play or the game-over picture, which a key ends.
            if (await count(TITLE, GOLD) < 20)
                await holdKey(page, 'ArrowRight');
            return false;
        }, 60000, 'the World page with the game marked first');
        assert.deepEqual(await page.evaluate(() => window.pageErrors), []);

        await holdKey(page, 'ArrowDown');
        await holdKey(page, 'Enter');
        await until(async () => await count({ left: 200, top: 425, right: 440, bottom: 455 }, [255, 255, 255]) > 40,
            15000, "the board's copy of the game playing, labelled");
    });
});
