#!/usr/bin/env python3
"""Draws the program's icons (107 large, 108 small) and the panel decoration (137) as PNG,
and the same water drop as the desktop's application icon: PNG at the usual sizes and SVG.

Standard library only; run from anywhere: python3 resources/make_pictures.py
"""
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

APP_ID = "org.tavimor.Tavimor"
APP_ICON_SIZES = (16, 24, 32, 48, 64, 128, 256)


def write_png(path, width, height, pixels):
    rows = b"".join(b"\x00" + bytes(c for px in pixels[y * width:(y + 1) * width] for c in px)
                    for y in range(height))

    def chunk(tag, data):
        body = tag + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(rows, 9)))
        f.write(chunk(b"IEND", b""))


def render(width, height, shapes, samples=4):
    """shapes: list of (inside(x, y) -> bool, colour(x, y) -> (r, g, b, a)); later shapes on top."""
    out = []
    for py in range(height):
        for px in range(width):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(samples):
                for sx in range(samples):
                    x = px + (sx + 0.5) / samples
                    y = py + (sy + 0.5) / samples
                    r = g = b = a = 0.0
                    for inside, colour in shapes:
                        if inside(x, y):
                            cr, cg, cb, ca = colour(x, y)
                            ca /= 255.0
                            r = cr * ca + r * (1 - ca)
                            g = cg * ca + g * (1 - ca)
                            b = cb * ca + b * (1 - ca)
                            a = ca + a * (1 - ca)
                    acc[0] += r
                    acc[1] += g
                    acc[2] += b
                    acc[3] += a
            n = samples * samples
            alpha = acc[3] / n
            if alpha > 0:
                # Colours were accumulated premultiplied; undo that for the PNG.
                out.append(tuple(min(255, round(c / n / alpha)) for c in acc[:3]) +
                           (round(alpha * 255),))
            else:
                out.append((0, 0, 0, 0))
    return out


def drop(cx, cy, radius, tip_y):
    """A water drop: a circle with a pointed top at (cx, tip_y)."""
    d = cy - tip_y
    half_angle = math.asin(min(1.0, radius / d))

    # The tangent points of the cone sit this far below the tip.
    tangent_y = tip_y + math.sqrt(max(0.0, d * d - radius * radius)) * math.cos(half_angle)

    def inside(x, y):
        if (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2:
            return True
        return tip_y <= y <= tangent_y and abs(x - cx) <= (y - tip_y) * math.tan(half_angle)

    return inside


def drop_outline(radius, tip_y):
    """The radius and tip of the dark rim around a drop."""
    return radius + max(1.0, radius * 0.08), tip_y - max(1.5, radius * 0.12)


def drop_geometry(size):
    """The icon's drop in a square of size pixels: centre x, centre y, radius, tip y."""
    s = size / 32.0
    return 16 * s, 20 * s, 10.5 * s, 2.5 * s


def drop_shapes(cx, cy, radius, tip_y):
    body = drop(cx, cy, radius, tip_y)
    outline = drop(cx, cy, *drop_outline(radius, tip_y))

    def body_colour(x, y):
        t = max(0.0, min(1.0, (y - tip_y) / (cy + radius - tip_y)))
        return (int(90 - 60 * t), int(170 - 70 * t), int(240 - 40 * t), 255)

    def shine(x, y):
        return (x - (cx - radius * 0.38)) ** 2 / (radius * 0.16) ** 2 + \
            (y - (cy - radius * 0.05)) ** 2 / (radius * 0.42) ** 2 <= 1

    return [
        (outline, lambda x, y: (20, 60, 130, 255)),
        (body, body_colour),
        (shine, lambda x, y: (255, 255, 255, 170)),
    ]


def gauge_shapes(cx, cy, radius, reading):
    """A round dial with ticks on a 270 degree scale and a needle at reading (0..1)."""
    shapes = [
        (lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= (radius + 2) ** 2,
         lambda x, y: (60, 64, 72, 255)),
        (lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2,
         lambda x, y: (250, 250, 245, 255)),
    ]
    start, sweep = math.radians(225), math.radians(270)

    def on_segment(x, y, x0, y0, x1, y1, width):
        dx, dy = x1 - x0, y1 - y0
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
        return (x - x0 - t * dx) ** 2 + (y - y0 - t * dy) ** 2 <= (width / 2) ** 2

    for i in range(11):
        a = start - sweep * i / 10
        inner = radius * (0.72 if i % 5 == 0 else 0.82)
        seg = (cx + inner * math.cos(a), cy - inner * math.sin(a),
               cx + radius * 0.94 * math.cos(a), cy - radius * 0.94 * math.sin(a))
        shapes.append((lambda x, y, s=seg: on_segment(x, y, *s, 1.3),
                       lambda x, y: (40, 40, 48, 255)))
    a = start - sweep * reading
    needle = (cx, cy, cx + radius * 0.78 * math.cos(a), cy - radius * 0.78 * math.sin(a))
    shapes.append((lambda x, y: on_segment(x, y, *needle, 1.8), lambda x, y: (200, 30, 30, 255)))
    shapes.append((lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= (radius * 0.12) ** 2,
                   lambda x, y: (40, 40, 48, 255)))
    return shapes


def drop_svg(size):
    """The drop of drop_shapes as SVG paths, drawn in a size x size square."""
    cx, cy, radius, tip_y = drop_geometry(size)

    def num(v):
        return ("%.3f" % v).rstrip("0").rstrip(".")

    def path(r, tip):
        # From the tip along the tangent, round the bottom of the circle, back to the tip.
        ty = cy - r * r / (cy - tip)
        tx = math.sqrt(max(0.0, r * r - (cy - ty) ** 2))
        return "M%s %sL%s %sA%s %s 0 1 1 %s %sZ" % (
            num(cx), num(tip), num(cx + tx), num(ty), num(r), num(r), num(cx - tx), num(ty))

    # body_colour of drop_shapes, whose integer steps a two-stop gradient follows closely.
    return "\n".join([
        '<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">'
        % (size, size, size, size),
        '  <defs>',
        '    <linearGradient id="water" gradientUnits="userSpaceOnUse" x1="0" y1="%s" x2="0" y2="%s">'
        % (num(tip_y), num(cy + radius)),
        '      <stop offset="0" stop-color="#5aaaf0"/>',
        '      <stop offset="1" stop-color="#1e64c8"/>',
        '    </linearGradient>',
        '  </defs>',
        '  <path d="%s" fill="#143c82"/>' % path(*drop_outline(radius, tip_y)),
        '  <path d="%s" fill="url(#water)"/>' % path(radius, tip_y),
        '  <ellipse cx="%s" cy="%s" rx="%s" ry="%s" fill="#ffffff" fill-opacity="0.667"/>'
        % (num(cx - radius * 0.38), num(cy - radius * 0.05), num(radius * 0.16),
           num(radius * 0.42)),
        '</svg>',
        ''])


def main():
    for name, size in (("107-32.png", 32), ("107-16.png", 16), ("108.png", 16)):
        pixels = render(size, size, drop_shapes(*drop_geometry(size)))
        write_png(os.path.join(HERE, "icons", name), size, size, pixels)

    # The application icon of the desktop: the same drop in the sizes of the hicolor theme.
    theme = os.path.join(HERE, "desktop", "hicolor")
    for size in APP_ICON_SIZES:
        folder = os.path.join(theme, "%dx%d" % (size, size), "apps")
        os.makedirs(folder, exist_ok=True)
        pixels = render(size, size, drop_shapes(*drop_geometry(size)))
        write_png(os.path.join(folder, APP_ID + ".png"), size, size, pixels)
    folder = os.path.join(theme, "scalable", "apps")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, APP_ID + ".svg"), "w") as f:
        f.write(drop_svg(256))

    # Bitmap 137: a drop above a hygrometer dial, 63 x 102 pixels.
    shapes = drop_shapes(31.5, 30, 17, 4) + gauge_shapes(31.5, 76, 22, 0.62)
    write_png(os.path.join(HERE, "bitmaps", "137.png"), 63, 102, render(63, 102, shapes))


if __name__ == "__main__":
    main()
