// The browser build in each of Debian's engines (FOTONAR_ENGINES, by default Chromium, Firefox
// ESR and WebKitGTK, through tests/web's engine layer), from a local server: the time from
// navigation to the window's first picture with a cold cache (a fresh context, profile or
// session each load, navigated once the browser's new window has settled: tests/web/settle.mjs),
// and the same for the single file from the disk;
// pairs of (the pauses of one run alone, a whole run) at slow-down 1, in turn one and the other
// first, as fotonar-bench measures the desktop, in a viewport of the design's size and in one of
// 1920 x 1080, where the picture is zoomed to about three times its pixels; and whether whole
// runs get slower as they follow one another on one page (the last five of 20 against the first
// five, five times).
// Usage: node bench/web/bench.mjs [PAIRS]   (default 61, at least 15; make bench runs it)

import {available, disk, launch, open, serve} from '../../tests/web/lib.mjs';

const pairs = Math.max(15, Number(process.argv[2] ?? 61));
const loads = 9;
const runSets = 5;
const engines = (process.env.FOTONAR_ENGINES ?? 'chromium,firefox,webkit').split(',').filter(available);

const median = (values) => [...values].sort((a, b) => a - b)[values.length >> 1];
const mean = (values) => values.reduce((a, b) => a + b, 0) / values.length;
const ms = (value) => `${value.toFixed(1)} ms`;

// The page measures on its own, undisturbed; it is asked every half second whether it is done.
async function measure(page, start, arg) {
    await page.evaluate(start, arg);
    while (!(await page.evaluate(() => window.benchResult !== undefined)))
        await new Promise((resolve) => setTimeout(resolve, 500));
    return page.evaluate(() => window.benchResult);
}

// Pairs of (the pauses of one run alone, a whole run), measured inside the page.
function runPairs(page) {
    return measure(page, (count) => {
        window.benchResult = undefined;
        (async () => {
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
            window.benchResult = measured;
        })();
    }, pairs);
}

const server = await serve();
try {
    for (const engine of engines) {
        const browser = await launch(engine);
        try {
            for (const [url, from] of [[server.url, 'cold cache'], [disk().url, 'cold cache, the single file from the disk']]) {
                const firstPicture = [];
                for (let i = 0; i < loads; ++i) {
                    const page = await open(browser, url, {settled: true});
                    firstPicture.push(await page.evaluate(() => performance.getEntriesByName('fotonar-ready')[0].startTime));
                    await page.close();
                }
                console.log(`${engine}: load to first picture, ${from}, median of ${loads}: ${ms(median(firstPicture))} ` +
                    `(min ${ms(Math.min(...firstPicture))}, max ${ms(Math.max(...firstPicture))})`);
            }

            let page;
            for (const [width, height] of [[1920, 1080], [820, 580]]) { // the second stays open
                page = await open(browser, server.url, {settled: true, width, height});
                const result = await runPairs(page);
                console.log(`  ${width} x ${height} (zoom ${(await page.evaluate(() => Fotonar.view().zoom)).toFixed(3)}), ` +
                    `slow-down 1, ${pairs} pairs: pause alone ${ms(median(result.pause))}, ` +
                    `whole run ${ms(median(result.run))} (medians); frames a run: ${result.frames}`);
                console.log(`  run/pause ratio: min ${Math.min(...result.ratio).toFixed(3)}, ` +
                    `median ${median(result.ratio).toFixed(3)}, max ${Math.max(...result.ratio).toFixed(3)}`);
                if (width !== 820)
                    await page.close();
            }

            // The machine's own speed steps now and then (the same pauses take 40 ms, then 65),
            // which one set of 20 runs takes for runs slowing each other down: several sets,
            // and their median.
            const sets = [];
            for (let set = 0; set < runSets; ++set) {
                const runs = await measure(page, (count) => {
                    window.benchResult = undefined;
                    (async () => {
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
            console.log(`  20 runs in a row, ${runSets} times: last five against first five ` +
                `${lastToFirst.map((ratio) => ratio.toFixed(3)).join(', ')}; median ` +
                `${median(lastToFirst).toFixed(3)} (${ms(middle.first)}, then ${ms(middle.last)})`);
            await page.close();
        } finally {
            await browser.close();
        }
    }
} finally {
    await server.close();
}
