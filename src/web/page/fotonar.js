// Fotonar in the browser: the page's side of the window. The controls are the browser's own,
// made from the layout table that the program hands over, and the picture is a canvas under
// them. Everything the window does lives in the program (fotonar-core.wasm): this page forwards
// the controls' events to it, holds them back while a run is going on (a run yields to the
// browser at its frames, and what the user does meanwhile is handled after it, as on the
// desktop), puts the picture's changed rectangles on the canvas and keeps the canvas sharp at
// the screen's pixel density.
'use strict';

(() => {
    const FIELDS = {nIndex: 0, nVzdalenost: 1, nSpomaleni: 2};
    const windowElement = document.getElementById('window');
    const canvas = document.getElementById('picture');
    // Transparent where nothing was put: a new canvas shows the window's grey at once.
    const context = canvas.getContext('2d');
    const controls = new Map(); // by the layout's names
    const queue = []; // what the user did, in order, waiting for the program
    let core = null;
    let layout = null;
    let pumping = false;
    let runs = 0;
    let accepting = false; // the program knows the decimal separator and takes the user's actions
    let running = false;
    let ended = false;
    let frameMs = 1000 / 60;
    let fitPending = false;
    let repaintPending = false;

    // What the program calls (fotonar-core's imports).
    window.Fotonar = {
        putImage(image, rects) {
            for (let i = 0; i < rects.length; i += 4)
                context.putImageData(image, 0, 0, rects[i], rects[i + 1], rects[i + 2], rects[i + 3]);
        },
        showControl(name) {
            controls.get(name).hidden = false;
        },
        moveControl(name, left, top) {
            const element = controls.get(name);
            element.style.left = `${left}px`;
            element.style.top = `${top}px`;
        },
        frameInterval() {
            return frameMs;
        },
        selectOption(name) {
            controls.get(name).querySelector('input').checked = true;
        },
        showError(message) {
            window.alert(message);
        },
        quit() {
            end();
        },
        // For tests and diagnostics.
        field(name) {
            return core.ccall('fotonar_field', 'string', ['number'], [FIELDS[name]]);
        },
        setField(name, text) {
            core.ccall('fotonar_set_field', null, ['number', 'string'], [FIELDS[name], text]);
        },
        frames() {
            return core.ccall('fotonar_frames', 'number', [], []);
        },
        get running() {
            return running;
        },
        get runs() {
            return runs;
        },
        // For the benchmark: a whole run, and the pauses of one run alone, in milliseconds.
        async timeRun() {
            const start = performance.now();
            await core.ccall('fotonar_start_click', null, [], [], {async: true});
            return performance.now() - start;
        },
        timePauses() {
            const start = performance.now();
            core.ccall('fotonar_pauses', null, [], []);
            return performance.now() - start;
        },
    };

    // The user's actions go to the program in order; a Start takes the program until its run
    // has ended, and whatever came meanwhile waits for it.
    function enqueue(action) {
        if (ended)
            return;
        queue.push(action);
        if (!pumping && accepting)
            pump();
    }

    async function pump() {
        pumping = true;
        while (queue.length && !ended) {
            const action = queue.shift();
            if (action === 'start') {
                running = true;
                ++runs;
                await core.ccall('fotonar_start_click', null, [], [], {async: true});
                running = false;
            } else {
                action();
            }
        }
        pumping = false;
        if (fitPending && !ended)
            fit();
        if (repaintPending && !ended)
            repaint();
    }

    function call(name, types = [], values = []) {
        return () => core.ccall(name, null, types, values);
    }

    function css(colour) {
        return colour ? `rgb(${colour.join(',')})` : '';
    }

    function place(element, [left, top, width, height]) {
        Object.assign(element.style,
            {left: `${left}px`, top: `${top}px`, width: `${width}px`, height: `${height}px`});
    }

    function withCaption(element, entry) {
        element.textContent = entry.caption;
        element.classList.add('caption');
        element.style.fontSize = `${entry.fontPixels}px`;
        return element;
    }

    // The arrow keys choose the option beside the focused one in its frame, as on the desktop,
    // where a frame's options end at its ends rather than going round.
    function stepWithinFrame(event) {
        const step = {ArrowLeft: -1, ArrowUp: -1, ArrowRight: 1, ArrowDown: 1}[event.key];
        if (!step)
            return;
        event.preventDefault();
        const options = [...event.target.closest('fieldset').querySelectorAll('input')];
        const beside = options[options.indexOf(event.target) + step];
        if (beside) {
            beside.focus();
            beside.checked = true;
            beside.dispatchEvent(new Event('change'));
        }
    }

    function make(entry) {
        switch (entry.kind) {
        case 'frame': {
            const frame = document.createElement('fieldset');
            frame.className = 'frame';
            frame.append(withCaption(document.createElement('legend'), entry));
            return frame;
        }
        case 'option': {
            const option = document.createElement('label');
            option.className = 'option';
            const input = document.createElement('input');
            input.type = 'radio';
            input.name = entry.container;
            input.value = entry.name;
            input.tabIndex = entry.tabIndex + 1;
            input.addEventListener('change', () => enqueue(call('fotonar_option_click', ['string'], [entry.name])));
            input.addEventListener('keydown', stepWithinFrame);
            option.append(input, entry.caption);
            return option;
        }
        case 'scrollbar': {
            const range = document.createElement('input');
            range.type = 'range';
            [range.min, range.max] = layout.slowDown;
            range.step = 1;
            range.value = layout.slowDown[0];
            range.tabIndex = entry.tabIndex + 1;
            range.setAttribute('aria-label', entry.accessibleName);
            range.addEventListener('input', () => {
                const value = Number(range.value);
                enqueue(call('fotonar_scroll_change', ['number'], [value]));
            });
            // As on the desktop: left and up towards 1, right and down towards 6.
            range.addEventListener('keydown', (event) => {
                const step = {ArrowUp: -1, ArrowDown: 1}[event.key];
                if (!step)
                    return;
                event.preventDefault();
                const value = Math.min(Math.max(Number(range.value) + step, range.min), range.max);
                if (value !== Number(range.value)) {
                    range.value = value;
                    range.dispatchEvent(new Event('input'));
                }
            });
            return range;
        }
        case 'button': {
            const button = withCaption(document.createElement('button'), entry);
            button.type = 'button';
            button.tabIndex = entry.tabIndex + 1;
            button.addEventListener('click', () => enqueue(
                entry.name === 'cmdStart' ? 'start' : call('fotonar_konec_click')));
            return button;
        }
        case 'label': {
            const label = withCaption(document.createElement('div'), entry);
            label.classList.add('label');
            label.style.background = css(entry.background);
            if (!entry.enabled) {
                label.classList.add('disabled');
                label.setAttribute('aria-disabled', 'true');
            }
            return label;
        }
        case 'image': {
            const image = document.createElement('img');
            image.className = 'image';
            image.src = `${entry.caption}.png`;
            image.alt = entry.accessibleName;
            image.draggable = false;
            return image;
        }
        }
        throw new Error(`unknown kind of control: ${entry.kind}`);
    }

    // Tab goes round the window's controls as on the desktop, from the last to the first: the
    // tab indices give the order within.
    function keepTabInWindow(event) {
        if (event.key !== 'Tab')
            return;
        const stops = [...windowElement.querySelectorAll('[tabindex]')]
            .filter((element) => element.tabIndex > 0 && !element.closest('[hidden]')
                && (element.type !== 'radio' || element.checked))
            .sort((a, b) => a.tabIndex - b.tabIndex);
        const [first, last] = [stops[0], stops[stops.length - 1]];
        if (document.activeElement === (event.shiftKey ? first : last)) {
            event.preventDefault();
            (event.shiftKey ? last : first).focus();
        }
    }

    function build() {
        document.title = layout.caption;
        windowElement.addEventListener('keydown', keepTabInWindow);
        for (const entry of layout.controls) {
            const element = make(entry);
            element.id = entry.name;
            place(element, entry.box);
            element.hidden = !entry.visible;
            (entry.container ? controls.get(entry.container) : windowElement).append(element);
            controls.set(entry.name, element);
        }
    }

    // The title is wider than its box in its font: the program's rule widens the box, and closes
    // up the letters where even that is not enough.
    function fitTitle() {
        const title = controls.get('labFotonar');
        const measure = document.createElement('canvas').getContext('2d');
        measure.font = getComputedStyle(title).font;
        const advance = measure.measureText(title.textContent).width;
        const fit = core.ccall('fotonar_fit_title', 'string', ['number', 'number'],
            [advance, title.textContent.length]).split(' ').map(Number);
        title.style.width = `${Math.floor(fit[0])}px`;
        title.style.letterSpacing = `${fit[1]}px`;
    }

    // 1:1 where the viewport holds the design, scaled down to fit where it does not; the
    // canvas's own pixels follow the screen's, so the picture is sharp at any density.
    function scale() {
        const fitted = Math.min(1, window.innerWidth / layout.width, window.innerHeight / layout.height);
        return {fitted, device: fitted * (window.devicePixelRatio || 1)};
    }

    function fit() {
        if (running) { // the program is busy: the canvas follows once its run has ended
            fitPending = true;
            return;
        }
        fitPending = false;
        const {fitted, device} = scale();
        windowElement.style.transform = fitted < 1 ? `scale(${fitted})` : '';
        const width = Math.ceil(layout.width * device);
        const height = Math.ceil(layout.height * device);
        if (canvas.width !== width || canvas.height !== height) {
            canvas.width = width;
            canvas.height = height;
        }
        core.ccall('fotonar_resize', null, ['number'], [device]);
    }

    // The browser may drop the pixels of a canvas it does not show, and tells when it gives it
    // back empty: the program puts the whole picture on it again, once its run has ended.
    function repaint() {
        repaintPending = running;
        if (!running)
            core.ccall('fotonar_repaint', null, [], []);
    }

    function watchDensity() {
        const query = window.matchMedia(`(resolution: ${window.devicePixelRatio}dppx)`);
        query.addEventListener('change', () => {
            fit();
            watchDensity();
        }, {once: true});
    }

    function measureFrames() {
        const deltas = [];
        let last = null;
        const tick = (time) => {
            if (last !== null)
                deltas.push(time - last);
            last = time;
            if (deltas.length < 9) {
                requestAnimationFrame(tick);
                return;
            }
            deltas.sort((a, b) => a - b);
            const median = deltas[deltas.length >> 1];
            if (median > 4 && median < 100)
                frameMs = median;
        };
        requestAnimationFrame(tick);
    }

    // Konec, or a run-time error: in an installed app's window the window closes; in a tab the
    // program ends, and a line says how to start it again.
    function end() {
        ended = true;
        queue.length = 0;
        windowElement.remove();
        document.getElementById('ended').hidden = false;
        if (window.matchMedia('(display-mode: standalone)').matches || navigator.standalone)
            window.close();
    }

    function decimalSeparator() {
        const text = (1.5).toLocaleString();
        return /^1(\D+)5$/.test(text) ? text.slice(1, -1) : '.';
    }

    // fotonar-core.js starts the module itself as soon as it has arrived, which may be before
    // this script runs or after it.
    function coreModule() {
        return window.fotonarCore ?? new Promise((resolve) => window.addEventListener('fotonarcore',
            () => resolve(window.fotonarCore), {once: true}));
    }

    async function start() {
        const fonts = Promise.all([
            document.fonts.load('700 16px "Fotonar Serif"'),
            document.fonts.load('11px "Fotonar Sans"'),
        ]).catch(() => null);
        core = await coreModule();
        layout = JSON.parse(core.ccall('fotonar_layout', 'string', [], []));
        build();
        core.ccall('fotonar_start', null, ['number'], [scale().device]);
        fit();
        await fonts;
        fitTitle();
        controls.get('cmdStart').focus(); // Space or Enter at once runs with the defaults
        window.addEventListener('resize', fit);
        canvas.addEventListener('contextrestored', repaint);
        document.addEventListener('visibilitychange', () => {
            if (document.visibilityState === 'visible')
                repaint();
        });
        watchDensity();
        measureFrames();
        requestAnimationFrame(() => {
            performance.mark('fotonar-ready');
            core.ccall('fotonar_set_separator', null, ['string'], [decimalSeparator()]);
            accepting = true;
            document.documentElement.dataset.ready = 'true';
            pump();
        });
        if ('serviceWorker' in navigator)
            navigator.serviceWorker.register('sw.js').catch(() => null);
    }

    start().catch((error) => {
        window.alert(`Fotonar se nepodařilo spustit: ${error.message || error}`);
        end();
    });
})();
