#!/usr/bin/env python3
"""Lays out the browser build's folder around fotonar-core.js and .wasm: the page, its script
and style, the fonts' subsets, the icons, the images, the manifest and the service worker that
caches them all. Writes the same page as one file, fotonar-VERSION.html in SINGLE_DIR, that
opens from a disk with nothing beside it. Prints what a first visit to the folder transfers,
gzipped, and the single file's size.

Usage: web-page.py SOURCE_DIR OUT_DIR VERSION SINGLE_DIR
       web-page.py --sizes OUT_DIR SINGLE_DIR   (only the sizes, of what is built)
Needs: pyftsubset with Brotli (Debian: fonttools, python3-brotli), rsvg-convert (librsvg2-bin),
and Liberation's fonts (fonts-liberation2)."""

import base64
import gzip
import hashlib
import json
import pathlib
import re
import shutil
import struct
import subprocess
import sys
import zlib

PAGE_FILES = ['index.html', 'fotonar.js', 'fotonar.css', 'manifest.webmanifest']
LIBERATION = pathlib.Path('/usr/share/fonts/truetype/liberation2')
# Printable ASCII and the letters of Czech: every caption, and any text the program may show.
CZECH = 'U+0020-007E,U+00A0,U+00C1,U+00C9,U+00CD,U+00D3,U+00DA,U+00DD,U+00E1,U+00E9,U+00ED,' \
        'U+00F3,U+00FA,U+00FD,U+010C-010F,U+011A-011B,U+0147-0148,U+0158-0161,U+0164-0165,' \
        'U+016E-016F,U+017D-017E,U+2013,U+201A,U+201C,U+201E'
FONTS = {'fotonar-serif.woff2': 'LiberationSerif-Bold.ttf',
         'fotonar-sans.woff2': 'LiberationSans-Regular.ttf'}
# What a first visit loads, and what the service worker caches (with the page's address).
FOLDER_FILES = PAGE_FILES + ['fotonar-core.js', 'fotonar-core.wasm', 'icon-192.png', 'icon-512.png',
                             'alfa.png', 'beta.png'] + [f'fonts/{name}' for name in FONTS]


def png(width, height, rows):
    """A 24-bit PNG of `rows` (bytes of R, G, B a pixel, top row first)."""
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    raw = b''.join(b'\0' + row for row in rows)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 2, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def bmp_to_png(source, target):
    """The angle symbols' 24-bit bitmaps as PNG, pixel for pixel."""
    data = source.read_bytes()
    offset, = struct.unpack_from('<I', data, 10)
    width, height = struct.unpack_from('<ii', data, 18)
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(abs(height)):
        at = offset + (abs(height) - 1 - y if height > 0 else y) * stride
        bgr = data[at:at + width * 3]
        rows.append(bytes(c for i in range(width) for c in bgr[3 * i:3 * i + 3][::-1]))
    target.write_bytes(png(width, abs(height), rows))


def data_address(kind, data):
    return f'data:{kind};base64,{base64.b64encode(data).decode()}'


def csp_hash(text):
    """The Content-Security-Policy source that lets exactly this inline script or style run."""
    return f"'sha256-{base64.b64encode(hashlib.sha256(text.encode()).digest()).decode()}'"


def inline(tag, text):
    """`text` inside <tag>: the HTML parser would end the element early at these."""
    if re.search(f'</{tag}|<!--', text, re.IGNORECASE):
        raise SystemExit(f'web-page.py: cannot put this text inside <{tag}>: it holds </{tag} or <!--')
    return text


def edit(html, pattern, replacement, count=1):
    """`html` with the `count` lines of index.html that `pattern` finds replaced: a change there
    that this script does not know of stops the build rather than leave the file half made."""
    html, found = re.subn(pattern, lambda match: replacement, html)
    if found != count:
        raise SystemExit(f'web-page.py: index.html has {found} of {pattern!r}, not {count}')
    return html


def single_file(source, out, script, page):
    """The folder's page with every file it loads inside it: the style (with the fonts as data:
    addresses and their licence in a comment) and the images as data: addresses; then, at the end
    of the body, the page's script, the module as base64 and the module's script, in that order,
    so that the page's script is there to report a file cut short anywhere in the module. No
    manifest and no service worker: a file has nothing beside it to cache or install. A policy
    that lets run only these scripts and this style and load nothing from anywhere."""
    wasm = (out / 'fotonar-core.wasm').read_bytes()
    embedded = {'images': {name: data_address('image/png', (out / f'{name}.png').read_bytes())
                           for name in ('alfa', 'beta')},
                'module': {'length': len(wasm), 'crc32': zlib.crc32(wasm)}}
    script = inline('script', '\n' + script.replace('@SINGLE_FILE@', json.dumps(embedded)))
    core = inline('script', '\n' + (out / 'fotonar-core.js').read_text())
    licence = (out / 'fonts' / 'LICENSE.txt').read_text()
    style = (page / 'fotonar.css').read_text()
    for name in FONTS:
        style = style.replace(f'url("fonts/{name}")',
                              f'url("{data_address("font/woff2", (out / "fonts" / name).read_bytes())}")')
    if '*/' in licence or 'url("fonts/' in style:
        raise SystemExit("web-page.py: the fonts' licence or addresses do not fit the single file")
    style = inline('style', f'\n/* The fonts below are subsets of Liberation Serif Bold and Liberation '
                   f'Sans. Their licence:\n\n{licence}*/\n{style}')
    icon = subprocess.run(['rsvg-convert', '-w', '64', '-h', '64', str(source / 'assets' / 'fotonar.svg')],
                          check=True, capture_output=True).stdout
    policy = (f"default-src 'none'; script-src {csp_hash(script)} {csp_hash(core)} 'wasm-unsafe-eval'; "
              f"style-src {csp_hash(style)}; font-src data:; img-src data:; object-src 'none'; base-uri 'none'")

    html = (page / 'index.html').read_text()
    html = edit(html, r'(?<=<meta http-equiv="Content-Security-Policy" content=")[^"]*', policy)
    html = edit(html, r'<link rel="(manifest|apple-touch-icon|preload)"[^>]*>\n', '', count=5)
    html = edit(html, r'<link rel="icon"[^>]*>', f'<link rel="icon" href="{data_address("image/png", icon)}">')
    html = edit(html, r'<link rel="stylesheet" href="fotonar.css">', f'<style>{style}</style>')
    html = edit(html, r'<script src="[^"]*"( async| defer)?></script>\n', '', count=2)
    return edit(html, r'</body>', f'<script>{script}</script>\n'
                f'<script id="fotonar-core-wasm" type="application/octet-stream">'
                f'{base64.b64encode(wasm).decode()}</script>\n<script>{core}</script>\n</body>')


def gzipped(data):
    return len(gzip.compress(data, 9))


def sizes(out, single):
    """A first visit loads the page and its parts, then the service worker fetches every file
    once more into its cache (from the browser's HTTP cache where the server allows it)."""
    transferred = {name: gzipped((out / name).read_bytes()) for name in FOLDER_FILES + ['sw.js']}
    total = sum(transferred.values())
    largest = ', '.join(f'{name} {size / 1000:.1f}' for name, size in
                        sorted(transferred.items(), key=lambda item: -item[1])[:4])
    print(f'{out.name}: a first load transfers {total / 1000:.1f} KB gzipped ({largest} ...)')
    data = single.read_bytes()
    print(f'{single.parent.name}/{single.name}: {len(data) / 1000:.1f} KB, {gzipped(data) / 1000:.1f} KB gzipped')


def main():
    if sys.argv[1] == '--sizes':
        out, single_dir = pathlib.Path(sys.argv[2]), pathlib.Path(sys.argv[3])
        sizes(out, max(single_dir.glob('fotonar-*.html'), key=lambda path: path.stat().st_mtime))
        return
    source, out, version = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2]), sys.argv[3]
    single_dir = pathlib.Path(sys.argv[4])
    page = source / 'src' / 'web' / 'page'
    for name in PAGE_FILES:
        shutil.copyfile(page / name, out / name)
    # The page says what the program says where it cannot start, even where the program itself
    # could not be loaded: its words, from the program's source.
    words = re.search(r'kStartupFailure = "([^"]*)"',
                      (source / 'src' / 'shared' / 'windowcontroller.h').read_text()).group(1)
    script = (page / 'fotonar.js').read_text().replace('@STARTUP_FAILURE@', words)
    (out / 'fotonar.js').write_text(script.replace('@SINGLE_FILE@', 'null'))
    (out / 'fonts').mkdir(exist_ok=True)
    for name, font in FONTS.items():
        subprocess.run(['pyftsubset', str(LIBERATION / font), f'--unicodes={CZECH}',
                        '--flavor=woff2', '--layout-features=kern', '--no-hinting',
                        f'--output-file={out / "fonts" / name}'], check=True)
    shutil.copyfile('/usr/share/doc/fonts-liberation2/copyright', out / 'fonts' / 'LICENSE.txt')
    for size in (192, 512):
        subprocess.run(['rsvg-convert', '-w', str(size), '-h', str(size),
                        str(source / 'assets' / 'fotonar.svg'), '-o', str(out / f'icon-{size}.png')],
                       check=True)
    for name in ('alfa', 'beta'):
        bmp_to_png(source / 'assets' / f'{name}.bmp', out / f'{name}.png')

    digest = hashlib.sha256()
    for name in FOLDER_FILES:
        digest.update((out / name).read_bytes())
    worker = (page / 'sw.js').read_text()
    worker = worker.replace('@CACHE@', f'fotonar-{version}-{digest.hexdigest()[:12]}')
    worker = worker.replace('@FILES@', json.dumps(['./'] + FOLDER_FILES))
    (out / 'sw.js').write_text(worker)

    single_dir.mkdir(exist_ok=True)
    for old in single_dir.glob('fotonar-*.html'):
        old.unlink()
    single = single_dir / f'fotonar-{version}.html'
    single.write_text(single_file(source, out, script, page))
    sizes(out, single)


if __name__ == '__main__':
    main()
