// The browser build in each of Debian's engines, through tests/web's engine layer (headless
// Chromium over CDP, headless Firefox ESR over WebDriver BiDi, WebKitGTK's MiniBrowser on a
// private Xvfb through WebKitWebDriver), from a local server:
// - the time from navigation to the window's first picture with a cold cache (a fresh context,
//   profile or session each load, navigated once the browser's new window has settled:
//   tests/web/settle.mjs), and the same for the single file from the disk;
// - pairs of (the pauses of one run alone, a whole run), in turn one and the other first, as
//   fotonar-bench measures the desktop (bench/table.mjs asks for them at each size);
// - whether whole runs get slower as they follow one another on one page (the last five of 20
//   against the first five, five times).
// Usage: node bench/web/bench.mjs   (FOTONAR_ENGINES=chromium,firefox,webkit by default; the
// loads and the runs in a row; make bench runs it, and bench/table.mjs for the pairs)

import {fileURLToPath} from 'node:url';
import {available, disk, launch, open, serve} from '../../tests/web/lib.mjs';

export const engines = (process.env.FOTONAR_ENGINES ?? 'chromium,firefox,webkit').split(',').filter(available);
export const median = (values) => [...values].sort((a, b) => a - b)[values.length >> 1];
const mean = (values) => values.reduce((a, b) => a + b, 0) / values.length;
const ms = (value) => `${value.toFixed(1)} ms`;

// The page measures on its own, undisturbed; it is asked every half second whether it is done.
async function measure(page, start, arg) {
    await page.evaluate(start, arg);
    while (!(await page.evaluate(() => window.benchResult !== undefined)))
        await new Promise((resolve) => setTimeout(resolve, 500));
    return page.evaluate(() => window.benchResult);
}

// Pairs of (the pauses of one run alone, a whole run) at `slowDown`, measured inside the page,
// with the frames each run showed and the page's refresh interval.
export function runPairs(page, slowDown, pairs) {
    return measure(page, ({count, slow}) => {
        window.benchResult = undefined;
        (async () => {
            window.Fotonar.setField('nSpomaleni', slow);
            const measured = {pause: [], run: [], ratio: [], frames: [], frameMs: window.Fotonar.frameInterval()};
            for (let i = 0; i < count; ++i) {
                const runFirst = i % 2 === 1;
                const pauseBefore = runFirst ? 0 : window.Fotonar.timePauses();
                const frames = window.Fotonar.frames();
                const run = await window.Fotonar.timeRun();
                measured.frames.push(window.Fotonar.frames() - frames);
                const pause = runFirst ? window.Fotonar.timePauses() : pauseBefore;
                measured.pause.push(pause);
                measured.run.push(run);
                measured.ratio.push(run / pause);
            }
            window.benchResult = measured;
        })();
    }, {count: pairs, slow: slowDown});
}

// The time to the first picture, from the server and the single file from the disk.
async function loads(browser, engine, server) {
    const count = 9;
    for (const [url, from] of [[server.url, 'cold cache'], [disk().url, 'cold cache, the single file from the disk']]) {
        const firstPicture = [];
        for (let i = 0; i < count; ++i) {
            const page = await open(browser, url, {settled: true});
            firstPicture.push(await page.evaluate(() => performance.getEntriesByName('fotonar-ready')[0].startTime));
            await page.close();
        }
        console.log(`${engine}: load to first picture, ${from}, median of ${count}: ${ms(median(firstPicture))} ` +
            `(min ${ms(Math.min(...firstPicture))}, max ${ms(Math.max(...firstPicture))})`);
    }
}

// The machine's own speed steps now and then (the same pauses take 40 ms, then 65), which one
// set of 20 runs takes for runs slowing each other down: several sets, and their median.
async function runsInARow(engine, page) {
    const sets = [];
    for (let set = 0; set < 5; ++set) {
        const runs = await measure(page, (count) => {
            window.benchResult = undefined;
            (async () => {
                window.Fotonar.setField('nSpomaleni', '1');
                const times = [];
                for (let i = 0; i < count; ++i)
                    times.push(await window.Fotonar.timeRun());
                window.benchResult = times;
            })();
        }, 20);
        sets.push({first: mean(runs.slice(0, 5)), last: mean(runs.slice(-5))});
    }
    const lastToFirst = sets.map((set) => set.last / set.first);
    const middle = sets[lastToFirst.indexOf(median(lastToFirst))];
    console.log(`${engine}: 20 runs in a row, 5 times: last five against first five ` +
        `${lastToFirst.map((ratio) => ratio.toFixed(3)).join(', ')}; median ` +
        `${median(lastToFirst).toFixed(3)} (${ms(middle.first)}, then ${ms(middle.last)})`);
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
    const server = await serve();
    try {
        for (const engine of engines) {
            const browser = await launch(engine);
            try {
                await loads(browser, engine, server);
                const page = await open(browser, server.url, {settled: true, width: 820, height: 580});
                await runsInARow(engine, page);
                await page.close();
            } finally {
                await browser.close();
            }
        }
    } finally {
        await server.close();
    }
}
