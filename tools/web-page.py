#!/usr/bin/env python3
"""Lays out the browser build's folder around fotonar-core.js and .wasm: the page, its script
and style, the fonts' subsets, the icons, the images, the manifest and the service worker that
caches them all. Prints what a first visit transfers, gzipped.

Usage: web-page.py SOURCE_DIR OUT_DIR VERSION
Needs: pyftsubset with Brotli (Debian: fonttools, python3-brotli), rsvg-convert (librsvg2-bin),
and Liberation's fonts (fonts-liberation2)."""

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


def main():
    source, out, version = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2]), sys.argv[3]
    page = source / 'src' / 'web' / 'page'
    for name in PAGE_FILES:
        shutil.copyfile(page / name, out / name)
    # The page says what the program says where it cannot start, even where the program itself
    # could not be loaded: its words, from the program's source.
    words = re.search(r'kStartupFailure = "([^"]*)"',
                      (source / 'src' / 'shared' / 'windowcontroller.h').read_text()).group(1)
    script = out / 'fotonar.js'
    script.write_text(script.read_text().replace('@STARTUP_FAILURE@', words))
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

    files = PAGE_FILES + ['fotonar-core.js', 'fotonar-core.wasm', 'icon-192.png', 'icon-512.png',
                          'alfa.png', 'beta.png'] + [f'fonts/{name}' for name in FONTS]
    digest = hashlib.sha256()
    for name in files:
        digest.update((out / name).read_bytes())
    worker = (page / 'sw.js').read_text()
    worker = worker.replace('@CACHE@', f'fotonar-{version}-{digest.hexdigest()[:12]}')
    worker = worker.replace('@FILES@', json.dumps(['./'] + files))
    (out / 'sw.js').write_text(worker)

    # A first visit loads the page and its parts, then the service worker fetches every file
    # once more into its cache (from the browser's HTTP cache where the server allows it).
    transferred = files + ['sw.js']
    sizes = {name: len(gzip.compress((out / name).read_bytes(), 9)) for name in transferred}
    total = sum(sizes.values())
    largest = ', '.join(f'{name} {size / 1000:.1f}' for name, size in
                        sorted(sizes.items(), key=lambda item: -item[1])[:4])
    print(f'build-web: a first load transfers {total / 1000:.1f} KB gzipped ({largest} ...)')


if __name__ == '__main__':
    main()
