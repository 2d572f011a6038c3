// Fotonar's browser build in headless Chromium: the window as on the desktop, the default run's
// picture probed as the desktop's tests probe it, the decimal mark of the browser's language,
// the queue of what is done during a run, the keyboard, touch, high density, a small viewport,
// Konec and a run-time error, and the program offline once it has been visited.

import assert from 'node:assert/strict';
import fs from 'node:fs';
import {after, before, test} from 'node:test';
import {CHROMIUM, DARK, GREEN, GREY, LIGHT_GREEN, WEB_DIR, WHITE, WORKSPACE, click, dark,
    expectAlpha, expectBeta, idle, launch, open, run, same, serve, shot} from './lib.mjs';

assert.ok(fs.existsSync(`${WEB_DIR}/index.html`), `no ${WEB_DIR}/index.html (make web)`);
assert.ok(fs.existsSync(CHROMIUM), `no ${CHROMIUM}`);

let server;
let browser;
const pages = [];

before(async () => {
    server = await serve();
    browser = await launch();
});

after(async () => {
    // Nothing went wrong on any page, and nothing was asked of another origin.
    for (const page of pages) {
        assert.deepEqual(page.problems, [], 'console errors');
        const foreign = page.requests.filter((url) => !url.startsWith(server.url) && !url.startsWith('data:'));
        assert.deepEqual(foreign, [], 'requests outside the origin');
    }
    await browser.close();
    await server.close();
});

async function page(options) {
    const opened = await open(browser, server.url, options);
    pages.push(opened);
    return opened;
}

async function slowest(page) { // slow-down 6, from the keyboard
    await page.focus('#HScroll1');
    await page.keyboard.press('End');
    assert.equal(await page.evaluate(() => Fotonar.field('nSpomaleni')), '6');
}

test('the window at start-up, and the default run drawn as on the desktop', async () => {
    const p = await page();
    assert.equal(await p.title(), 'Fotonar světla - https://example.org/fotonar');
    const start = await shot(p);
    same(start.at(400, 300), GREY, 'background before any run');
    assert.ok(dark(start, [256, 192, 329, 30]) > 200, 'the prompt is written');
    assert.equal(await p.$eval('#labZdroj', (e) => e.hidden), true);
    assert.equal(await p.evaluate(() => document.activeElement.id), 'cmdStart');
    assert.deepEqual(await p.evaluate(() => ['nIndex', 'nVzdalenost', 'nSpomaleni'].map(Fotonar.field)),
        ['2', '400', '1']);

    const frames = await p.evaluate(() => Fotonar.frames());
    await run(p);
    assert.ok(await p.evaluate(() => Fotonar.frames()) > frames + 1, 'the run came frame by frame');
    const picture = await shot(p);
    same(picture.at(61, 470), LIGHT_GREEN, 'lower medium');
    same(picture.at(400, 291), DARK, 'boundary');
    same(picture.at(51, 511), DARK, 'the first arrow');
    same(picture.at(58, 450), DARK, 'the second time bar');
    same(picture.at(656, 152), GREEN, 'resultant');
    same(picture.at(436, 120), WORKSPACE, 'normal');
    same(picture.at(115, 88), WHITE, 'detector, filled');
    same(picture.at(505, 444), WHITE, 'source');
    same(picture.at(548, 452), LIGHT_GREEN, 'labZdroj revealed');
    expectAlpha(picture, 416, 191); // over the prompt
    expectBeta(picture, 441, 391);
    for (const [name, box] of [['labDetektor', [115, 66, 73, 17]], ['labSuma', [575, 66, 121, 17]],
        ['labRadiusvektory', [400, 526, 297, 17]], ['labZdroj', [470, 449, 81, 17]]])
        assert.ok(dark(picture, box) > 30, `${name} is written`);
    assert.ok(dark(picture, [540, 100, 220, 100]) > 200, 'the spiral is drawn');
});

for (const [locale, text] of [['cs-CZ', '1,5'], ['en-US', '1.5']]) {
    test(`index 1,5 under ${locale} is written "${text}" and runs as 1.5`, async () => {
        const p = await page({locale});
        await click(p, 'op15');
        assert.equal(await p.evaluate(() => Fotonar.field('nIndex')), text);
        assert.equal(await p.$eval('#op15', (e) => e.textContent), '1,5');
        await run(p);
        same((await shot(p)).at(408, 120), WORKSPACE, 'the normal of index 1,5');
    });
}

test('an option and a Start clicked during a run wait for it, then give exactly one more run', async () => {
    const p = await page();
    await slowest(p);
    await click(p, 'cmdStart');
    await p.waitForFunction(() => Fotonar.running);
    await click(p, 'op100');
    await click(p, 'cmdStart');
    assert.equal(await p.evaluate(() => Fotonar.runs), 1, 'the Start waits for the run');
    await idle(p, 1);
    assert.equal(await p.evaluate(() => Fotonar.runs), 2, 'exactly one more run');
    assert.equal(await p.evaluate(() => Fotonar.field('nVzdalenost')), '100');
    const picture = await shot(p);
    same(picture.at(415, 88), WHITE, "the queued run's detector");
    same(picture.at(115, 91), GREY, "the first run's detector, erased");
});

test('the keyboard: Space at once runs, Tab follows the layout, arrows choose', async () => {
    const p = await page();
    await p.keyboard.press('Space');
    await idle(p, 0);
    same((await shot(p)).at(115, 88), WHITE, 'a run with the defaults');
    const order = [];
    for (let i = 0; i < 5; ++i) {
        await p.keyboard.press('Tab');
        order.push(await p.evaluate(() => document.activeElement.closest('[id]').id));
    }
    assert.deepEqual(order, ['cmdKonec', 'op400', 'op2', 'HScroll1', 'cmdStart']);
    await p.keyboard.down('Shift');
    await p.keyboard.press('Tab');
    await p.keyboard.up('Shift');
    assert.equal(await p.evaluate(() => document.activeElement.id), 'HScroll1', 'and back');
    await p.focus('#op2 input');
    await p.keyboard.press('ArrowRight');
    await p.keyboard.press('ArrowRight'); // the frame ends at 2,5
    assert.equal(await p.evaluate(() => Fotonar.field('nIndex')), '2,5');
    assert.equal(await p.evaluate(() => document.activeElement.value), 'op25');
    await p.focus('#HScroll1');
    await p.keyboard.press('ArrowRight');
    await p.keyboard.press('ArrowRight');
    await p.keyboard.press('ArrowUp');
    assert.equal(await p.evaluate(() => Fotonar.field('nSpomaleni')), '2');
    assert.equal(await p.$eval('#HScroll1', (e) => e.getAttribute('aria-label')), 'Zpomalení');
});

test('touch works as a click', async () => {
    const p = await page({touch: true});
    const box = await (await p.$('#op100')).boundingBox();
    await p.touchscreen.tap(box.x + 6, box.y + box.height / 2);
    const start = await (await p.$('#cmdStart')).boundingBox();
    await p.touchscreen.tap(start.x + start.width / 2, start.y + start.height / 2);
    await idle(p, 0);
    same((await shot(p)).at(415, 88), WHITE, 'a run at distance 100');
});

test('sharp at devicePixelRatio 2: whole device pixels, no smoothing', async () => {
    const p = await page({scale: 2});
    assert.deepEqual(await p.$eval('#picture', (c) => [c.width, c.height]), [1640, 1160]);
    await run(p);
    const picture = await shot(p);
    for (const row of [580, 581, 582, 583]) // the 2 px boundary is four device rows
        same([picture.data[(row * picture.width + 1519) * 4], picture.data[(row * picture.width + 1519) * 4 + 1],
            picture.data[(row * picture.width + 1519) * 4 + 2]], DARK, `boundary, device row ${row}`);
    expectAlpha(picture, 416, 191);
    const colours = new Set();
    for (let y = 600; y < 660; ++y)
        for (let x = 400; x < 1680; ++x) {
            const i = (y * picture.width + x) * 4;
            colours.add(`${picture.data[i]},${picture.data[i + 1]},${picture.data[i + 2]}`);
        }
    assert.ok(colours.size <= 6, `${colours.size} colours under the boundary: smoothed`);
});

test('a small viewport shows the whole window scaled down', async () => {
    const p = await page({width: 410, height: 600, scale: 2});
    const fitted = 0.5;
    const box = await (await p.$('#window')).boundingBox();
    assert.deepEqual([box.width, box.height], [410, 290]);
    assert.deepEqual(await p.$eval('#picture', (c) => [c.width, c.height]), [820, 580]);
    await run(p);
    const picture = await shot(p, fitted);
    same(picture.at(115, 88), WHITE, 'the detector, filled');
    same(picture.at(400, 291), DARK, 'boundary');
});

test('Konec ends the program in a tab, with a line on how to start it again', async () => {
    const p = await page();
    await click(p, 'cmdKonec');
    await p.waitForSelector('#window', {hidden: true});
    const line = await p.$eval('#ended', (e) => (e.hidden ? '' : e.textContent));
    assert.match(line, /Program skončil/);
    assert.match(line, /obnovením stránky/);
});

test('a run-time error is shown in a dialog, then the program ends', async () => {
    const p = await page();
    await p.evaluate(() => Fotonar.setField('nIndex', 'abc'));
    await click(p, 'cmdStart');
    await p.waitForSelector('#window', {hidden: true});
    assert.equal(p.dialogs.length, 1);
    assert.match(p.dialogs[0], /^Chyba za běhu programu:\n.*abc.*\n\nProgram se ukončí\.$/s);
});

test('after one visit the page loads and runs with the server gone', async () => {
    const offline = await serve();
    const p = await open(browser, offline.url);
    await p.evaluate(() => navigator.serviceWorker.ready);
    await p.waitForFunction(() => navigator.serviceWorker.controller !== null);
    await offline.close();
    await p.reload({waitUntil: 'load'});
    await p.waitForFunction(() => document.documentElement.dataset.ready === 'true');
    await run(p);
    same((await shot(p)).at(115, 88), WHITE, 'a run, offline');
    assert.deepEqual(p.problems.filter((line) => !/Failed to load resource|ERR_CONNECTION_REFUSED/.test(line)), []);
});
