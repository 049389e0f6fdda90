#!/usr/bin/env python3
"""The Windows icon file holds exactly the sizes given, each image the size
its directory entry says, within the file and not overlapping another; the
256 px image PNG-compressed as Windows expects, the smaller ones bitmaps.

    icon_file_test.py ICO SIZE...
"""
import struct
import sys

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def image_size(data):
    """(width, height, is_png) of one image inside the icon file."""
    if data.startswith(PNG_SIGNATURE):
        width, height = struct.unpack(">II", data[16:24])
        return width, height, True
    header_size, width, height = struct.unpack("<Iii", data[:12])
    if header_size < 40:
        raise ValueError(f"a bitmap header of {header_size} bytes")
    # A bitmap's height counts its colour and its mask rows.
    return width, height // 2, False


def check(path, sizes):
    data = open(path, "rb").read()
    reserved, kind, count = struct.unpack("<HHH", data[:6])
    if (reserved, kind) != (0, 1):
        return [f"not an icon file: reserved {reserved}, type {kind}"]
    problems = []
    found = []
    spans = []
    for i in range(count):
        width, height, _, _, _, _, length, offset = struct.unpack("<BBBBHHII", data[6 + 16 * i : 22 + 16 * i])
        width, height = width or 256, height or 256
        if offset < 6 + 16 * count or offset + length > len(data):
            problems.append(f"entry {i} ({width} px) lies outside the images: bytes {offset}..{offset + length}")
            continue
        spans.append((offset, offset + length, width))
        real_width, real_height, is_png = image_size(data[offset : offset + length])
        if (real_width, real_height) != (width, height):
            problems.append(f"entry {i} says {width}x{height}, its image is {real_width}x{real_height}")
        if (width >= 256) != is_png:
            problems.append(f"the {width} px image is {'PNG' if is_png else 'a bitmap'}")
        found.append(width)
    spans.sort()
    for (_, end, first), (start, _, second) in zip(spans, spans[1:]):
        if start < end:
            problems.append(f"the {first} px and {second} px images overlap")
    if sorted(found) != sorted(sizes):
        problems.append(f"sizes {sorted(found)}, expected {sorted(sizes)}")
    return problems


def main():
    path, sizes = sys.argv[1], [int(s) for s in sys.argv[2:]]
    problems = check(path, sizes)
    for problem in problems:
        print(f"FAIL: {path}: {problem}")
    if problems:
        return 1
    print(f"icon ok: {path} holds {' '.join(map(str, sizes))} px")
    return 0


if __name__ == "__main__":
    sys.exit(main())
