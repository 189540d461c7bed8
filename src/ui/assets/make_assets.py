#!/usr/bin/python3
"""Generate keylookup's picture assets.

Writes, next to this script:
  background.jpg  960x600 brushed-metal window background (baseline JPEG, 96 dpi)
  icon.png        32x32 RGBA application icon (coral tile with an eighth note)
  icon.ico        the same icon for Windows, drawn at 16, 24, 32, 48 and 256 px
                  (32-bit with alpha; the 256 px image PNG-compressed)

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


ICO_SIZES = (16, 24, 32, 48, 256)


def icon():
    im = Image.fromarray(draw_icon(32), "RGBA")
    im.save(os.path.join(HERE, "icon.png"), optimize=True)
    write_ico([draw_icon(n) for n in ICO_SIZES], os.path.join(HERE, "icon.ico"))


def draw_icon(n):
    """The icon at n x n pixels, RGBA; the shapes are laid out on a 32-unit grid."""
    S = 8                                   # supersampling factor
    N = n * S
    unit = 32 / n                           # grid units per output pixel
    y, x = (np.mgrid[0:N, 0:N] + 0.5) / S * unit   # coordinates in grid units

    # Rounded-square tile: signed distance, radius 6 px.
    r = 6.0
    qx = np.abs(x - 16) - (16 - r)
    qy = np.abs(y - 16) - (16 - r)
    dist = np.hypot(np.maximum(qx, 0), np.maximum(qy, 0)) + np.minimum(np.maximum(qx, qy), 0) - r
    tile = (dist <= 0).astype(np.float64)

    # Eighth note: tilted oval head, stem from its right side, one flag.
    hx, hy, a = 12.2, 22.9, np.radians(-22)
    ex = (x - hx) * np.cos(a) + (y - hy) * np.sin(a)
    ey = -(x - hx) * np.sin(a) + (y - hy) * np.cos(a)
    note = (ex / 5.2) ** 2 + (ey / 3.7) ** 2 <= 1
    sx0, sx1, top = 15.6, 17.5, 4.5
    note |= (x >= sx0) & (x <= sx1) & (y >= top) & (y <= 22.5)

    def bezier(p0, p1, p2, p3, n=48):
        t = np.linspace(0, 1, n)[:, None]
        pts = ((1 - t) ** 3 * p0 + 3 * (1 - t) ** 2 * t * p1
               + 3 * (1 - t) * t ** 2 * p2 + t ** 3 * p3)
        return [(px * S / unit, py * S / unit) for px, py in pts]

    # Flag: the outer edge swells out to the right and sweeps down to a point,
    # the inner edge curls back up to meet the stem.
    P = lambda dx, dy: np.array([sx1 + dx, top + dy])
    outline = (bezier(P(-0.3, 0), P(0.6, 3.8), P(7.6, 5.2), P(5.6, 13.2))
               + bezier(P(5.6, 13.2), P(5.9, 8.6), P(1.2, 7.0), P(-0.3, 6.0)))
    flag = Image.new("L", (N, N), 0)
    ImageDraw.Draw(flag).polygon(outline, fill=255)
    note |= np.asarray(flag) > 0

    # White at the top of the note shading to pale pink at the bottom.
    k = np.clip((y - top) / (hy + 3.7 - top), 0, 1)[..., None]
    ink = (1 - k) * np.array([255, 255, 255.0]) + k * np.array([255, 220, 226.0])
    coral = np.array([237, 73, 84.0])
    rgb = np.where(note[..., None], ink, coral)

    def down(a):                            # box-filter SxS blocks
        return a.reshape(n, S, n, S, *a.shape[2:]).mean(axis=(1, 3))

    alpha = down(tile)
    rgba = np.dstack([down(rgb), alpha * 255.0])
    rgba = np.clip(rgba + 0.5, 0, 255).astype(np.uint8)
    rgba[alpha == 0, :3] = 0                # fully transparent corners
    return rgba


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
