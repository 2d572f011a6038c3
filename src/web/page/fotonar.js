// Fotonar in the browser: the page's side of the window. The controls are the browser's own,
// made from the layout table that the program hands over, and the picture is a canvas under
// them. Everything the window does lives in the program (fotonar-core.wasm), keyboard included:
// this page puts what the user does in an inbox that the program takes, puts the picture's
// changed rectangles on the canvas and keeps the canvas sharp at the screen's pixel density.
'use strict';

(() => {
    const FIELDS = {nIndex: 0, nVzdalenost: 1, nSpomaleni: 2};
    const STARTUP_FAILURE = '@STARTUP_FAILURE@'; // the program's own words, put in by the build
    // The single file (fotonar-VERSION.html) has no files beside it: the build puts in here the
    // images' data: addresses and the length and CRC-32 of the module that the file carries
    // after this script. null in the folder's page.
    const SINGLE_FILE = @SINGLE_FILE@;
    const stage = document.getElementById('stage');
    const windowElement = document.getElementById('window');
    let canvas = document.getElementById('picture');
    let zoom = 1; // the design's size on the screen against its own, as the program fits it
    let origin = {left: 0, top: 0}; // where the design's top-left corner stands, CSS pixels
    let fontsIn = false; // the captions can be measured
    let drawnAt = 0; // the device pixels a pixel of the design that the bitmaps are drawn at
    let screen = null; // puts the program's pixels on the canvas, from the first picture on
    const controls = []; // by their index in the layout table
    let scrollBar = null; // the slow-down, HScroll1
    const bitmaps = new Map(); // the images' canvases, each with how to draw its bitmap again
    const inbox = []; // what the user did, in order, for the program to take
    let core = null;
    // The window as the program hands it over: its caption, size, controls (the layout table's
    // rows), the keys of its keyboard by the browser's names, and its inbox's kinds of event.
    const layout = {controls: [], keys: new Map(), events: {}};
    let busy = false; // the program is inside a call, which a run makes long
    let pumping = Promise.resolve();
    let accepting = false; // the program knows the decimal separator and takes the inbox
    let ended = false;
    let frameMs = 1000 / 60;
    // The program's yields go through one message channel for good: a message, not a timer,
    // which the browser would hold back after a few in a row; and one channel, since making a
    // channel costs WebKit a round trip to another process, milliseconds a frame.
    const tasks = new MessageChannel();
    let taskDone = null;
    tasks.port1.onmessage = () => taskDone();

    // What the program calls (fotonar-core's imports). Controls go by their index in the table.
    window.Fotonar = {
        layOutWindow(properties) {
            Object.assign(layout, properties);
        },
        layOutControl(entry) {
            layout.controls.push(entry);
        },
        layOutKey(name, key) {
            layout.keys.set(name, key);
        },
        layOutEvents(events) {
            layout.events = events;
        },
        putPixels(heap, pointer, width, height, rects) {
            // Chosen at the first picture: asking for WebGL costs start-up time in some engines.
            screen ??= webglScreen(canvas) ?? canvasScreen(canvas);
            screen.put(heap, pointer, width, height, rects);
        },
        takeEvent() {
            return inbox.shift();
        },
        showControl(index) {
            controls[index].hidden = false;
        },
        moveControl(index, left, top) { // the design's pixels, which the window's zoom scales
            Object.assign(controls[index].style, {left: `${left}px`, top: `${top}px`});
        },
        frameInterval() {
            return frameMs;
        },
        nextTask() {
            return new Promise((resolve) => {
                taskDone = resolve;
                tasks.port2.postMessage(null);
            });
        },
        selectOption(index) {
            controls[index].querySelector('input').checked = true;
        },
        showSlowDown(value) {
            scrollBar.value = value;
        },
        focus(index) {
            const control = controls[index];
            (control.querySelector('input') ?? control).focus();
        },
        showError(message) {
            window.alert(message);
        },
        // The picture in words: the canvas's accessible name and description, kept in the page's
        // own elements (index.html), the description readable in the page after the canvas.
        describePicture(name, description) {
            document.getElementById('pictureName').textContent = name;
            document.getElementById('pictureDescription').textContent = description;
        },
        // Said politely by the live region, without touching the focus.
        announce(message) {
            document.getElementById('announcement').textContent = message;
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
            return core._fotonar_frames();
        },
        get running() {
            return busy;
        },
        get runs() {
            return core._fotonar_runs(); // reads a number, safe even while a run is suspended
        },
        // How the design stands in the viewport: its zoom, its top-left corner in CSS pixels,
        // and the device pixels a CSS pixel.
        view() {
            return {zoom, ...origin, density: window.devicePixelRatio || 1};
        },
        // For the benchmark: a whole run, and the pauses of one run alone, in milliseconds.
        async timeRun() {
            const began = performance.now();
            deliver(layout.events.click, layout.start);
            await pumping;
            return performance.now() - began;
        },
        timePauses() {
            const began = performance.now();
            core._fotonar_pauses();
            return performance.now() - began;
        },
    };

    // The program takes the inbox when the page pumps it, and at every frame of a run; the page
    // never calls into it while a run is suspended. An event: its kind (layout.events), the
    // control's index (-1: none) and a number (a key, the scroll bar's value, a scale).
    function deliver(kind, control = -1, value = 0) {
        if (ended)
            return;
        inbox.push({kind, control, value});
        if (accepting && !busy)
            pumping = pump();
    }

    async function pump() {
        busy = true;
        while (inbox.length && !ended)
            await core.ccall('fotonar_pump', null, [], [], {async: true});
        busy = false;
    }

    // WebGL2: the rectangles go into one texture straight from the program's memory, and one
    // triangle copies the texture to the canvas pixel for pixel. Cheaper than the 2D canvas in
    // Firefox, whose 2D canvas is slow to take pixels; not with Chromium's SwiftShader, whose WebGL
    // canvas is slow to show, nor in WebKit, whose uploads wait for its renderer (5 to 18 ms a
    // frame on a 1920 x 1080 screen with Mesa's, against 1 to 3 for the 2D canvas kept in memory)
    // and which does not name its renderer, so that a GPU cannot be told from Mesa there
    // (bench/README.md).
    const VERTICES = `#version 300 es
        void main() {
            gl_Position = vec4(float((gl_VertexID & 1) << 2) - 1.0, float((gl_VertexID & 2) << 1) - 1.0, 0.0, 1.0);
        }`;
    const PIXELS = `#version 300 es
        precision highp float;
        uniform highp sampler2D picture;
        uniform int top;
        out vec4 colour;
        void main() {
            colour = texelFetch(picture, ivec2(int(gl_FragCoord.x), top - int(gl_FragCoord.y)), 0);
        }`;

    function webglScreen(target) {
        const probe = document.createElement('canvas').getContext('webgl2');
        const renderer = probe?.getParameter(probe.RENDERER);
        if (!renderer || renderer === 'WebKit WebGL' || /SwiftShader/i.test(renderer))
            return null;
        const gl = target.getContext('webgl2', {antialias: false, depth: false, stencil: false});
        const program = gl && gl.createProgram();
        if (!program)
            return null;
        for (const [type, source] of [[gl.VERTEX_SHADER, VERTICES], [gl.FRAGMENT_SHADER, PIXELS]]) {
            const shader = gl.createShader(type);
            gl.shaderSource(shader, source);
            gl.compileShader(shader);
            gl.attachShader(program, shader);
        }
        gl.linkProgram(program);
        if (!gl.getProgramParameter(program, gl.LINK_STATUS))
            return null;
        gl.useProgram(program);
        const top = gl.getUniformLocation(program, 'top');
        gl.bindTexture(gl.TEXTURE_2D, gl.createTexture());
        gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_MIN_FILTER, gl.NEAREST);
        gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_MAG_FILTER, gl.NEAREST);
        gl.clearColor(0, 0, 0, 0); // where nothing is drawn yet, the window's grey shows
        gl.clear(gl.COLOR_BUFFER_BIT);
        let size = '';
        target.addEventListener('webglcontextlost', (event) => {
            // Lost (the GPU was reset): the picture goes on in a fresh canvas, in 2D.
            event.preventDefault();
            const fresh = canvas.cloneNode(false); // its size and its words too
            canvas.replaceWith(fresh);
            canvas = fresh;
            screen = canvasScreen(fresh);
            deliver(layout.events.repaint);
        });
        return {
            put(heap, pointer, width, height, rects) {
                if (size !== `${width}x${height}`) {
                    size = `${width}x${height}`;
                    gl.texImage2D(gl.TEXTURE_2D, 0, gl.RGBA8, width, height, 0, gl.RGBA, gl.UNSIGNED_BYTE, null);
                }
                gl.pixelStorei(gl.UNPACK_ROW_LENGTH, width);
                for (let i = 0; i < rects.length; i += 4) {
                    gl.pixelStorei(gl.UNPACK_SKIP_PIXELS, rects[i]);
                    gl.pixelStorei(gl.UNPACK_SKIP_ROWS, rects[i + 1]);
                    gl.texSubImage2D(gl.TEXTURE_2D, 0, rects[i], rects[i + 1], rects[i + 2], rects[i + 3],
                        gl.RGBA, gl.UNSIGNED_BYTE, heap, pointer);
                }
                gl.viewport(0, 0, target.width, target.height);
                gl.uniform1i(top, target.height - 1);
                gl.drawArrays(gl.TRIANGLES, 0, 3);
                // Now, not at the next frame's upload: WebKit leaves the drawing queued until
                // then, and the upload waits for it (a millisecond or two a frame with Mesa's
                // renderer); flushed here, it is drawn while the run goes on.
                gl.flush();
            },
        };
    }

    // The 2D canvas, where WebGL2 is missing or slow: the rectangles from an image over the
    // program's memory, into a canvas kept in memory, not on a graphics processor, since only the
    // program draws into it. Transparent where nothing was put: a new canvas shows the window's
    // grey at once.
    function canvasScreen(target) {
        const context = target.getContext('2d', {willReadFrequently: true});
        target.addEventListener('contextrestored', () => deliver(layout.events.repaint));
        return {
            put(heap, pointer, width, height, rects) {
                const image = new ImageData(new Uint8ClampedArray(heap.buffer, pointer, width * height * 4), width, height);
                for (let i = 0; i < rects.length; i += 4)
                    context.putImageData(image, 0, 0, rects[i], rects[i + 1], rects[i + 2], rects[i + 3]);
            },
        };
    }

    function css(colour) { // 0xBBGGRR, -1 for none
        return colour >= 0 ? `rgb(${colour & 0xFF},${(colour >> 8) & 0xFF},${colour >> 16})` : '';
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
            input.name = layout.controls[entry.container].name;
            input.value = entry.name;
            input.tabIndex = entry.tabIndex + 1;
            input.addEventListener('change', () => deliver(layout.events.click, entry.index));
            option.append(input, entry.caption);
            return option;
        }
        case 'scrollbar': {
            const range = document.createElement('input');
            range.type = 'range';
            [range.min, range.max] = layout.slowDown;
            range.value = layout.slowDown[0];
            range.tabIndex = entry.tabIndex + 1;
            range.setAttribute('aria-label', entry.accessibleName);
            range.addEventListener('input', () => deliver(layout.events.scroll, entry.index, Number(range.value)));
            scrollBar = range;
            return range;
        }
        case 'button': {
            const button = withCaption(document.createElement('button'), entry);
            button.type = 'button';
            button.tabIndex = entry.tabIndex + 1;
            button.addEventListener('click', () => deliver(layout.events.click, entry.index));
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
            // A canvas of the screen's own pixels with the bitmap drawn in it by whole pixels: an
            // <img> scaled by the window's zoom is smoothed by WebKit, pixelated or not.
            const image = document.createElement('canvas');
            image.className = 'image';
            image.setAttribute('role', 'img');
            image.setAttribute('aria-label', entry.accessibleName);
            const bitmap = new Image();
            bitmap.addEventListener('load', () => drawBitmap(image, bitmap, entry));
            bitmap.src = SINGLE_FILE?.images[entry.caption] ?? `${entry.caption}.png`;
            bitmaps.set(image, () => drawBitmap(image, bitmap, entry));
            return image;
        }
        }
        throw new Error(`unknown kind of control: ${entry.kind}`);
    }

    // The bitmap at the window's zoom and the screen's density, each of its pixels a block of
    // whole device pixels, the nearest.
    function drawBitmap(image, bitmap, entry) {
        const device = zoom * (window.devicePixelRatio || 1);
        const [width, height] = [entry.box[2], entry.box[3]].map((size) => Math.max(1, Math.round(size * device)));
        [image.width, image.height] = [width, height];
        Object.assign(image.style, {width: `${width / device}px`, height: `${height / device}px`});
        const context = image.getContext('2d');
        context.imageSmoothingEnabled = false;
        if (bitmap.complete && bitmap.naturalWidth)
            context.drawImage(bitmap, 0, 0, width, height);
    }

    // The keys of the window's keyboard go to the program with the control that has the focus;
    // the browser's own handling of them (which differs between browsers) does not happen.
    function keyDown(event) {
        const key = layout.keys.get(event.key === 'Tab' && event.shiftKey ? 'Shift+Tab' : event.key);
        const control = event.target.closest('[id]');
        if (key === undefined || control === windowElement || event.ctrlKey || event.altKey || event.metaKey)
            return;
        event.preventDefault();
        deliver(layout.events.key, controls.indexOf(control), key);
    }

    function build() {
        document.title = layout.caption;
        document.documentElement.style.setProperty('--focus', css(layout.focus));
        windowElement.addEventListener('keydown', keyDown);
        windowElement.addEventListener('keyup', (event) => {
            if (event.key === ' ')
                event.preventDefault(); // a button would take its release as a click
        });
        for (const entry of layout.controls) {
            const element = make(entry);
            element.id = entry.name;
            place(element, entry.box);
            element.hidden = !entry.visible;
            (entry.container >= 0 ? controls[entry.container] : windowElement).append(element);
            controls.push(element);
        }
    }

    // The title is wider than its box in its font: the program's rule widens the box, and closes
    // up the letters where even that is not enough. Other captions close up where the browser's
    // font is wider than the design's. Measured as shown, at the window's zoom, in whose pixels
    // the browser rounds its letters; set in the design's pixels, which the zoom scales.
    function fitCaptions() {
        const measure = document.createElement('canvas').getContext('2d');
        const advance = (label, entry) => {
            const style = getComputedStyle(label);
            measure.font = `${style.fontWeight} ${entry.fontPixels * zoom}px ${style.fontFamily}`;
            return measure.measureText(label.textContent).width;
        };
        const entries = layout.controls.filter((entry) => entry.kind === 'label');
        for (const entry of entries) {
            const label = controls[entry.index];
            const measured = [advance(label, entry), label.textContent.length, zoom];
            if (entry.index === layout.title) {
                label.style.width = `${Math.floor(core._fotonar_title_width(...measured)) / zoom}px`;
                label.style.letterSpacing = `${core._fotonar_title_spacing(...measured) / zoom}px`;
                continue;
            }
            const spacing = core._fotonar_caption_spacing(entry.index, ...measured);
            label.style.letterSpacing = spacing ? `${spacing / zoom}px` : '';
        }
    }

    // The program's rule fits the design to the viewport: as large as it goes on a projector,
    // smaller on a phone, centred, at whole device pixels. The controls are laid out again at the
    // zoom (CSS zoom: the browser draws their text and indicators at that size, not a bitmap
    // scaled), and the canvas's own pixels are the screen's, so that the program draws the
    // picture again at the zoom and density, one canvas pixel to a device pixel.
    // On a screen of more pixels than a browser composites on the processor in a refresh (a 4K
    // whiteboard), the picture is drawn at a whole fraction of that density and shown by whole
    // blocks of device pixels, unblended (the canvas is pixelated).
    function scale() {
        const density = window.devicePixelRatio || 1;
        const fitted = core._fotonar_fit(window.innerWidth * density, window.innerHeight * density, density);
        return {fitted, left: core._fotonar_fit_left() / density, top: core._fotonar_fit_top() / density,
            device: fitted * density, picture: fitted * density / core._fotonar_fit_divisor()};
    }

    function fit() {
        const {fitted, left, top, device, picture} = scale();
        origin = {left, top};
        Object.assign(stage.style, {left: `${left}px`, top: `${top}px`});
        const width = Math.round(layout.width * picture);
        const height = Math.round(layout.height * picture);
        if (canvas.width !== width || canvas.height !== height)
            [canvas.width, canvas.height] = [width, height];
        Object.assign(canvas.style, {width: `${width / picture}px`, height: `${height / picture}px`});
        const rezoomed = fitted !== zoom;
        if (rezoomed) {
            zoom = fitted;
            windowElement.style.zoom = String(zoom);
        }
        if (device !== drawnAt) {
            drawnAt = device;
            bitmaps.forEach((draw) => draw());
        }
        if (rezoomed && fontsIn) // at start-up the captions are fitted once the fonts are in
            fitCaptions();
        deliver(layout.events.resize, -1, picture);
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
        inbox.length = 0;
        stage.remove();
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
        core._fotonar_layout();
        build();
        core.ccall('fotonar_start', null, ['number'], [scale().picture]);
        fit();
        await fonts;
        fontsIn = true;
        fitCaptions();
        controls[layout.startFocus].focus(); // Start: Space or Enter at once runs with the defaults
        window.addEventListener('resize', fit);
        // The browser may drop the pixels of a canvas it does not show.
        document.addEventListener('visibilitychange', () => {
            if (document.visibilityState === 'visible')
                deliver(layout.events.repaint);
        });
        watchDensity();
        measureFrames();
        requestAnimationFrame(() => {
            performance.mark('fotonar-ready');
            core.ccall('fotonar_set_separator', null, ['string'], [decimalSeparator()]);
            accepting = true;
            document.documentElement.dataset.ready = 'true';
            pumping = pump();
        });
        if ('serviceWorker' in navigator && !SINGLE_FILE) // the single file has nothing to cache
            navigator.serviceWorker.register('sw.js').catch(() => null);
    }

    // The single file's module follows this script as base64, and then the module's script, which
    // asks for the bytes (startcore.js). They are checked before they are compiled, so that a
    // damaged file says so rather than failing somewhere inside the browser's compiler; a file
    // cut short (a download that did not finish) ends before the module's script, which then
    // never runs, and the page is done reading without a module.
    const DAMAGED = 'Soubor s programem je poškozený nebo nebyl stažen celý. Stáhněte jej znovu.';

    function crc32(bytes) {
        const table = new Int32Array(256).map((_, byte) => {
            for (let bit = 0; bit < 8; ++bit)
                byte = (byte >>> 1) ^ (0xEDB88320 & -(byte & 1));
            return byte;
        });
        let crc = -1;
        for (let i = 0; i < bytes.length; ++i)
            crc = (crc >>> 8) ^ table[(crc ^ bytes[i]) & 0xFF];
        return (crc ^ -1) >>> 0;
    }

    function embeddedModule() {
        let bytes = null;
        try {
            const text = atob(document.getElementById('fotonar-core-wasm').textContent);
            bytes = new Uint8Array(text.length);
            for (let i = 0; i < text.length; ++i)
                bytes[i] = text.charCodeAt(i);
        } catch {
            // not base64 any more, or not there at all: damaged
        }
        if (bytes?.length !== SINGLE_FILE.module.length || crc32(bytes) !== SINGLE_FILE.module.crc32)
            throw new Error(DAMAGED);
        return bytes;
    }

    if (SINGLE_FILE) {
        window.fotonarEmbeddedModule = embeddedModule;
        document.addEventListener('DOMContentLoaded', () => {
            if (window.fotonarCore)
                return;
            window.fotonarCore = Promise.reject(new Error(DAMAGED));
            window.dispatchEvent(new Event('fotonarcore'));
        }, {once: true});
    }

    start().catch((error) => {
        window.alert(`${STARTUP_FAILURE}\n${error.message || error}`);
        end();
    });
})();
