#!/usr/bin/env python3
"""Draws the About window's two small pictures as XPM files in the standard
16-colour palette: the calculator (32 x 32, silver shows the background) and
the open-door glyph of the close button (18 x 18, olive shows the button),
with the door's greyed twin for the disabled button.

Run from anywhere: python3 draw_pictures.py  (writes the .xpm files beside it,
and the calculator as ../help/calculette.png for the help pages)
"""
import os
import struct
import zlib

PALETTE = {  # XPM key -> the standard 16-colour palette
    '.': '#000000', 'M': '#800000', 'g': '#008000', 'o': '#808000',
    'n': '#000080', 'p': '#800080', 't': '#008080', 's': '#C0C0C0',
    'r': '#808080', 'R': '#FF0000', 'l': '#00FF00', 'y': '#FFFF00',
    'b': '#0000FF', 'm': '#FF00FF', 'c': '#00FFFF', 'w': '#FFFFFF',
}


def canvas(w, h, fill):
    return [[fill] * w for _ in range(h)]


def rect(img, x0, y0, x1, y1, key):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            img[y][x] = key


def calculator():
    img = canvas(32, 32, 's')
    rect(img, 2, 1, 29, 30, '.')              # black outline
    rect(img, 3, 2, 28, 29, 't')              # teal body
    rect(img, 3, 2, 3, 28, 'c')               # cyan left edge
    rect(img, 3, 2, 27, 2, 'c')               # cyan top edge
    for y in range(2, 30):                    # dotted right edge
        img[y][28] = 'b' if y % 2 == 0 else 'p'
    for x in range(3, 29):                    # dotted bottom edge
        img[29][x] = 'b' if x % 2 == 1 else 'p'
    rect(img, 6, 4, 25, 9, '.')               # display window
    rect(img, 7, 5, 24, 8, 'g')
    for x, y in [(20, 5), (21, 5), (20, 6), (21, 7), (20, 8), (21, 8),
                 (23, 5), (23, 6), (23, 7), (23, 8)]:
        img[y][x] = 'l'                       # digits "5 1" on the display

    def key(x, y, width=2):
        rect(img, x, y, x + width - 1, y + 1, 's')
        rect(img, x + width, y + 1, x + width, y + 2, '.')
        rect(img, x + 1, y + 2, x + width, y + 2, '.')

    for row in range(5):
        y = 12 + 3 * row
        for x in (6, 10, 14):                 # block of three columns
            key(x, y)
        if row < 4:
            for x in (19, 23):                # block of two columns
                key(x, y)
        else:
            key(19, y, width=6)               # the wide key at the bottom
    return img


def door():
    img = canvas(18, 18, 'o')
    rect(img, 6, 0, 11, 1, 'g')               # the green sign
    rect(img, 3, 3, 14, 17, 'n')              # dark-blue frame
    for y in range(4, 17):                    # dithered opening
        for x in range(4, 14):
            img[y][x] = 'm' if (x + y) % 2 == 0 else 'c'
    for y in range(4, 18):                    # the leaf swung open, in perspective
        img[y][15] = 'r'
        if 5 <= y <= 16:
            img[y][16] = 'r'
        if 6 <= y <= 15:
            img[y][17] = '.'
    img[4][16] = img[17][16] = '.'
    img[11][16] = 'y'                         # handle, on the leaf
    return img


def greyed(img):
    """Disabled look: the dark pixels in grey over a white relief one pixel
    lower right; the light pixels fall away into the background."""
    dark = set('.MgnptrRb')
    h, w = len(img), len(img[0])
    out = canvas(w, h, 'o')
    for y in range(h - 1):
        for x in range(w - 1):
            if img[y][x] in dark:
                out[y + 1][x + 1] = 'w'
    for y in range(h):
        for x in range(w):
            if img[y][x] in dark:
                out[y][x] = 'r'
    return out


def write_xpm(path, name, img):
    keys = sorted({k for row in img for k in row})
    w, h = len(img[0]), len(img)
    lines = [f'"{w} {h} {len(keys)} 1",']
    lines += [f'"{k} c {PALETTE[k]}",' for k in keys]
    lines += [f'"{"".join(row)}",' for row in img]
    lines[-1] = lines[-1].rstrip(',')
    with open(path, 'w', encoding='ascii') as f:
        f.write('/* XPM */\n')
        f.write('/* Drawn by draw_pictures.py; edit that script, not this file. */\n')
        f.write(f'static const char* const {name}[] = {{\n')
        f.write('\n'.join(lines) + '\n};\n')


def write_png(path, img, transparent):
    """RGBA PNG of a picture, the `transparent` key fully see-through."""
    def chunk(kind, data):
        body = kind + data
        return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body))
    rows = b''
    for row in img:
        rows += b'\0'
        for k in row:
            rgb = bytes.fromhex(PALETTE[k][1:])
            rows += rgb + (b'\0' if k == transparent else b'\xff')
    header = struct.pack('>IIBBBBB', len(img[0]), len(img), 8, 6, 0, 0, 0)
    with open(path, 'wb') as f:
        f.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) +
                chunk(b'IDAT', zlib.compress(rows, 9)) + chunk(b'IEND', b''))


if __name__ == '__main__':
    here = os.path.dirname(os.path.abspath(__file__))
    calc = calculator()
    write_xpm(os.path.join(here, 'calculette.xpm'), 'calculette_xpm', calc)
    write_png(os.path.join(here, '..', 'help', 'calculette.png'), calc, 's')
    d = door()
    write_xpm(os.path.join(here, 'porte.xpm'), 'porte_xpm', d)
    write_xpm(os.path.join(here, 'porte_grisee.xpm'), 'porte_grisee_xpm', greyed(d))
