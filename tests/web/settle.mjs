// A browser's window goes on building its own user interface for a while after it opens
// (Chromium's omnibox popup alone takes about half a second of CPU): a page loaded beside that
// would be timed with the browser's start-up. The benchmark waits for the browser to settle.

import fs from 'node:fs';

const TICK_MS = 10; // /proc counts CPU time in ticks of 1/100 s
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// CPU time in ticks of `root` and every process under it.
function treeTicks(root) {
    const parent = new Map();
    const ticks = new Map();
    for (const name of fs.readdirSync('/proc')) {
        if (!/^\d+$/.test(name))
            continue;
        try {
            // The fields after the command (which may hold spaces): state, ppid, ..., utime, stime.
            const fields = fs.readFileSync(`/proc/${name}/stat`, 'utf8').replace(/^.*\) /s, '').split(' ');
            parent.set(Number(name), Number(fields[1]));
            ticks.set(Number(name), Number(fields[11]) + Number(fields[12]));
        } catch {
            // gone meanwhile
        }
    }
    let total = 0;
    for (const [pid, count] of ticks) {
        let up = pid;
        while (up > 1 && up !== root)
            up = parent.get(up) ?? 0;
        if (up === root)
            total += count;
    }
    return total;
}

// Until the processes under `root` have used at most a twentieth of a CPU for `quietMs`, or for
// at most `limitMs`.
export async function settle(root, {quietMs = 300, limitMs = 5000} = {}) {
    const start = Date.now();
    let last = treeTicks(root);
    while (Date.now() - start < limitMs) {
        await sleep(quietMs);
        const now = treeTicks(root);
        const used = now - last; // less than none where a process ended meanwhile: not yet quiet
        if (used >= 0 && used * TICK_MS <= quietMs / 20)
            return;
        last = now;
    }
}
