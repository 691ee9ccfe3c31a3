#!/usr/bin/env python3
"""Draws zuzar's icon and writes it as a Windows .ico file.

The artwork is a stylised shredder: a sheet of paper going into the slot of a slate-grey machine,
with cut strips coming out underneath. It is drawn with plain shapes at a high resolution and
averaged down to every size, so each image gets its own anti-aliasing; the smaller sizes use a
simpler drawing (fewer strips and text lines, wider outlines) so they stay legible.

The file holds twelve bitmap (DIB) images, no PNG: 32x32 at 1 bpp; 16, 32, 48 at 4 and at 8 bpp;
16, 32, 48, 128, 256 at 32 bpp. The 4 and 8 bpp images get palettes of their own (median cut),
every image an AND mask. Python 3 standard library only; the output is byte-for-byte repeatable.

    icongen.py OUTPUT.ico
"""

import struct
import sys

# Skin-neutral colours of a careful utility, as (r, g, b).
BODY = (70, 80, 90)
BODY_TOP = (104, 116, 128)
BODY_EDGE = (44, 50, 57)
SLOT = (22, 25, 29)
GROOVE = (56, 64, 72)
PAPER = (246, 247, 249)
PAPER_EDGE = (128, 138, 150)
FOLD = (208, 214, 221)
INK = (84, 120, 160)
LED = (92, 184, 92)
STRIP = (160, 170, 182)  # a strip too narrow for an outline of its own

# (width, height, bits per pixel) in directory order.
LAYOUT = [
    (32, 32, 1),
    (16, 16, 4), (32, 32, 4), (48, 48, 4),
    (16, 16, 8), (32, 32, 8), (48, 48, 8),
    (16, 16, 32), (32, 32, 32), (48, 48, 32), (128, 128, 32), (256, 256, 32),
]

MASTER_SIZE = 768  # every size above divides it, so each target pixel averages a whole block


class Canvas:
    """A square of opaque-or-transparent pixels, painted shape by shape, row span by row span."""

    def __init__(self, size):
        self.size = size
        self.rows = [[None] * size for _ in range(size)]

    def fill_spans(self, colour, spans):
        """spans(y) gives the [x0, x1) pixel ranges covered in row y (unit coordinates in, pixels out)."""
        for py in range(self.size):
            y = (py + 0.5) / self.size
            row = self.rows[py]
            for x0, x1 in spans(y):
                a = max(0, int(round(x0 * self.size)))
                b = min(self.size, int(round(x1 * self.size)))
                if b > a:
                    row[a:b] = [colour] * (b - a)

    def rect(self, colour, x0, y0, x1, y1):
        self.fill_spans(colour, lambda y: [(x0, x1)] if y0 <= y < y1 else [])

    def rounded_rect(self, colour, x0, y0, x1, y1, r):
        def spans(y):
            if not y0 <= y < y1:
                return []
            dy = max(y0 + r - y, y - (y1 - r), 0.0)
            if dy > r:
                return []
            inset = r - (r * r - dy * dy) ** 0.5
            return [(x0 + inset, x1 - inset)]
        self.fill_spans(colour, spans)

    def circle(self, colour, cx, cy, r):
        def spans(y):
            dy = y - cy
            if abs(dy) >= r:
                return []
            half = (r * r - dy * dy) ** 0.5
            return [(cx - half, cx + half)]
        self.fill_spans(colour, spans)

    def polygon(self, colour, points):
        """Even-odd fill of a closed polygon."""
        edges = list(zip(points, points[1:] + points[:1]))

        def spans(y):
            xs = []
            for (ax, ay), (bx, by) in edges:
                if (ay <= y < by) or (by <= y < ay):
                    xs.append(ax + (y - ay) * (bx - ax) / (by - ay))
            xs.sort()
            return list(zip(xs[0::2], xs[1::2]))
        self.fill_spans(colour, spans)


def draw_shredder(canvas, size):
    """The artwork as it should look at `size` pixels: below 48 with fewer details."""
    detail = size >= 48
    line = max(0.022, 1.0 / size)  # outline width: never thinner than one target pixel
    slot_y = 0.47

    # The machine: a rounded body with a lighter top face and a dark edge.
    canvas.rounded_rect(BODY_EDGE, 0.05, 0.41, 0.95, 0.75, 0.07)
    canvas.rounded_rect(BODY, 0.05 + line, 0.41 + line, 0.95 - line, 0.75 - line, 0.07 - line)
    canvas.rect(BODY_TOP, 0.05 + line + 0.02, 0.41 + line, 0.95 - line - 0.02, 0.53)
    if detail:
        canvas.rect(GROOVE, 0.12, 0.635, 0.70, 0.650)
        canvas.circle(LED, 0.83, 0.64, 0.032)

    # The sheet, cut off where it enters the slot, with a folded corner and lines of text.
    px0, px1, py0 = 0.22, 0.78, 0.05
    fold = 0.15
    outline = [(px0, py0), (px1 - fold, py0), (px1, py0 + fold), (px1, slot_y), (px0, slot_y)]
    canvas.polygon(PAPER_EDGE, outline)
    inner = [(px0 + line, py0 + line), (px1 - fold - line * 0.4, py0 + line),
             (px1 - line, py0 + fold + line * 0.4), (px1 - line, slot_y), (px0 + line, slot_y)]
    canvas.polygon(PAPER, inner)
    canvas.polygon(PAPER_EDGE, [(px1 - fold, py0), (px1 - fold, py0 + fold), (px1, py0 + fold)])
    canvas.polygon(FOLD, [(px1 - fold + line, py0 + line * 2.4), (px1 - fold + line, py0 + fold - line),
                          (px1 - line * 2.4, py0 + fold - line)])
    if detail:
        text_lines = [(0.15, 0.52), (0.22, 0.68), (0.29, 0.70), (0.36, 0.62)]
    else:
        text_lines = [(0.2, 0.55), (0.32, 0.66)]
    thickness = max(0.03, 1.0 / size)
    for y, end in text_lines:
        canvas.rect(INK, 0.30, y, end, y + thickness)

    # The slot, wider than the sheet, drawn over the sheet's lower edge.
    canvas.rounded_rect(SLOT, 0.14, slot_y - 0.016 - line * 0.5, 0.86, slot_y + 0.016 + line * 0.5, 0.012)

    # The strips: the cut sheet coming out underneath, of staggered lengths.
    count = 6 if detail else 4 if size >= 32 else 3
    gap = max(0.02, 1.0 / size)
    width = (px1 - px0 - gap * (count - 1)) / count
    lengths = [0.91, 0.97, 0.89, 0.95, 0.90, 0.96]
    for i in range(count):
        x0 = px0 + i * (width + gap)
        x1 = x0 + width
        canvas.rect(PAPER_EDGE, x0, 0.75, x1, lengths[i])
        if (x1 - x0 - 2 * line) * size >= 1:
            canvas.rect(PAPER, x0 + line, 0.75, x1 - line, lengths[i] - line)
        else:
            canvas.rect(STRIP, x0, 0.75, x1, lengths[i])


def render(size):
    """RGBA rows (un-premultiplied, 0..255) of one target size."""
    canvas = Canvas(MASTER_SIZE)
    draw_shredder(canvas, size)
    block = MASTER_SIZE // size
    image = []
    for ty in range(size):
        out_row = []
        master_rows = canvas.rows[ty * block:(ty + 1) * block]
        for tx in range(size):
            r = g = b = n = 0
            for row in master_rows:
                for c in row[tx * block:(tx + 1) * block]:
                    if c is not None:
                        r += c[0]
                        g += c[1]
                        b += c[2]
                        n += 1
            if n == 0:
                out_row.append((0, 0, 0, 0))
            else:
                alpha = (255 * n + block * block // 2) // (block * block)
                out_row.append(((r + n // 2) // n, (g + n // 2) // n, (b + n // 2) // n, alpha))
        image.append(out_row)
    return image


def opaque(pixel):
    return pixel[3] >= 128


def median_cut(colours, count):
    """At most `count` representative colours of a weighted list [((r, g, b), weight)]."""
    boxes = [colours]
    while len(boxes) < count:
        splittable = [b for b in boxes if len(b) > 1]
        if not splittable:
            break

        def spread(box):
            return max(max(c[0][k] for c in box) - min(c[0][k] for c in box) for k in range(3))
        box = max(splittable, key=lambda b: (spread(b), sum(w for _, w in b)))
        boxes.remove(box)
        axis = max(range(3), key=lambda k: max(c[0][k] for c in box) - min(c[0][k] for c in box))
        box.sort(key=lambda c: c[0][axis])
        total = sum(w for _, w in box)
        acc, cut = 0, 1
        for i, (_, w) in enumerate(box):
            acc += w
            if acc * 2 >= total:
                cut = min(max(i + 1, 1), len(box) - 1)
                break
        boxes += [box[:cut], box[cut:]]
    palette = []
    for box in boxes:
        total = sum(w for _, w in box)
        palette.append(tuple((sum(c[k] * w for c, w in box) + total // 2) // total for k in range(3)))
    return palette


def nearest(palette, colour):
    return min(range(len(palette)), key=lambda i: sum((palette[i][k] - colour[k]) ** 2 for k in range(3)))


def make_palette(image, entries):
    """Entry 0 is black, the colour of every transparent pixel; the rest are fitted to the image."""
    weights = {}
    for row in image:
        for p in row:
            if opaque(p):
                weights[p[:3]] = weights.get(p[:3], 0) + 1
    colours = sorted(weights.items())
    return [(0, 0, 0)] + median_cut(colours, entries - 1)


def luminance(p):
    return (299 * p[0] + 587 * p[1] + 114 * p[2]) // 1000


def mono_indices(image):
    """1 bpp: light pixels white, dark ones black, and every opaque pixel next to a transparent one
    black, so that the white sheet keeps an edge on a white desktop."""
    size = len(image)

    def transparent(x, y):
        return not (0 <= x < size and 0 <= y < size) or not opaque(image[y][x])
    out = []
    for y, row in enumerate(image):
        out_row = []
        for x, p in enumerate(row):
            if not opaque(p):
                out_row.append(0)
            elif any(transparent(x + dx, y + dy) for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))):
                out_row.append(0)
            else:
                out_row.append(1 if luminance(p) >= 170 else 0)
        out.append(out_row)
    return out


def pack_row(values, bits):
    """One bottom-up DIB row of palette indices, padded to a multiple of four bytes."""
    data = bytearray()
    per_byte = 8 // bits
    for i in range(0, len(values), per_byte):
        byte = 0
        for j, v in enumerate(values[i:i + per_byte]):
            byte |= v << (8 - bits * (j + 1))
        data.append(byte)
    while len(data) % 4:
        data.append(0)
    return bytes(data)


def and_mask(image):
    return b"".join(pack_row([0 if opaque(p) else 1 for p in row], 1) for row in reversed(image))


def dib(image, bits):
    size = len(image)
    if bits == 32:
        palette = []
        xor = b"".join(bytes(v for p in row for v in (p[2], p[1], p[0], p[3])) for row in reversed(image))
    else:
        if bits == 1:
            palette = [(0, 0, 0), (255, 255, 255)]
            indices = mono_indices(image)
        else:
            palette = make_palette(image, 1 << bits)
            cache = {}
            indices = [[cache.setdefault(p[:3], nearest(palette, p[:3])) if opaque(p) else 0 for p in row]
                       for row in image]
        palette += [(0, 0, 0)] * ((1 << bits) - len(palette))
        xor = b"".join(pack_row(row, bits) for row in reversed(indices))
    mask = and_mask(image)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, len(xor) + len(mask), 0, 0,
                         len(palette), 0)
    colours = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    return header + colours + xor + mask


def ico(entries):
    """entries: [(width, height, bits, dib bytes)] in directory order."""
    directory = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    body = b""
    for width, height, bits, data in entries:
        colour_count = 1 << bits if bits < 8 else 0
        directory += struct.pack("<BBBBHHII", width % 256, height % 256, colour_count, 0, 1, bits,
                                 len(data), offset + len(body))
        body += data
    return directory + body


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: icongen.py OUTPUT.ico\n")
        return 2
    images = {}
    entries = []
    for width, height, bits in LAYOUT:
        if width not in images:
            images[width] = render(width)
        entries.append((width, height, bits, dib(images[width], bits)))
    with open(argv[1], "wb") as out:
        out.write(ico(entries))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
