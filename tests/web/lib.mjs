// Helpers for driving Fotonar's browser build in Debian's headless Chromium, as a person would:
// a local server for build-web/, a browser of its own for each test, clicks on the controls and
// pixels of screenshots.

import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import {PNG} from 'pngjs';
import puppeteer from 'puppeteer-core';

export const WEB_DIR = path.resolve(process.env.FOTONAR_WEB ?? 'build-web');
export const CHROMIUM = process.env.CHROMIUM ?? '/usr/bin/chromium';

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

// A static server for `dir` on 127.0.0.1, on a port of its own; it remembers what it was asked.
export async function serve(dir = WEB_DIR) {
    const requests = [];
    const server = http.createServer((request, response) => {
        const url = new URL(request.url, 'http://127.0.0.1');
        requests.push(url.pathname);
        let file = path.join(dir, decodeURIComponent(url.pathname));
        if (!file.startsWith(dir)) {
            response.writeHead(403).end();
            return;
        }
        if (file.endsWith('/'))
            file = path.join(file, 'index.html');
        fs.readFile(file, (error, data) => {
            if (error) {
                response.writeHead(404).end();
                return;
            }
            response.writeHead(200, {'Content-Type': TYPES[path.extname(file)] ?? 'application/octet-stream',
                'Cache-Control': 'no-cache'});
            response.end(data);
        });
    });
    await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
    const sockets = new Set();
    server.on('connection', (socket) => {
        sockets.add(socket);
        socket.on('close', () => sockets.delete(socket));
    });
    return {
        url: `http://127.0.0.1:${server.address().port}/`,
        requests,
        close: () => new Promise((resolve) => {
            for (const socket of sockets)
                socket.destroy();
            server.close(resolve);
        }),
    };
}

// A headless Chromium of its own, with a fresh profile, that reaches nothing on the network.
export async function launch() {
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'fotonar-chromium-'));
    const browser = await puppeteer.launch({
        executablePath: CHROMIUM,
        headless: true,
        userDataDir: profile,
        args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
            '--disable-background-networking', '--disable-component-update', '--disable-sync',
            '--disable-default-apps', '--disable-extensions', '--mute-audio'],
    });
    const close = browser.close.bind(browser);
    browser.close = async () => {
        await close();
        fs.rmSync(profile, {recursive: true, force: true});
    };
    return browser;
}

// Opens the page in a fresh context of `browser` (its own cache and service workers) and waits
// until the window is ready. Collects the console's
// errors, the page's errors and every request it made.
export async function open(browser, url,
    {locale = 'cs-CZ', width = 1024, height = 768, scale = 1, touch = false} = {}) {
    const context = await browser.createBrowserContext();
    const page = await context.newPage();
    const problems = [];
    const requests = [];
    page.on('console', (message) => {
        if (message.type() === 'error' || message.type() === 'warn')
            problems.push(`console ${message.type()}: ${message.text()}`);
    });
    page.on('pageerror', (error) => problems.push(`page error: ${error.message}`));
    page.on('request', (request) => requests.push(request.url()));
    page.on('dialog', (dialog) => {
        page.dialogs = [...(page.dialogs ?? []), dialog.message()];
        dialog.accept();
    });
    const session = await page.createCDPSession();
    await session.send('Emulation.setLocaleOverride', {locale});
    await page.setViewport({width, height, deviceScaleFactor: scale, hasTouch: touch});
    await page.goto(url, {waitUntil: 'load'});
    await page.waitForFunction(() => document.documentElement.dataset.ready === 'true');
    return Object.assign(page, {problems, requests, scale, context});
}

// The window's client area as it is on the screen, in the page's device pixels.
export async function shot(page, fitted = 1) {
    const png = PNG.sync.read(await page.screenshot(
        {clip: {x: 0, y: 0, width: 820 * fitted, height: 580 * fitted}}));
    png.at = (x, y) => { // logical (x, y) of the design, at the page's scale
        const s = page.scale * fitted;
        const i = (Math.round(y * s) * png.width + Math.round(x * s)) * 4;
        return [png.data[i], png.data[i + 1], png.data[i + 2]];
    };
    return png;
}

export async function click(page, name) {
    const box = await (await page.$(`#${name}`)).boundingBox();
    const x = name.startsWith('op') ? box.x + 6 : box.x + box.width / 2;
    await page.mouse.click(x, box.y + box.height / 2);
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

// Waits until more than `before` runs have started and none is going on. (A tap's click, and a
// click during a run, reach the page's program some time after the input itself.)
export async function idle(page, before) {
    await page.waitForFunction((count) => window.Fotonar.runs > count && !window.Fotonar.running,
        {polling: 20, timeout: 120000}, before);
    await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));
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
