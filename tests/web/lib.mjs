// Helpers for driving Fotonar's browser build in Debian's Chromium, Firefox ESR and WebKitGTK, as
// a person would: a local server for build-web/, the single file from the disk, a browser of its
// own for each engine (puppeteer.mjs, webkit.mjs), clicks on the controls and pixels of
// screenshots.

import crypto from 'node:crypto';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import {pathToFileURL} from 'node:url';
import {PNG} from 'pngjs';
import * as puppeteer from './puppeteer.mjs';
import * as webkit from './webkit.mjs';

export const WEB_DIR = path.resolve(process.env.FOTONAR_WEB ?? 'build-web');
const SINGLE_DIR = `${WEB_DIR}-single`; // beside build-web/, with the single file fotonar-VERSION.html
export const WEB_FILE = process.env.FOTONAR_WEB_FILE ?? path.join(SINGLE_DIR,
    (fs.existsSync(SINGLE_DIR) && fs.readdirSync(SINGLE_DIR).find((name) => /^fotonar-.*\.html$/.test(name))) || 'fotonar-VERSION.html');

export const GREY = [192, 192, 192];
export const WHITE = [255, 255, 255];
export const DARK = [64, 64, 64];
export const LIGHT_GREEN = [192, 255, 192];
export const GREEN = [0, 255, 0];
export const WORKSPACE = [128, 128, 128];
export const GLYPH = [16, 24, 16];

const TYPES = {
    '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.css': 'text/css',
    '.wasm': 'application/wasm', '.png': 'image/png', '.woff2': 'font/woff2',
    '.webmanifest': 'application/manifest+json', '.txt': 'text/plain; charset=utf-8',
};

// A static server for `dir` on 127.0.0.1, on a port of its own. With `record`, the page's
// scripts start with webkit.mjs's record of problems (after their 'use strict', which must stay
// first).
export async function serve(dir = WEB_DIR, {record = false} = {}) {
    const server = http.createServer((request, response) => {
        let file = path.join(dir, decodeURIComponent(new URL(request.url, 'http://127.0.0.1').pathname));
        if (file.endsWith('/'))
            file = path.join(file, 'index.html');
        fs.readFile(file, (error, data) => {
            if (error || !file.startsWith(dir)) {
                response.writeHead(404).end();
                return;
            }
            if (record && file.endsWith('.js') && !file.endsWith('sw.js'))
                data = String(data).replace(/^(?:\s*\/\/.*\n)*\s*(?:'use strict';\n)?/, (start) => start + webkit.RECORD);
            response.writeHead(200, {'Content-Type': TYPES[path.extname(file)] ?? 'application/octet-stream',
                'Cache-Control': 'no-cache'});
            response.end(data);
        });
    });
    await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
    return {
        url: `http://127.0.0.1:${server.address().port}/`,
        close: () => new Promise((resolve) => {
            server.close(resolve);
            server.closeAllConnections();
        }),
    };
}

// The single file opened from the disk, as serve() gives the folder: its file:// address. With
// `record`, a copy of it that first runs webkit.mjs's record of problems, in a script of its own
// that the copy's policy lets run; `edit` changes the copy's text (a file damaged on its way).
export function disk(file = WEB_FILE, {record = false, edit = null} = {}) {
    if (!record && !edit)
        return {file, url: pathToFileURL(file).href, close: async () => {}};
    let text = fs.readFileSync(file, 'utf8');
    if (record) {
        const hash = crypto.createHash('sha256').update(webkit.RECORD).digest('base64');
        text = text.replace('script-src ', `script-src 'sha256-${hash}' `)
            .replace(/<meta http-equiv="Content-Security-Policy"[^>]*>/, (policy) => `${policy}\n<script>${webkit.RECORD}</script>`);
    }
    const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'fotonar-file-'));
    const copy = path.join(dir, path.basename(file));
    fs.writeFileSync(copy, edit ? edit(text) : text);
    return {file: copy, url: pathToFileURL(copy).href, close: async () => fs.rmSync(dir, {recursive: true, force: true})};
}

export const ENGINES = {
    chromium: [process.env.CHROMIUM ?? '/usr/bin/chromium'],
    firefox: [process.env.FIREFOX ?? '/usr/bin/firefox-esr'],
    webkit: ['/usr/bin/WebKitWebDriver', '/usr/bin/Xvfb', '/usr/bin/localedef',
        process.env.MINIBROWSER ?? '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser'],
};
export const available = (engine) => ENGINES[engine].every((file) => fs.existsSync(file));

// The engine's browser (WebKit's on an X server of `screen` pixels), which `open` opens in.
export async function launch(engine, {screen} = {}) {
    return engine === 'webkit' ? webkit.launch({screen}) : puppeteer.launch(engine);
}

// Opens the page (a fresh context, cache and service workers) and waits until the window is
// ready. The page collects the console's errors and warnings and the page's errors (problems),
// the requests it made, and the alerts it showed, accepted.
export async function open(browser, url, options = {}) {
    const page = await browser.open(url, options);
    await page.waitFor(() => document.documentElement.dataset.ready === 'true');
    return page;
}

// A control's box in the viewport's CSS pixels. WebKit gives the boxes inside the zoomed window
// in the window's own pixels, the zoom undone; the others give them as they are on the screen.
export async function box(page, selector) {
    return page.evaluate((s) => {
        const rect = (element) => element.getBoundingClientRect();
        const {x, y, width, height} = rect(document.querySelector(s));
        const window = rect(document.getElementById('window'));
        const stage = rect(document.getElementById('stage'));
        const k = 820 * Fotonar.view().zoom / window.width;
        return {x: stage.x + (x - window.x) * k, y: stage.y + (y - window.y) * k, width: width * k, height: height * k};
    }, selector);
}

export function focus(page, selector) {
    return page.evaluate((s) => document.querySelector(s).focus(), selector);
}

// The window as it is on the screen: the design's part of a shot of the viewport, in device
// pixels, with `at` reading the design's pixels through the page's fit. `zoom` and `scale` are
// the page's: the design's size on the screen, and device pixels a pixel of the design.
export async function shot(page) {
    const {zoom, left, top, density, width, height} = await page.evaluate(() =>
        ({...Fotonar.view(), width: window.innerWidth, height: window.innerHeight}));
    const whole = PNG.sync.read(await page.screenshot(width, height));
    const s = zoom * density;
    const png = new PNG({width: Math.round(820 * s), height: Math.round(580 * s)});
    PNG.bitblt(whole, png, Math.round(left * density), Math.round(top * density), png.width, png.height, 0, 0);
    Object.assign(png, {zoom, scale: s});
    png.at = (x, y) => { // the middle of the design's pixel (x, y)
        const i = (Math.floor((y + 0.5) * s) * png.width + Math.floor((x + 0.5) * s)) * 4;
        return [png.data[i], png.data[i + 1], png.data[i + 2]];
    };
    return png;
}

// Options are clicked near their left edge, on their round button; the rest in their middle.
async function point(page, name) {
    const {x, y, width, height} = await box(page, `#${name}`);
    return [name.startsWith('op') ? x + 6 : x + width / 2, y + height / 2];
}

export async function click(page, name) {
    await page.click(...await point(page, name));
}

export async function tap(page, name) {
    await page.tap(...await point(page, name));
}

// How many runs the page has started.
export function runs(page) {
    return page.evaluate(() => window.Fotonar.runs);
}

// Clicks Start and waits until its run has ended.
export async function run(page) {
    const before = await runs(page);
    await click(page, 'cmdStart');
    await idle(page, before);
}

// Waits until more than `before` runs have started and none is going on (a tap's click, and a
// click during a run, reach the page's program some time after the input itself), then for two
// frames, so that the last picture is on the screen.
export async function idle(page, before) {
    await page.waitFor((count) => window.Fotonar.runs > count && !window.Fotonar.running, before);
    await page.evaluate(() => {
        window.fotonarShown = false;
        requestAnimationFrame(() => requestAnimationFrame(() => { window.fotonarShown = true; }));
    });
    await page.waitFor(() => window.fotonarShown);
}

// Pixels of the box (logical left, top, width, height) darker than half of full red: letters.
export function dark(png, [left, top, width, height]) {
    let count = 0;
    for (let y = top; y < top + height; ++y)
        for (let x = left; x < left + width; ++x)
            count += png.at(x, y)[0] < 128;
    return count;
}

export function same(actual, expected, what) {
    if (actual.join() !== expected.join())
        throw new Error(`${what}: expected ${expected.join()}, got ${actual.join()}`);
}
// "R,G,B" of the device pixel (x, y) of a shot.
function colourAt(png, x, y) {
    const i = (y * png.width + x) * 4;
    return [...png.data.subarray(i, i + 3)].join();
}

// A default run's picture, as the desktop's tests probe it.
export function expectDefaultRun(picture) {
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
    for (const [name, area] of [['labDetektor', [115, 66, 73, 17]], ['labSuma', [575, 66, 121, 17]],
        ['labRadiusvektory', [400, 526, 297, 17]], ['labZdroj', [470, 449, 81, 17]]])
        if (dark(picture, area) <= 30)
            throw new Error(`${name} is not written`);
    if (dark(picture, [540, 100, 220, 100]) <= 200)
        throw new Error('the spiral is not drawn');
}

// The picture drawn at its zoom, pixel for pixel: the boundary's ends (x = 50 and 760) where the
// zoom puts them, within the pen's half width; and where no text lies (the spiral, the time
// bars), nothing but the palette's own colours.
export function expectSharp(picture) {
    const s = picture.scale;
    const row = Math.floor(291.5 * s);
    const boundary = [];
    for (let x = 0; x < picture.width; ++x)
        if (colourAt(picture, x, row) === DARK.join())
            boundary.push(x);
    for (const [found, x] of [[boundary[0], 50], [boundary.at(-1), 760]])
        if (!(Math.abs(found - x * s) <= Math.ceil(s) + 2))
            throw new Error(`the boundary ends at device x = ${found}, not at ${x * s}`);
    const palette = new Set([GREY, WHITE, DARK, LIGHT_GREEN, GREEN, WORKSPACE].map((colour) => colour.join()));
    for (const [left, top, right, bottom] of [[540, 100, 760, 190], [110, 360, 430, 485]])
        for (let y = Math.ceil(top * s); y < bottom * s; ++y)
            for (let x = Math.ceil(left * s); x < right * s; ++x)
                if (!palette.has(colourAt(picture, x, y)))
                    throw new Error(`rgb(${colourAt(picture, x, y)}) at device (${x}, ${y}): blended`);
}

// The whole α (β) bitmap with its top-left corner at logical (left, top).
export function expectAlpha(png, left, top) {
    same(png.at(left + 4, top), GLYPH, "alpha's top row");
    same(png.at(left + 1, top + 5), GLYPH, "alpha's left stroke");
    same(png.at(left + 4, top + 5), WHITE, 'inside alpha');
    same(png.at(left + 12, top + 10), GLYPH, "alpha's bottom row");
}

export function expectBeta(png, left, top) {
    same(png.at(left + 4, top + 1), GLYPH, "beta's top");
    same(png.at(left + 2, top + 10), GLYPH, "beta's stem");
    same(png.at(left + 6, top + 10), WHITE, 'inside beta');
    same(png.at(left + 2, top + 21), GLYPH, "beta's foot");
}
