// Fotonar's browser build in Chromium, Firefox ESR and WebKitGTK (FOTONAR_ENGINES, by default all
// three; run.sh ENGINE runs one), both the folder from a local server and the single file from
// the disk: the window as on the desktop, the default run's picture probed as the desktop's tests
// probe it, the decimal mark of the browser's language, the queue of what is done during a run,
// the keyboard, touch, high density, a small viewport, Konec and a run-time error; the folder
// offline once it has been visited, and the single file damaged. No page may log an error or a
// warning, or ask anything of another origin; the single file nothing at all beyond itself.
//
// What each engine can and cannot do here:
// - Chromium (CDP): everything; the language, density and touch are emulated.
// - Firefox (WebDriver BiDi): everything; the language through BiDi's locale override.
// - WebKitGTK (WebDriver classic, MiniBrowser): the language is the browser's LANG and the
//   density its GDK_SCALE (whole numbers only), each page in a browser of its own. No touch: its
//   WebDriver sends a touch as a mouse (pointerType "mouse", no touchstart), so that case is
//   skipped; the clicks cover the same path. MiniBrowser's window is no narrower than 447 px, so
//   the small viewport is a low one (600 x 290) rather than a narrow one, fitted to the same
//   half size. WebDriver classic reports no
//   console and no requests: the page's scripts are served with a record of console errors and
//   warnings, uncaught errors, failed loads and policy violations (webkit.mjs), the requests are
//   the page's resource timing entries, and MiniBrowser's stderr is searched for errors. The
//   single file, which no server can add the record to, is opened as a copy that runs it first.

import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import {after, before, describe, test} from 'node:test';
import {DARK, GREY, WEB_DIR, WEB_FILE, WHITE, WORKSPACE, available, box, click, dark, disk,
    expectAlpha, expectDefaultRun, expectSharp, focus, idle, launch, open, run, same, serve, shot, tap} from './lib.mjs';

assert.ok(fs.existsSync(`${WEB_DIR}/index.html`), `no ${WEB_DIR}/index.html (make web)`);
assert.ok(fs.existsSync(WEB_FILE), `no ${WEB_FILE} (make web)`);
const engines = (process.env.FOTONAR_ENGINES ?? 'chromium,firefox,webkit').split(',');

for (const engine of engines) for (const target of ['folder', 'file']) describe(`${engine}, ${target}`, () => {
    let server; // for the single file, its address on the disk
    let browser;

    before(async () => {
        assert.ok(available(engine), `${engine} is not installed`);
        server = target === 'folder' ? await serve(WEB_DIR, {record: engine === 'webkit'})
            : disk(WEB_FILE, {record: engine === 'webkit'});
        browser = await launch(engine);
    });

    after(async () => {
        await browser?.close();
        await server?.close();
    });

    // A page for test `t`, closed after it; then nothing may have gone wrong on it, and nothing
    // may have been asked of another origin, nor by the single file of anything but itself.
    async function page(t, options = {}, {url = server.url, allow = /^$/} = {}) {
        const p = await open(browser, url, options);
        t.after(async () => {
            await p.close();
            assert.deepEqual(p.problems.filter((line) => !allow.test(line)), [], 'console errors');
            const foreign = p.requests.filter((request) => (target === 'file' ? request !== url : !request.startsWith(url))
                && !request.startsWith('data:'));
            assert.deepEqual(foreign, [], 'requests beyond the origin, or the single file');
        });
        return p;
    }

    async function slowest(p) { // slow-down 6, from the keyboard
        await focus(p, '#HScroll1');
        await p.press('End');
        assert.equal(await p.evaluate(() => Fotonar.field('nSpomaleni')), '6');
    }

    test('the window at start-up, and the default run drawn as on the desktop', async (t) => {
        const p = await page(t);
        assert.equal(await p.evaluate(() => document.title), 'Fotonar světla - https://example.org/fotonar');
        const start = await shot(p);
        same(start.at(400, 300), GREY, 'background before any run');
        assert.ok(dark(start, [256, 192, 329, 30]) > 200, 'the prompt is written');
        assert.equal(await p.evaluate(() => window.labZdroj.hidden), true);
        assert.equal(await p.evaluate(() => document.activeElement.id), 'cmdStart');
        assert.deepEqual(await p.evaluate(() => ['nIndex', 'nVzdalenost', 'nSpomaleni'].map(Fotonar.field)),
            ['2', '400', '1']);

        const frames = await p.evaluate(() => Fotonar.frames());
        await run(p);
        assert.ok(await p.evaluate(() => Fotonar.frames()) > frames + 1, 'the run came frame by frame');
        expectDefaultRun(await shot(p));
        // The caption's text against its box, both as laid out: WebKit's whole-pixel scroll widths
        // of a zoomed box come out a pixel wide.
        assert.deepEqual(await p.evaluate(() => [...document.querySelectorAll('.label')].filter((label) => {
            const text = document.createRange();
            text.selectNodeContents(label);
            return text.getBoundingClientRect().width > label.getBoundingClientRect().width + 0.5;
        }).map((label) => label.id)), [], 'every caption shows whole');
    });

    // A projector's, a whiteboard's or a laptop's screen: the design as large as it goes, centred,
    // the run drawn at that zoom with the palette's own colours and nothing blended.
    const screens = engine === 'chromium' ? [[1920, 1080, 1], [1280, 800, 1], [1920, 1080, 2]] : [[1920, 1080, 1]];
    for (const [width, height, scale] of screens) {
        test(`a ${width * scale} x ${height * scale} screen at density ${scale}: the design fills it, sharp`, async (t) => {
            const p = await page(t, {width, height, scale});
            await run(p);
            const picture = await shot(p);
            const fits = Math.min(width / 820, height / 580);
            assert.ok(picture.zoom <= fits && picture.zoom > 0.98 * fits, `zoom ${picture.zoom} where ${fits} fits`);
            const {left, top} = await p.evaluate(() => Fotonar.view());
            assert.ok(Math.abs(width - 2 * left - 820 * picture.zoom) <= 1 || Math.abs(height - 2 * top - 580 * picture.zoom) <= 1,
                `centred: at (${left}, ${top})`);
            expectDefaultRun(picture);
            expectSharp(picture);
        });
    }

    test('the picture in words for a screen reader, and the run announced politely', async (t) => {
        const p = await page(t);
        // Only Chromium's protocol tells the computed description: elsewhere it is read from the
        // element that the canvas is described by.
        const description = async () => await p.description('#picture')
            ?? p.evaluate(() => document.getElementById(window.picture.getAttribute('aria-describedby')).textContent);
        assert.ok(await p.hasAccessible('#picture', 'image', 'Obraz běhu'), 'the picture, named');
        assert.match(await description(), /^Tlačítko Start zde nakreslí/);
        assert.doesNotMatch(await description(), /x = /, 'a result before any run');
        assert.ok(await p.hasAccessible('#announcement', 'status', ''), 'a polite live region');
        await run(p);
        const summary = 'Běh skončil: dráha nejkratšího času protíná rozhraní v bodě x = 436, úhel α je 58° a úhel β 25°.';
        assert.ok(await p.hasAccessible('#picture', 'image', 'Obraz běhu: index lomu 2, vzdálenost detektoru 400'));
        assert.ok((await description()).startsWith(summary), await description());
        assert.match(await description(), /sin α \/ sin β je 2,03/);
        assert.equal(await p.evaluate(() => window.announcement.textContent), summary, 'announced');
        assert.equal(await p.evaluate(() => document.activeElement.id), 'cmdStart', 'the focus stays');
    });

    for (const [locale, text] of [['cs-CZ', '1,5'], ['en-US', '1.5']]) {
        test(`index 1,5 under ${locale} is written "${text}" and runs as 1.5`, async (t) => {
            const p = await page(t, {locale});
            await click(p, 'op15');
            assert.equal(await p.evaluate(() => Fotonar.field('nIndex')), text);
            assert.equal(await p.evaluate(() => window.op15.textContent), '1,5');
            await run(p);
            same((await shot(p)).at(408, 120), WORKSPACE, 'the normal of index 1,5');
        });
    }

    test('an option and a Start clicked during a run wait for it, then give exactly one more run', async (t) => {
        const p = await page(t);
        await slowest(p);
        await click(p, 'cmdStart');
        await p.waitFor(() => Fotonar.running);
        await click(p, 'op100');
        await click(p, 'cmdStart');
        // How many runs have begun by now depends on how slow the driver's clicks were; what
        // they lead to does not.
        await idle(p, 1);
        assert.equal(await p.evaluate(() => Fotonar.runs), 2, 'exactly one more run');
        assert.equal(await p.evaluate(() => Fotonar.field('nVzdalenost')), '100');
        const picture = await shot(p);
        same(picture.at(415, 88), WHITE, "the queued run's detector");
        same(picture.at(115, 91), GREY, "the first run's detector, erased");
    });

    test('the keyboard: Space at once runs, Tab follows the layout, arrows choose', async (t) => {
        const p = await page(t);
        await p.press('Space');
        await idle(p, 0);
        same((await shot(p)).at(115, 88), WHITE, 'a run with the defaults');
        const order = [];
        for (let i = 0; i < 5; ++i) {
            await p.press('Tab');
            order.push(await p.evaluate(() => document.activeElement.closest('[id]').id));
        }
        assert.deepEqual(order, ['cmdKonec', 'op400', 'op2', 'HScroll1', 'cmdStart']);
        await p.press('Tab', {shift: true});
        assert.equal(await p.evaluate(() => document.activeElement.id), 'HScroll1', 'and back');
        await focus(p, '#op2 input');
        await p.press('ArrowRight');
        await p.press('ArrowRight'); // the frame ends at 2,5
        assert.equal(await p.evaluate(() => Fotonar.field('nIndex')), '2,5');
        assert.equal(await p.evaluate(() => document.activeElement.value), 'op25');
        await focus(p, '#HScroll1');
        await p.press('ArrowRight');
        await p.press('ArrowRight');
        await p.press('ArrowUp');
        assert.equal(await p.evaluate(() => Fotonar.field('nSpomaleni')), '2');
        assert.equal(await p.evaluate(() => window.HScroll1.getAttribute('aria-label')), 'Zpomalení');
    });

    test('touch works as a click', {skip: engine === 'webkit' && 'WebKitGTK\'s WebDriver turns a touch into a mouse click'}, async (t) => {
        const p = await page(t, {touch: true});
        await tap(p, 'op100');
        await tap(p, 'cmdStart');
        await idle(p, 0);
        same((await shot(p)).at(415, 88), WHITE, 'a run at distance 100');
    });

    test('sharp at devicePixelRatio 2: whole device pixels, no smoothing', async (t) => {
        const p = await page(t, {scale: 2, width: 820, height: 580}); // the design's size: zoom 1
        assert.deepEqual(await p.evaluate(() => [window.picture.width, window.picture.height]), [1640, 1160]);
        await run(p);
        const picture = await shot(p);
        for (const row of [580, 581, 582, 583]) // the 2 px boundary is four device rows
            same([picture.data[(row * picture.width + 1519) * 4], picture.data[(row * picture.width + 1519) * 4 + 1],
                picture.data[(row * picture.width + 1519) * 4 + 2]], DARK, `boundary, device row ${row}`);
        expectAlpha(picture, 416, 191);
        const colours = new Set();
        for (let y = 600; y < 660; ++y)
            for (let x = 400; x < 1640; ++x) {
                const i = (y * picture.width + x) * 4;
                colours.add(`${picture.data[i]},${picture.data[i + 1]},${picture.data[i + 2]}`);
            }
        assert.ok(colours.size <= 6, `${colours.size} colours under the boundary: smoothed`);
    });

    test('a small viewport shows the whole window scaled down', async (t) => {
        // MiniBrowser's window is no narrower than 447 px: there a low viewport makes it fit.
        const p = await page(t, {width: engine === 'webkit' ? 600 : 410, height: engine === 'webkit' ? 290 : 600, scale: 2});
        const {width, height} = await box(p, '#window'); // half size
        assert.deepEqual([width, height], [410, 290]);
        assert.deepEqual(await p.evaluate(() => [window.picture.width, window.picture.height]), [820, 580]);
        await run(p);
        const picture = await shot(p);
        same(picture.at(115, 88), WHITE, 'the detector, filled');
        same(picture.at(400, 291), DARK, 'boundary');
    });

    test('Konec ends the program in a tab, with a line on how to start it again', async (t) => {
        const p = await page(t);
        await click(p, 'cmdKonec');
        await p.waitFor(() => !document.getElementById('window'));
        const line = await p.evaluate(() => (window.ended.hidden ? '' : window.ended.textContent));
        assert.match(line, /Program skončil/);
        assert.match(line, /obnovením stránky/);
    });

    test('a run-time error is shown in a dialog, then the program ends', async (t) => {
        const p = await page(t);
        await p.evaluate(() => Fotonar.setField('nIndex', 'abc'));
        await click(p, 'cmdStart');
        await p.waitFor(() => !document.getElementById('window'));
        assert.equal(p.dialogs.length, 1);
        assert.match(p.dialogs[0], /^Chyba za běhu programu:\n.*abc.*\n\nProgram se ukončí\.$/s);
    });

    test('after one visit the page loads and runs with the server gone', {skip: target === 'file' && 'the folder\'s'}, async (t) => {
        const offline = await serve(WEB_DIR, {record: engine === 'webkit'});
        const p = await page(t, {}, {url: offline.url, allow: /Failed to load resource|ERR_CONNECTION_REFUSED/});
        await p.waitFor(() => navigator.serviceWorker.controller !== null);
        await offline.close();
        await p.reload();
        await p.waitFor(() => document.documentElement.dataset.ready === 'true');
        await run(p);
        same((await shot(p)).at(115, 88), WHITE, 'a run, offline');
    });

    test('the single file from a web server, as a learning platform serves it, asks for nothing else', {skip: target === 'folder' && 'the single file\'s'}, async (t) => {
        const web = await serve(path.dirname(server.file));
        t.after(web.close);
        const p = await page(t, {}, {url: web.url + path.basename(server.file)});
        await run(p);
        same((await shot(p)).at(115, 88), WHITE, 'the detector, filled');
    });

    test('a damaged single file, or one cut short, says so at start-up', {skip: target === 'folder' && 'the single file\'s'}, async (t) => {
        const at = (text) => text.indexOf('id="fotonar-core-wasm"') + 100000; // inside the module
        for (const edit of [(text) => text.slice(0, at(text)), // a download that stopped there
            (text) => text.slice(0, at(text)) + (text[at(text)] === 'A' ? 'B' : 'A') + text.slice(at(text) + 1)]) {
            const damaged = disk(WEB_FILE, {record: engine === 'webkit', edit});
            t.after(damaged.close);
            const p = await browser.open(damaged.url, {});
            await p.waitFor(() => !document.getElementById('window'));
            await p.close();
            assert.deepEqual([p.dialogs, p.problems], [['Fotonar se nepodařilo spustit:\n' +
                'Soubor s programem je poškozený nebo nebyl stažen celý. Stáhněte jej znovu.'], []]);
        }
    });
});
