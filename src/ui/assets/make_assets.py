#!/usr/bin/python3
"""Generate keylookup's picture assets.

Writes, next to this script:
  background.jpg  960x600 brushed-metal window background (baseline JPEG, 96 dpi)
  icon.png        32x32 RGBA application icon (coral tile with an eighth note)
  icon.ico        the same icon for Windows, drawn at 16, 24, 32, 48 and 256 px
                  (32-bit with alpha; the 256 px image PNG-compressed)
  icons/NxN.png   the icon at the desktop's theme sizes (16 to 256), for menus and launchers
  icons/scalable.svg  the same drawing as vector shapes

Run from the repository root:
    /usr/bin/python3 src/ui/assets/make_assets.py

Needs Debian's python3-pil and python3-numpy. Output is deterministic: the
random generator is seeded, so re-running produces identical files.
"""
import io
import os
import struct

import numpy as np
from PIL import Image, ImageDraw

HERE = os.path.dirname(os.path.abspath(__file__))
W, H = 960, 600


def box_blur_rows(a, k):
    """Horizontal moving average of width k (wraps around at the edges)."""
    c = np.cumsum(np.concatenate([a[:, -k:], a], axis=1), axis=1)
    return (c[:, k:] - c[:, :-k]) / k


def background(rng):
    y, x = np.mgrid[0:H, 0:W].astype(np.float64)
    u, v = x / (W - 1), y / (H - 1)

    # Colour ramp, left to right: steel blue (upper left) / teal (lower left)
    # -> lavender -> pink.  The ramp leans slightly so the lower edge runs ahead.
    steel, teal = np.array([72, 110, 158.0]), np.array([56, 126, 136.0])
    lavender, pink = np.array([166, 154, 212.0]), np.array([234, 160, 196.0])
    left = steel + np.clip(v * 1.1 - 0.1, 0, 1)[..., None] * (teal - steel)
    t = np.clip(u + 0.12 * (v - 0.5), 0, 1)[..., None]
    a = np.clip(t / 0.56, 0, 1)
    a = a * a * (3 - 2 * a)                       # smoothstep
    b = np.clip((t - 0.56) / 0.44, 0, 1)
    base = np.where(t < 0.56, left + a * (lavender - left), lavender + b * (pink - lavender))
    # Lighter towards the lower right.
    light = 0.84 + 0.30 * (0.55 * u + 0.45 * v) ** 1.3
    base *= light[..., None]

    # Brushing grain: white noise smeared along rows at a few scales, then
    # tilted a couple of degrees so it is not perfectly horizontal.
    pad = 80
    n = rng.standard_normal((H + 2 * pad, W + 2 * pad))
    grain = 0.6 * box_blur_rows(n, 90) * 9.5 + 0.4 * box_blur_rows(n, 12) * 3.5
    grain += 0.5 * box_blur_rows(rng.standard_normal(n.shape), 300) * 17
    g = Image.fromarray(grain.astype(np.float32), mode="F").rotate(-1.5, Image.Resampling.BILINEAR)
    grain = np.asarray(g)[pad:pad + H, pad:pad + W]
    fine = rng.standard_normal((H, W))            # per-pixel speckle
    shade = 1.0 + 0.045 * grain + 0.026 * fine

    img = base * shade[..., None]

    # Scratches: a few hundred thin light lines, drawn at 4x and reduced so
    # they come out as anti-aliased 1 px strokes.
    s = 4
    layer = Image.new("L", (W * s, H * s), 0)
    d = ImageDraw.Draw(layer)
    for _ in range(450):
        cx, cy = rng.uniform(0, W), rng.uniform(0, H)
        # Mostly along the brushing, with plenty of stray angles.
        ang = rng.normal(0, 0.25) if rng.random() < 0.45 else rng.uniform(0, np.pi)
        ln = rng.pareto(1.6) * 25 + 8
        dx, dy = np.cos(ang) * ln / 2, np.sin(ang) * ln / 2
        level = int(rng.uniform(60, 255))
        d.line([(s * (cx - dx), s * (cy - dy)), (s * (cx + dx), s * (cy + dy))],
               fill=level, width=s)
    scr = np.asarray(layer.resize((W, H), Image.Resampling.BOX), np.float64) / 255.0
    # A faint dark edge one pixel below each scratch gives it some relief.
    shadow = np.roll(scr, 1, axis=0)
    img = img * (1 - 0.10 * shadow[..., None]) + scr[..., None] * 0.30 * (255 - img)

    out = Image.fromarray(np.clip(img + 0.5, 0, 255).astype(np.uint8), "RGB")
    out.save(os.path.join(HERE, "background.jpg"), "JPEG", quality=90,
             progressive=False, optimize=False, dpi=(96, 96), subsampling=0)


THEME_SIZES = (16, 24, 32, 48, 64, 128, 256)
ICO_SIZES = (16, 24, 32, 48, 256)

# The drawing, in a 32-unit square: a rounded coral tile, an eighth note on it.
TILE_RADIUS = 6.0
CORAL = (237, 73, 84)
HEAD = (12.2, 22.9, 5.2, 3.7, -22)          # centre, half axes, tilt in degrees
STEM = (15.6, 17.5, 4.5, 22.5)              # left, right, top, bottom
INK_TOP, INK_BOTTOM = (255, 255, 255), (255, 220, 226)


def flag_curves():
    """The flag as two cubic Bezier curves: the outer edge swells out to the right and sweeps
    down to a point, the inner edge curls back up to meet the stem."""
    P = lambda dx, dy: (STEM[1] + dx, STEM[2] + dy)
    return [(P(-0.3, 0), P(0.6, 3.8), P(7.6, 5.2), P(5.6, 13.2)),
            (P(5.6, 13.2), P(5.9, 8.6), P(1.2, 7.0), P(-0.3, 6.0))]


def ink_span():
    """Where the note's shading runs from white to pale pink: the stem's top to the head's foot."""
    return STEM[2], HEAD[1] + HEAD[3]


def icon_rgba(n):
    """The icon drawn at n x n pixels, supersampled and box-filtered."""
    S = 8                                   # supersampling factor
    N = n * S
    unit = 32 / n                           # drawing units per pixel
    y, x = (np.mgrid[0:N, 0:N] + 0.5) / S * unit

    # Rounded-square tile: signed distance.
    r = TILE_RADIUS
    qx = np.abs(x - 16) - (16 - r)
    qy = np.abs(y - 16) - (16 - r)
    dist = np.hypot(np.maximum(qx, 0), np.maximum(qy, 0)) + np.minimum(np.maximum(qx, qy), 0) - r
    tile = (dist <= 0).astype(np.float64)

    # Eighth note: tilted oval head, stem from its right side, one flag.
    hx, hy, rx, ry, tilt = HEAD
    a = np.radians(tilt)
    ex = (x - hx) * np.cos(a) + (y - hy) * np.sin(a)
    ey = -(x - hx) * np.sin(a) + (y - hy) * np.cos(a)
    note = (ex / rx) ** 2 + (ey / ry) ** 2 <= 1
    sx0, sx1, top, bottom = STEM
    note |= (x >= sx0) & (x <= sx1) & (y >= top) & (y <= bottom)

    def bezier(p0, p1, p2, p3, k=48):
        p0, p1, p2, p3 = map(np.array, (p0, p1, p2, p3))
        t = np.linspace(0, 1, k)[:, None]
        pts = ((1 - t) ** 3 * p0 + 3 * (1 - t) ** 2 * t * p1
               + 3 * (1 - t) * t ** 2 * p2 + t ** 3 * p3)
        return [(px * S / unit, py * S / unit) for px, py in pts]

    outline = [pt for curve in flag_curves() for pt in bezier(*curve)]
    flag = Image.new("L", (N, N), 0)
    ImageDraw.Draw(flag).polygon(outline, fill=255)
    note |= np.asarray(flag) > 0

    ink_from, ink_to = ink_span()
    k = np.clip((y - ink_from) / (ink_to - ink_from), 0, 1)[..., None]
    ink = (1 - k) * np.array(INK_TOP, np.float64) + k * np.array(INK_BOTTOM, np.float64)
    rgb = np.where(note[..., None], ink, np.array(CORAL, np.float64))

    def down(a):                            # box-filter S x S blocks
        return a.reshape(n, S, n, S, *a.shape[2:]).mean(axis=(1, 3))

    alpha = down(tile)
    rgba = np.dstack([down(rgb), alpha * 255.0])
    rgba = np.clip(rgba + 0.5, 0, 255).astype(np.uint8)
    rgba[alpha == 0, :3] = 0                # fully transparent corners
    return rgba


def icon_svg():
    """The same drawing as vector shapes, for themes that scale icons themselves."""
    hx, hy, rx, ry, tilt = HEAD
    sx0, sx1, top, bottom = STEM
    ink_from, ink_to = ink_span()
    hexrgb = lambda c: "#%02x%02x%02x" % c
    num = lambda v: ("%.2f" % v).rstrip("0").rstrip(".")
    pt = lambda p: "%s,%s" % (num(p[0]), num(p[1]))
    flag = "M" + pt(flag_curves()[0][0]) + "".join(
        " C" + " ".join(pt(p) for p in curve[1:]) for curve in flag_curves()) + " Z"
    return f"""<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32" viewBox="0 0 32 32">
  <defs>
    <linearGradient id="ink" gradientUnits="userSpaceOnUse" x1="0" y1="{num(ink_from)}" x2="0" y2="{num(ink_to)}">
      <stop offset="0" stop-color="{hexrgb(INK_TOP)}"/>
      <stop offset="1" stop-color="{hexrgb(INK_BOTTOM)}"/>
    </linearGradient>
  </defs>
  <rect width="32" height="32" rx="{num(TILE_RADIUS)}" fill="{hexrgb(CORAL)}"/>
  <g fill="url(#ink)">
    <ellipse cx="{num(hx)}" cy="{num(hy)}" rx="{num(rx)}" ry="{num(ry)}" transform="rotate({num(tilt)} {num(hx)} {num(hy)})"/>
    <rect x="{num(sx0)}" y="{num(top)}" width="{num(sx1 - sx0)}" height="{num(bottom - top)}"/>
    <path d="{flag}"/>
  </g>
</svg>
"""


def icon():
    rgba = icon_rgba(32)
    Image.fromarray(rgba, "RGBA").save(os.path.join(HERE, "icon.png"), optimize=True)
    write_ico([icon_rgba(n) for n in ICO_SIZES], os.path.join(HERE, "icon.ico"))

    themed = os.path.join(HERE, "icons")
    os.makedirs(themed, exist_ok=True)
    for n in THEME_SIZES:
        Image.fromarray(icon_rgba(n), "RGBA").save(os.path.join(themed, f"{n}x{n}.png"), optimize=True)
    with open(os.path.join(themed, "scalable.svg"), "w") as f:
        f.write(icon_svg())


def ico_image(rgba):
    """One image of an .ico: a 32 bpp BGRA DIB plus AND mask, or a PNG at 256 px, which
    Windows reads that way only."""
    n = rgba.shape[0]
    if n >= 256:
        out = io.BytesIO()
        Image.fromarray(rgba, "RGBA").save(out, "PNG", optimize=True)
        return out.getvalue()
    bgra = rgba[::-1, :, [2, 1, 0, 3]].tobytes()   # bottom-up rows
    mask_row = ((n + 31) // 32) * 4
    andmask = bytearray()
    for row in rgba[::-1, :, 3]:
        bits = np.packbits(row == 0).tobytes()
        andmask += bits + b"\0" * (mask_row - len(bits))
    return struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0,
                       len(bgra) + len(andmask), 0, 0, 0, 0) + bgra + bytes(andmask)


def write_ico(images, path):
    """.ico with one 32-bit image per size, smallest first."""
    data = [ico_image(rgba) for rgba in images]
    header = struct.pack("<HHH", 0, 1, len(data))
    offset = len(header) + 16 * len(data)
    entries = b""
    for rgba, blob in zip(images, data):
        n = rgba.shape[0]
        entries += struct.pack("<BBBBHHII", n % 256, n % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(header + entries + b"".join(data))


if __name__ == "__main__":
    background(np.random.default_rng(20240611))
    icon()
