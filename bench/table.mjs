// make bench's table: what a run costs beyond its pauses, in every front end and engine, at the
// design's size (820 x 580), maximized on a 1920 x 1080 and a 3840 x 2160 screen (a projector, a
// 4K whiteboard), and in Chromium also at 1920 x 1080 CSS pixels of density 2: the median
// run/pause ratio of pairs at slow-down 1 and 6, and the frames a slow-down 6 run showed against
// those its pauses allow (one a refresh, 102 at most).
// Usage: node bench/table.mjs [PAIRS]   (slow-down 1 pairs, default 61; slow-down 6 takes 5)
// FOTONAR_BASELINE=DIR measures another checkout's builds (bin, .exe and page) the same way,
// each row right after this one's, and prints both; FOTONAR_ROWS=REGEX keeps the rows whose
// front end and size it finds ("Qt", "webkit 3840").

import {spawnSync} from 'node:child_process';
import path from 'node:path';
import {fileURLToPath} from 'node:url';
import {launch, open, serve} from '../tests/web/lib.mjs';
import {engines, median, runPairs} from './web/bench.mjs';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..');
const pairs = Math.max(5, Number(process.argv[2] ?? 61));
const baseline = process.env.FOTONAR_BASELINE;
const trees = baseline ? [['before', path.resolve(baseline)], ['now', root]] : [['now', root]];
const SIZES = [['820 x 580', null], ['1920 x 1080', '1920x1080'], ['3840 x 2160', '3840x2160']];

// A desktop bench's report (bench/runpairs.cpp): the refresh, and per slow-down the medians.
// Under Wine the lines end in CR LF.
function parseDesktop(output) {
    const text = output.replaceAll('\r', '');
    const result = {refreshMs: 1000 / Number(/screen refresh ([\d.]+) Hz/.exec(text)?.[1] ?? 60)};
    for (const [, slow, pause, frames, ratio] of text.matchAll(
        /slow-down (\d), \d+ pairs: pause alone ([\d.]+) ms.*frames a run: (\d+)\n.*median ([\d.]+)/g))
        result[slow] = {pause: Number(pause), frames: Number(frames), ratio: Number(ratio)};
    if (!result['1'] || !result['6'])
        throw new Error(`no result in:\n${text}`);
    return result;
}

// The desktop window on a private X server of `screen` pixels, maximized on it where given.
function desktop(tree, kind, screen) {
    const [command, env] = kind === 'Qt'
        ? [[`${tree}/build/bin/fotonar-bench`], {}]
        : [['wine', `${tree}/build-windows/fotonar-bench.exe`],
            {WINEPREFIX: `${root}/build/bench-wineprefix`, WINEDEBUG: '-all'}];
    const args = ['-a', '-s', `-screen 0 ${screen ?? '1280x1024'}x24`, ...command,
        String(kind === 'Qt' ? pairs : Math.ceil(pairs / 2)), ...(screen ? ['maximized'] : [])];
    const done = spawnSync('xvfb-run', args, {env: {...process.env, ...env}, encoding: 'utf8', maxBuffer: 1 << 24});
    if (kind !== 'Qt')
        spawnSync('wineserver', ['-k'], {env: {...process.env, ...env}});
    return parseDesktop(done.stdout + done.stderr);
}

// The page in `engine` at a viewport of `size` CSS pixels (820 x 580 where null) at `density`.
async function browser(tree, engine, size, density) {
    const [width, height] = (size ?? '820x580').split('x').map(Number);
    const server = await serve(path.join(tree, 'build-web'));
    const running = await launch(engine, {screen: '4000x2400'});
    try {
        const page = await open(running, server.url, {settled: true, width, height, scale: density});
        const result = {};
        for (const [slow, count] of [['6', 5], ['1', pairs]]) {
            const measured = await runPairs(page, slow, count);
            result.refreshMs = measured.frameMs;
            result[slow] = {pause: median(measured.pause), frames: median(measured.frames), ratio: median(measured.ratio)};
        }
        await page.close();
        return result;
    } finally {
        await running.close();
        await server.close();
    }
}

function cells(result) {
    const allowed = Math.min(102, Math.floor(result['6'].pause / result.refreshMs));
    return [result['1'].ratio.toFixed(3), result['6'].ratio.toFixed(3), `${result['6'].frames} of ${allowed}`];
}

const rows = [];
for (const kind of ['Qt', 'Wine'])
    for (const [label, screen] of SIZES)
        rows.push([`${kind === 'Qt' ? 'Linux, Qt (Xvfb)' : 'Windows (Wine)'}`, label, (tree) => desktop(tree, kind, screen)]);
for (const engine of engines) {
    for (const [label, screen] of SIZES)
        rows.push([engine, label, (tree) => browser(tree, engine, screen, 1)]);
    if (engine === 'chromium')
        rows.push([engine, '1920 x 1080 at 2x', (tree) => browser(tree, engine, '1920x1080', 2)]);
}

const header = ['front end', 'size', ...trees.flatMap(([name]) =>
    [`${name}: slow-down 1`, `${name}: slow-down 6`, `${name}: frames`])];
const table = [];
const wanted = new RegExp(process.env.FOTONAR_ROWS ?? '');
for (const [frontEnd, size, measure] of rows.filter(([end, at]) => wanted.test(`${end} ${at}`))) {
    const row = [frontEnd, size];
    for (const [, tree] of trees) {
        try {
            row.push(...cells(await measure(tree)));
        } catch (error) {
            console.error(`${frontEnd} ${size}: ${error.message}`);
            row.push('–', '–', '–');
        }
    }
    table.push(row);
    console.log(`  ${row.join(' | ')}`);
}
console.log('\nrun/pause (median) at slow-down 1 and 6, and the frames of a slow-down 6 run against ' +
    'those its pauses allow:\n');
console.log(`| ${header.join(' | ')} |\n|${header.map(() => '---').join('|')}|`);
for (const row of table)
    console.log(`| ${row.join(' | ')} |`);
