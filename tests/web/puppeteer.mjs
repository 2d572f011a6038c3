// Chromium over CDP and Firefox ESR over WebDriver BiDi, both through puppeteer-core.

import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';
import {settle} from './settle.mjs';

// Firefox must not reach the network on its own: no updates, telemetry, captive portal or
// connectivity checks, safe browsing, remote settings or studies; and what slips past those
// goes to a proxy that is not there (the page's own server, on loopback, is reached directly).
const FIREFOX_PREFS = {
    'app.update.auto': false, 'app.update.enabled': false, 'app.normandy.enabled': false,
    'toolkit.telemetry.enabled': false, 'toolkit.telemetry.unified': false,
    'toolkit.telemetry.server': '', 'datareporting.policy.dataSubmissionEnabled': false,
    'network.captive-portal-service.enabled': false, 'network.connectivity-service.enabled': false,
    'browser.safebrowsing.provider.mozilla.updateURL': '', 'browser.safebrowsing.update.enabled': false,
    'services.settings.server': 'http://127.0.0.1:9/', 'browser.region.network.url': '',
    'extensions.systemAddon.update.enabled': false, 'browser.ping-centre.telemetry': false,
    'network.dns.disablePrefetch': true, 'network.prefetch-next': false,
    'network.proxy.type': 1, 'network.proxy.http': '127.0.0.1', 'network.proxy.http_port': 9,
    'network.proxy.ssl': '127.0.0.1', 'network.proxy.ssl_port': 9,
    'network.proxy.no_proxies_on': '127.0.0.1', 'network.proxy.allow_hijacking_localhost': false,
    // A tap reaches Firefox as two commands, the touch and its release; on a busy machine the
    // release can come later than the 300 ms within which a touch counts as a tap and clicks.
    'apz.max_tap_time': 10000,
};

export async function launch(engine) {
    const firefox = engine === 'firefox';
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), `fotonar-${engine}-`));
    const browser = await puppeteer.launch(firefox ? {
        browser: 'firefox', protocol: 'webDriverBiDi', headless: true, userDataDir: profile,
        executablePath: process.env.FIREFOX ?? '/usr/bin/firefox-esr', extraPrefsFirefox: FIREFOX_PREFS,
    } : {
        executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium', headless: true, userDataDir: profile,
        // The page asks for WebGL to learn which renderer it would get; on a machine without a
        // GPU, Chromium warns that its software WebGL wants this flag.
        args: ['--no-sandbox', '--disable-gpu', '--enable-unsafe-swiftshader', '--disable-quic', '--no-first-run',
            '--disable-background-networking', '--disable-component-update', '--disable-sync',
            '--disable-default-apps', '--disable-extensions', '--mute-audio'],
    });
    return {
        open: (url, options) => open(browser, firefox, url, options),
        close: async () => {
            await browser.close();
            fs.rmSync(profile, {recursive: true, force: true});
        },
    };
}

// A fresh context of `browser` (its own cache and service workers) for each page.
async function open(browser, firefox, url,
    {locale = 'cs-CZ', width = 1024, height = 768, scale = 1, touch = false, settled = false}) {
    const context = await browser.createBrowserContext();
    if (firefox) // BiDi's own emulation, which puppeteer does not wrap yet
        await context.userContext.browser.session.send('emulation.setLocaleOverride',
            {locale, userContexts: [context.userContext.id]});
    const page = await context.newPage();
    const problems = [];
    const requests = [];
    const dialogs = [];
    page.on('console', (message) => {
        if (message.type() === 'error' || message.type() === 'warn')
            problems.push(`console ${message.type()}: ${message.text()}`);
    });
    page.on('pageerror', (error) => problems.push(`page error: ${error.message}`));
    page.on('request', (request) => requests.push(request.url()));
    page.on('dialog', (dialog) => {
        dialogs.push(dialog.message());
        dialog.accept();
    });
    if (!firefox)
        await (await page.createCDPSession()).send('Emulation.setLocaleOverride', {locale});
    await page.setViewport({width, height, deviceScaleFactor: scale, hasTouch: touch});
    if (settled)
        await settle(browser.process().pid);
    await page.goto(url, {waitUntil: 'load'});
    const box = async (selector) => (await page.$(selector)).boundingBox();
    return {
        scale, problems, requests, dialogs,
        evaluate: (fn, ...args) => page.evaluate(fn, ...args),
        waitFor: (fn, arg) => page.waitForFunction(fn, {polling: 20, timeout: 120000}, arg),
        box,
        async click(x, y) {
            await page.mouse.click(x, y);
        },
        async tap(x, y) {
            await page.touchscreen.tap(x, y);
        },
        async press(key, {shift = false} = {}) {
            if (shift)
                await page.keyboard.down('Shift');
            await page.keyboard.press(key === 'Space' ? ' ' : key); // BiDi knows Space only as ' '
            if (shift)
                await page.keyboard.up('Shift');
        },
        // Whether the browser's accessibility tree has the element that `selector` finds in
        // `role` with `name` (any name where it is empty): Chromium's through CDP, Firefox's
        // through BiDi's accessibility locator.
        async hasAccessible(selector, role, name) {
            const found = await page.$(`::-p-aria([role="${role}"]${name ? `[name="${name}"]` : ''})`);
            return Boolean(found) && found.evaluate((element, s) => element.matches(s), selector);
        },
        // The accessible description that the browser computed, where its protocol tells it: CDP.
        async description(selector) {
            return firefox ? undefined : (await page.accessibility.snapshot({root: await page.$(selector)})).description;
        },
        // Within the viewport: a shot beyond it resizes the page for a moment, and the program
        // fits its picture to what may be a 1 px wide window.
        screenshot: (clipWidth, clipHeight) =>
            page.screenshot({clip: {x: 0, y: 0, width: clipWidth, height: clipHeight}, captureBeyondViewport: false}),
        reload: () => page.reload({waitUntil: 'load'}),
        close: () => context.close(),
    };
}
