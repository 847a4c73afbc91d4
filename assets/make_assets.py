#!/usr/bin/env python3
"""Draws every picture of the main window and the desktop icons.

Standard library only, plus cjpeg (libjpeg-turbo-progs) for the progressive
background. Run it once after a change and commit its output beside it:

    python3 assets/make_assets.py

Writes assets/background.jpg (1 x 425 gradient), assets/glyphs/*.xpm (the
eight button glyphs, 24-bit colours on their own background colour, which the
button draws transparent), assets/icons/tallix.xpm (the 32 x 32, 16-colour
window icon) and assets/icons/hicolor/<n>/tallix.png (16, 32, 48, 256).
Shapes are described in pixel coordinates and anti-aliased by 4 x 4
supersampling, so the output is the same on every machine.
"""

import math
import os
import struct
import subprocess
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SUB = 4  # supersampling per axis


# ---------------------------------------------------------------- shapes
def seg(x0, y0, x1, y1, width):
    """A stroke from (x0, y0) to (x1, y1) with round ends."""
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy or 1e-9
    half = width / 2

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
        px, py = x0 + t * dx - x, y0 + t * dy - y
        return px * px + py * py <= half * half
    return inside


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def disk(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def arc(cx, cy, r, a0, a1, width):
    """Part of a circle, angles in degrees, counter-clockwise, y pointing down."""
    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        if abs(d - r) > width / 2:
            return False
        a = math.degrees(math.atan2(cy - y, x - cx)) % 360
        lo, hi = a0 % 360, a1 % 360
        return lo <= a <= hi if lo <= hi else (a >= lo or a <= hi)
    return inside


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def polyline(points, width):
    return union(*(seg(*points[i], *points[i + 1], width) for i in range(len(points) - 1)))


def render(width, height, background, layers):
    """layers: (shape, colour) painted in order, each anti-aliased."""
    img = [[background] * width for _ in range(height)]
    for shape, colour in layers:
        for j in range(height):
            for i in range(width):
                hits = sum(shape(i + (a + 0.5) / SUB, j + (b + 0.5) / SUB)
                           for a in range(SUB) for b in range(SUB))
                if hits:
                    f = hits / (SUB * SUB)
                    img[j][i] = tuple(round(c * f + o * (1 - f)) for c, o in zip(colour, img[j][i]))
    return img


# ---------------------------------------------------------------- writers
def write_xpm(path, name, img):
    colours = {}
    for row in img:
        for px in row:
            colours.setdefault(px, None)
    chars = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"
    cpp = 1 if len(colours) <= len(chars) else 2
    keys = []
    for k in range(len(colours)):
        keys.append(chars[k] if cpp == 1 else chars[k // len(chars)] + chars[k % len(chars)])
    table = dict(zip(colours, keys))
    lines = ['/* XPM */', f'static const char* const {name}[] = {{',
             f'"{len(img[0])} {len(img)} {len(colours)} {cpp}",']
    lines += [f'"{table[c]} c #{c[0]:02X}{c[1]:02X}{c[2]:02X}",' for c in colours]
    lines += ['"' + ''.join(table[px] for px in row) + '",' for row in img]
    lines[-1] = lines[-1].rstrip(',')
    lines.append('};')
    with open(path, 'w') as f:
        f.write('\n'.join(lines) + '\n')


def write_png(path, rgba_rows):
    height, width = len(rgba_rows), len(rgba_rows[0])
    raw = b''.join(b'\0' + bytes(v for px in row for v in px) for row in rgba_rows)

    def chunk(kind, data):
        c = struct.pack('>I', len(data)) + kind + data
        return c + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF)
    png = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0))
    png += chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b'')
    with open(path, 'wb') as f:
        f.write(png)


# ---------------------------------------------------------------- background
def background():
    top, mid = (116, 164, 238), (186, 214, 226)
    rows = []
    for y in range(425):
        t = y / 424
        u = t / 0.48 if t <= 0.48 else (1 - t) / 0.52
        s = u * u * (3 - 2 * u)  # smoothstep: no visible band at the turn
        rows.append(tuple(round(a + (b - a) * s) for a, b in zip(top, mid)))
    with tempfile.TemporaryDirectory() as tmp:
        ppm = os.path.join(tmp, 'bg.ppm')
        with open(ppm, 'wb') as f:
            f.write(b'P6\n1 425\n255\n' + b''.join(bytes(c) for c in rows))
        subprocess.run(['cjpeg', '-progressive', '-quality', '95', '-sample', '1x1',
                        '-outfile', os.path.join(HERE, 'background.jpg'), ppm], check=True)


# ---------------------------------------------------------------- glyphs
GREY, WHITE, NEAR_WHITE, BLACK = (195, 195, 195), (255, 255, 255), (242, 242, 242), (0, 0, 0)


def italic_x(w=1.9):
    return union(seg(6.5, 10, 12.5, 19.5, w), seg(13.5, 10, 5.5, 19.5, w))


def glyphs():
    g = {}
    g['plus'] = render(24, 24, GREY, [(union(rect(5, 10, 19, 14), rect(10, 5, 14, 19)), BLACK)])
    g['minus'] = render(24, 24, GREY, [(rect(5, 10, 19, 14), BLACK)])
    g['multiply'] = render(24, 24, GREY, [
        (union(seg(6.5, 6.5, 17.5, 17.5, 3.2), seg(17.5, 6.5, 6.5, 17.5, 3.2)), (96, 96, 96)),
        (disk(12, 12, 2.2), (16, 16, 16))])
    g['divide'] = render(24, 24, GREY, [
        (rect(5, 11, 19, 14), BLACK), (rect(6, 14, 20, 15), (128, 128, 128)),
        (disk(12, 6.5, 2.1), BLACK), (disk(12, 18.5, 2.1), BLACK)])
    g['sqrt'] = render(24, 24, WHITE, [
        (polyline([(2.5, 13), (6, 11), (10, 20), (15, 3.5), (22, 3.5)], 1.8), BLACK)])
    two = union(arc(18, 5.2, 2.4, -40, 170, 1.3), seg(19.9, 6.8, 15.6, 11, 1.3), seg(15.6, 11, 21, 11, 1.3))
    g['square'] = render(24, 24, NEAR_WHITE, [(union(italic_x(), two), BLACK)])
    y = union(seg(15.5, 3.5, 18, 8.5, 1.3), seg(21.5, 3.5, 16, 12.5, 1.3))
    g['power'] = render(24, 24, NEAR_WHITE, [(union(italic_x(), y), BLACK)])
    g['backspace'] = render(24, 16, WHITE, [
        (union(seg(3, 9, 19, 9, 2), seg(3, 9, 8, 4, 2), seg(3, 9, 8, 14, 2), seg(19, 9, 19, 3, 2)), BLACK)])
    os.makedirs(os.path.join(HERE, 'glyphs'), exist_ok=True)
    for name, img in g.items():
        write_xpm(os.path.join(HERE, 'glyphs', name + '.xpm'), 'glyph_' + name, img)


# ---------------------------------------------------------------- icon
TEAL, DARK_TEAL, SILVER, SCREEN = (0, 128, 128), (0, 64, 64), (192, 192, 192), (200, 232, 200)
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
       (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
       (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def icon_layers(s):
    """The calculator on a 32-unit grid scaled by s: body, display bar, key grid, wide key."""
    layers = [(rect(5 * s, 1 * s, 27 * s, 31 * s), BLACK),
              (rect(6 * s, 2 * s, 26 * s, 30 * s), TEAL),
              (rect(8 * s, 4 * s, 24 * s, 10 * s), BLACK),
              (rect(9 * s, 5 * s, 23 * s, 9 * s), SCREEN),
              (rect(17 * s, 6 * s, 22 * s, 8 * s), DARK_TEAL)]
    keys = []
    for row in range(4):
        for col in range(4):
            if row == 3 and col >= 2:
                continue
            x, y = 8 + col * 4, 12 + row * 4.5
            keys.append(rect(x * s, y * s, (x + 3) * s, (y + 3) * s))
    keys.append(rect(16 * s, 25.5 * s, 23 * s, 28.5 * s))  # the wide key, bottom right
    layers.append((union(*keys), SILVER))
    return layers


def icons():
    # 16 colours, no anti-aliasing: every pixel takes the colour at its centre.
    img = [[None] * 32 for _ in range(32)]
    for j in range(32):
        for i in range(32):
            colour = None
            for shape, c in icon_layers(1):
                if shape(i + 0.5, j + 0.5):
                    colour = c
            img[j][i] = colour
    palette_img = [[min(VGA, key=lambda v: sum((a - b) ** 2 for a, b in zip(v, px))) if px else None
                    for px in row] for row in img]
    # XPM with a transparent outside
    colours = sorted({px for row in palette_img for px in row if px})
    chars = 'ABCDEFGHIJKLMNOP'
    table = {c: chars[k] for k, c in enumerate(colours)}
    lines = ['/* XPM */', 'static const char* const tallix_icon[] = {',
             f'"32 32 {len(colours) + 1} 1",', '". c None",']
    lines += [f'"{table[c]} c #{c[0]:02X}{c[1]:02X}{c[2]:02X}",' for c in colours]
    lines += ['"' + ''.join(table[px] if px else '.' for px in row) + '",' for row in palette_img]
    lines[-1] = lines[-1].rstrip(',')
    lines.append('};')
    os.makedirs(os.path.join(HERE, 'icons'), exist_ok=True)
    with open(os.path.join(HERE, 'icons', 'tallix.xpm'), 'w') as f:
        f.write('\n'.join(lines) + '\n')

    # Desktop icons: 32-bit with transparency, anti-aliased.
    for size in (16, 32, 48, 256):
        s = size / 32
        sub = 4 if size < 256 else 2
        rows = []
        layers = icon_layers(s)
        for j in range(size):
            row = []
            for i in range(size):
                acc = [0.0, 0.0, 0.0, 0.0]
                for a in range(sub):
                    for b in range(sub):
                        x, y = i + (a + 0.5) / sub, j + (b + 0.5) / sub
                        colour = None
                        for shape, c in layers:
                            if shape(x, y):
                                colour = c
                        if colour:
                            acc[0] += colour[0]
                            acc[1] += colour[1]
                            acc[2] += colour[2]
                            acc[3] += 1
                n = sub * sub
                alpha = acc[3] / n
                row.append((round(acc[0] / acc[3]) if acc[3] else 0, round(acc[1] / acc[3]) if acc[3] else 0,
                            round(acc[2] / acc[3]) if acc[3] else 0, round(alpha * 255)))
            rows.append(row)
        folder = os.path.join(HERE, 'icons', 'hicolor', f'{size}x{size}')
        os.makedirs(folder, exist_ok=True)
        write_png(os.path.join(folder, 'tallix.png'), rows)


if __name__ == '__main__':
    background()
    glyphs()
    icons()
