// The browser build in headless Chromium, from a local server: the time from navigation to the
// window's first picture with a cold cache (a fresh browser context each load), and pairs of
// (the pauses of one run alone, a whole run) at slow-down 1, in turn one and the other first,
// as fotonar-bench measures the desktop. The last line is the run/pause ratio.
// Usage: node bench/web/bench.mjs [PAIRS]   (default 31; make bench runs it)

import {launch, serve} from '../../tests/web/lib.mjs';

const pairs = Math.max(15, Number(process.argv[2] ?? 31));
const loads = 9;

function median(values) {
    return [...values].sort((a, b) => a - b)[values.length >> 1];
}

const server = await serve();
const browser = await launch();
try {
    const firstPicture = [];
    for (let i = 0; i < loads; ++i) {
        const context = await browser.createBrowserContext();
        const page = await context.newPage();
        await page.goto(server.url);
        await page.waitForFunction(() => document.documentElement.dataset.ready === 'true');
        firstPicture.push(await page.evaluate(() => performance.getEntriesByName('fotonar-ready')[0].startTime));
        await context.close();
    }
    console.log(`load to first picture, cold cache, median of ${loads}: ${median(firstPicture).toFixed(1)} ms ` +
        `(min ${Math.min(...firstPicture).toFixed(1)}, max ${Math.max(...firstPicture).toFixed(1)})`);

    const context = await browser.createBrowserContext();
    const page = await context.newPage();
    await page.setViewport({width: 1024, height: 768});
    await page.goto(server.url);
    await page.waitForFunction(() => document.documentElement.dataset.ready === 'true');
    const result = await page.evaluate(async (count) => {
        const measured = {pause: [], run: [], ratio: [], frames: 0};
        for (let i = 0; i < count; ++i) {
            const runFirst = i % 2 === 1;
            const pauseBefore = runFirst ? 0 : window.Fotonar.timePauses();
            const frames = window.Fotonar.frames();
            const run = await window.Fotonar.timeRun();
            measured.frames = window.Fotonar.frames() - frames;
            const pause = runFirst ? window.Fotonar.timePauses() : pauseBefore;
            measured.pause.push(pause);
            measured.run.push(run);
            measured.ratio.push(run / pause);
        }
        return measured;
    }, pairs);
    console.log(`slow-down 1, ${pairs} pairs: pause alone ${median(result.pause).toFixed(1)} ms, ` +
        `whole run ${median(result.run).toFixed(1)} ms (medians); frames a run: ${result.frames}`);
    console.log(`  run/pause ratio: min ${Math.min(...result.ratio).toFixed(3)}, ` +
        `median ${median(result.ratio).toFixed(3)}, max ${Math.max(...result.ratio).toFixed(3)}`);
    console.log(`run/pause ratio at slow-down 1 (web): ${median(result.ratio).toFixed(3)}`);
} finally {
    await browser.close();
    await server.close();
}
