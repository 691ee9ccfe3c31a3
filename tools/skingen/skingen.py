#!/usr/bin/env python3
"""Turns a readable skin source (skin/skin.txt) into the binary skin file that jedata.dll reads.

The source has comment lines starting with "#", "key = value" lines (colours as #RRGGBB, metrics as whole pixels) and image blocks
("image NAME WIDTH HEIGHT" followed by one line per row, coverage . : - = + * # % & @ from 0 to 9).
Every colour and metric must be given exactly once; an unknown key, a bad value or a metric out of
its range stops the build with the line number. The layout written is the one of skin/FORMAT.md.
Python 3 standard library only; the output is byte-for-byte repeatable.

    skingen.py SOURCE OUTPUT [--password TEXT]
"""

import argparse
import re
import struct
import sys
import zlib

FORMAT_VERSION = 1
HEADER_SIZE = 28
SECTION_ENTRY_SIZE = 12
CHECKSUM_OFFSET = 24
PASSWORD_FLAG = 1
PASSWORD_PREFIX = b"jedata.she password:"

# Keys in file order: a key's number is its position, counted from 1.
COLOURS = [
    "window_background", "text",
    "frame_active", "frame_inactive", "frame_outline",
    "caption_text_active", "caption_text_inactive",
    "close_hot_face", "close_pressed_face", "close_hot_glyph", "close_disabled_glyph",
    "button_face", "button_border", "button_text",
    "button_hot_face", "button_hot_border",
    "button_pressed_face", "button_pressed_border",
    "button_disabled_face", "button_disabled_border", "button_disabled_text",
    "button_focus_border",
    "edit_background", "edit_text", "edit_readonly_background",
    "edit_disabled_background", "edit_disabled_text", "edit_border", "edit_focus_border",
    "progress_track", "progress_border", "progress_bar",
]

# (name, smallest, largest)
METRICS = [
    ("caption_font_height", 0, 72),
    ("caption_font_weight", 100, 900),
    ("caption_indent", 0, 32),
    ("caption_icon_size", 0, 32),
    ("close_button_width", 16, 64),
    ("close_glyph_size", 4, 32),
    ("button_corner_radius", 0, 16),
    ("button_focus_width", 1, 4),
    ("button_pressed_shift", 0, 2),
    ("progress_segment_width", 0, 64),
    ("progress_segment_gap", 0, 16),
    ("progress_padding", 0, 8),
]

IMAGES = ["close_glyph"]
MAX_IMAGE_SIDE = 64
COVERAGE = ".:-=+*#%&@"


class SourceError(Exception):
    pass


def parse_colour(text, where):
    if not re.fullmatch(r"#[0-9A-Fa-f]{6}", text):
        raise SourceError(f"{where}: colour must be #RRGGBB, not {text!r}")
    return bytes.fromhex(text[1:])


def parse_metric(name, text, where):
    if not re.fullmatch(r"-?[0-9]+", text):
        raise SourceError(f"{where}: {name} must be a whole number, not {text!r}")
    value = int(text)
    _, low, high = next(m for m in METRICS if m[0] == name)
    if not low <= value <= high:
        raise SourceError(f"{where}: {name} = {value} is outside {low}..{high}")
    return value


def parse_image_row(text, width, where):
    if len(text) != width or any(c not in COVERAGE for c in text):
        raise SourceError(f"{where}: an image row has {width} characters of {COVERAGE!r}")
    return bytes(round(COVERAGE.index(c) * 255 / 9) for c in text)


def parse(lines, source_name):
    colours, metrics, images = {}, {}, {}
    metric_names = [m[0] for m in METRICS]
    rows = iter(enumerate(lines, 1))
    for number, raw in rows:
        where = f"{source_name}:{number}"
        line = raw.strip()
        if not line or line.startswith("#"):
            continue
        if line.startswith("image "):
            parts = line.split()
            if len(parts) != 4 or parts[1] not in IMAGES or not parts[2].isdigit() or not parts[3].isdigit():
                raise SourceError(f"{where}: expected 'image NAME WIDTH HEIGHT' with NAME one of {IMAGES}")
            name, width, height = parts[1], int(parts[2]), int(parts[3])
            if name in images:
                raise SourceError(f"{where}: image {name} given twice")
            if not (1 <= width <= MAX_IMAGE_SIDE and 1 <= height <= MAX_IMAGE_SIDE):
                raise SourceError(f"{where}: image sides must be 1..{MAX_IMAGE_SIDE}")
            pixels = b""
            for _ in range(height):
                row_number, row = next(rows, (number, ""))
                pixels += parse_image_row(row.strip(), width, f"{source_name}:{row_number}")
            images[name] = (width, height, pixels)
            continue
        key, sep, value = (part.strip() for part in line.partition("="))
        if not sep:
            raise SourceError(f"{where}: expected 'key = value'")
        if key in colours or key in metrics:
            raise SourceError(f"{where}: {key} given twice")
        if key in COLOURS:
            colours[key] = parse_colour(value, where)
        elif key in metric_names:
            metrics[key] = parse_metric(key, value, where)
        else:
            raise SourceError(f"{where}: unknown key {key!r}")
    missing = [k for k in COLOURS if k not in colours] + [k for k in metric_names if k not in metrics]
    if missing:
        raise SourceError(f"{source_name}: missing {', '.join(missing)}")
    return colours, metrics, images


def colour_section(colours):
    body = struct.pack("<HH", len(COLOURS), 0)
    for key, name in enumerate(COLOURS, 1):
        body += struct.pack("<H3sB", key, colours[name], 0)
    return body


def metric_section(metrics):
    body = struct.pack("<HH", len(METRICS), 0)
    for key, (name, _, _) in enumerate(METRICS, 1):
        body += struct.pack("<HHi", key, 0, metrics[name])
    return body


def image_section(images):
    names = [n for n in IMAGES if n in images]
    table = struct.pack("<HH", len(names), 0)
    data = b""
    data_start = 4 + 16 * len(names)
    for name in names:
        width, height, pixels = images[name]
        table += struct.pack("<HHHHII", IMAGES.index(name) + 1, width, height, 0,
                             data_start + len(data), len(pixels))
        data += pixels
    return table + data


def password_hash(password):
    value = 0xCBF29CE484222325
    for byte in PASSWORD_PREFIX + password:
        value = ((value ^ byte) * 0x100000001B3) & 0xFFFFFFFFFFFFFFFF
    return value


def build(colours, metrics, images, password):
    sections = [(b"COLR", colour_section(colours)), (b"METR", metric_section(metrics))]
    if images:
        sections.append((b"IMAG", image_section(images)))
    offset = HEADER_SIZE + SECTION_ENTRY_SIZE * len(sections)
    table, bodies = b"", b""
    for tag, body in sections:
        table += struct.pack("<4sII", tag, offset + len(bodies), len(body))
        bodies += body
    size = offset + len(bodies)
    flags = PASSWORD_FLAG if password is not None else 0
    hash_value = password_hash(password) if password is not None else 0
    header = struct.pack("<4sHHIIQI", b".SHE", FORMAT_VERSION, len(sections), flags, size, hash_value, 0)
    file = bytearray(header + table + bodies)
    struct.pack_into("<I", file, CHECKSUM_OFFSET, zlib.crc32(bytes(file)))
    return bytes(file)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("source")
    parser.add_argument("output")
    parser.add_argument("--password", help="protect the skin; the text is hashed as GBK bytes")
    args = parser.parse_args()
    try:
        with open(args.source, encoding="utf-8") as f:
            colours, metrics, images = parse(f.read().splitlines(), args.source)
    except SourceError as error:
        print(f"skingen: {error}", file=sys.stderr)
        return 1
    password = args.password.encode("gbk") if args.password is not None else None
    data = build(colours, metrics, images, password)
    with open(args.output, "wb") as f:
        f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
