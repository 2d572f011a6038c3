// WebKitGTK: MiniBrowser driven by WebKitWebDriver over the plain W3C WebDriver protocol, on an
// Xvfb of its own. A driver and browser for each page, because the language (LANG, with the
// locales compiled here: the machine may have none but C) and the device pixel ratio
// (GDK_SCALE, whole numbers only) are the browser process's environment.

import {execFile, spawn} from 'node:child_process';
import fs from 'node:fs';
import net from 'node:net';
import os from 'node:os';
import path from 'node:path';
import {promisify} from 'node:util';
import {settle} from './settle.mjs';

const MINIBROWSER = process.env.MINIBROWSER ?? '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';
const KEYS = {Space: '\uE00D', Tab: '\uE004', Shift: '\uE008', ArrowRight: '\uE014', ArrowUp: '\uE013', End: '\uE010'};
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// WebDriver classic reports neither the console nor the page's errors: the test server puts
// this before the page's own scripts (tests/web/lib.mjs), and the page is asked for it.
export const RECORD = `if (!self.fotonarProblems) {
    const problems = self.fotonarProblems = [];
    for (const type of ['error', 'warn']) {
        const original = console[type];
        console[type] = (...args) => { problems.push('console ' + type + ': ' + args.join(' ')); original.apply(console, args); };
    }
    addEventListener('error', (e) => problems.push('page error: ' + (e.message || 'no ' + (e.target.src || e.target.href))), true);
    addEventListener('unhandledrejection', (e) => problems.push('page error: ' + e.reason));
    addEventListener('securitypolicyviolation', (e) => problems.push('policy: ' + e.violatedDirective + ' ' + e.blockedURI));
}
`;

export async function launch({screen = '2600x1800'} = {}) {
    const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'fotonar-webkit-'));
    await Promise.all(['cs_CZ', 'en_US'].map((name) =>
        promisify(execFile)('localedef', ['-i', name, '-f', 'UTF-8', path.join(dir, `${name}.UTF-8`)])));
    // -displayfd: the server picks a free display and tells which.
    const xvfb = spawn('Xvfb', ['-displayfd', '3', '-noreset', '-nolisten', 'tcp', '-screen', '0', `${screen}x24`],
        {stdio: ['ignore', 'ignore', 'ignore', 'pipe']});
    const display = await new Promise((resolve, reject) => {
        xvfb.stdio[3].once('data', (data) => resolve(`:${String(data).trim()}`));
        xvfb.once('exit', () => reject(new Error('Xvfb did not start')));
    });
    const env = {...process.env, DISPLAY: display, LOCPATH: dir};
    const stop = () => xvfb.kill(); // MiniBrowser goes with its display, even after a crash here
    process.once('exit', stop);
    return {
        open: (url, options) => open(env, url, options),
        close: async () => {
            process.off('exit', stop);
            stop();
            fs.rmSync(dir, {recursive: true, force: true});
        },
    };
}

async function freePort() {
    const server = net.createServer().listen(0, '127.0.0.1');
    await new Promise((resolve) => server.once('listening', resolve));
    const {port} = server.address();
    server.close();
    return port;
}

async function open(env, url, {locale = 'cs-CZ', width = 1024, height = 768, scale = 1, settled = false}) {
    const port = await freePort();
    const driver = spawn('WebKitWebDriver', [`--port=${port}`], {
        env: {...env, LANG: `${locale.replace('-', '_')}.UTF-8`, LC_ALL: '', LANGUAGE: '', GDK_SCALE: String(scale)},
        stdio: ['ignore', 'ignore', 'pipe'],
    });
    const stop = () => driver.kill();
    process.once('exit', stop);
    let stderr = '';
    driver.stderr.on('data', (data) => { stderr += data; });
    const problems = [];
    const requests = [];
    const dialogs = [];
    let base = `http://127.0.0.1:${port}`;

    async function command(method, where, body) {
        for (let attempt = 1; ; ++attempt) {
            let response;
            try {
                response = await fetch(base + where, {method, body: body && JSON.stringify(body),
                    headers: {'Content-Type': 'application/json'}, signal: AbortSignal.timeout(30000)});
            } catch (error) {
                // A script sent as an alert opened may never come back: accept the alert below.
                if (error.name !== 'TimeoutError' || attempt > 3)
                    throw error;
            }
            const {value} = response ? await response.json() : {value: {error: 'unexpected alert open'}};
            if (response?.ok)
                return value;
            if (value.error === 'unknown error' && attempt < 4 && where === '/execute/sync') {
                await sleep(100); // now and then, during a run, with no message
                continue;
            }
            if (value.error !== 'unexpected alert open')
                throw new Error(`WebDriver ${method} ${where}: ${value.error}: ${value.message}`);
            // An alert holds the page until it is accepted, as a person would.
            dialogs.push(await command('GET', '/alert/text'));
            await command('POST', '/alert/accept', {});
        }
    }
    const evaluate = (fn, ...args) => command('POST', '/execute/sync',
        {script: `return (${fn}).apply(null, arguments);`, args});

    for (let i = 0; !(await command('GET', '/status').catch((error) => i > 200 && Promise.reject(error))); ++i)
        await sleep(50); // the driver listens a moment after it starts
    const session = await command('POST', '/session', {capabilities: {alwaysMatch: {
        browserName: 'MiniBrowser', unhandledPromptBehavior: 'ignore',
        'webkitgtk:browserOptions': {binary: MINIBROWSER, args: ['--automation']},
    }}});
    base += `/session/${session.sessionId}`;
    // The window's size less its toolbar is the viewport.
    const [dx, dy] = await evaluate(() => [outerWidth - innerWidth, outerHeight - innerHeight]);
    await command('POST', '/window/rect', {x: 0, y: 0, width: width + dx, height: height + dy});
    if (settled)
        await settle(driver.pid);
    await command('POST', '/url', {url});

    // What the page has recorded and asked for so far; a reload starts both afresh.
    async function collect() {
        const [recorded, resources] = await evaluate(() => [self.fotonarProblems ?? ['no record'],
            performance.getEntriesByType('resource').map((entry) => entry.name)]);
        problems.push(...recorded);
        requests.push(...resources);
    }
    async function actions(type, steps, parameters) {
        await command('POST', '/actions', {actions: [{type, id: type, parameters, actions: steps}]});
    }

    return {
        scale, problems, requests, dialogs, evaluate,
        // Short synchronous checks in a loop: a long asynchronous script once came back as
        // "Could not parse script result".
        async waitFor(fn, arg) {
            for (const end = Date.now() + 120000; !(await evaluate(fn, arg)); await sleep(20))
                if (Date.now() > end)
                    throw new Error(`timed out waiting for ${fn}`);
        },
        // Whether WebKit's accessibility has the element that `selector` finds in `role` with
        // `name`: WebDriver classic's computed role and label. It computes no description.
        async hasAccessible(selector, role, name) {
            const element = Object.values(await command('POST', '/element', {using: 'css selector', value: selector}))[0];
            return await command('GET', `/element/${element}/computedrole`) === role
                && await command('GET', `/element/${element}/computedlabel`) === name;
        },
        description: async () => undefined,
        // No tap: WebKitGTK's WebDriver turns a touch into mouse events.
        async click(x, y) {
            await actions('pointer', [{type: 'pointerMove', x: Math.round(x), y: Math.round(y), origin: 'viewport'},
                {type: 'pointerDown', button: 0}, {type: 'pointerUp', button: 0}], {pointerType: 'mouse'});
        },
        async press(key, {shift = false} = {}) {
            const keys = shift ? [KEYS.Shift, KEYS[key]] : [KEYS[key]];
            await actions('key', [...keys.map((value) => ({type: 'keyDown', value})),
                ...keys.reverse().map((value) => ({type: 'keyUp', value}))]);
        },
        async screenshot() { // the whole viewport: lib.mjs reads only its top-left
            return Buffer.from(await command('GET', '/screenshot'), 'base64');
        },
        async reload() {
            await collect();
            await command('POST', '/refresh', {});
        },
        async close() {
            try {
                await collect();
                await command('DELETE', '');
            } finally {
                process.off('exit', stop);
                stop();
                // MiniBrowser's own complaints; GTK's notes on the X server's missing parts aside.
                problems.push(...stderr.split('\n').filter((line) => /CRITICAL|ERROR|crash/i.test(line)));
            }
        },
    };
}
