#!/usr/bin/env python3
"""Runs the sample writer, then reads every file it wrote with readers that owe nothing to
the writers: libtiff's tiffinfo and tiffdump for the TIFF structure and the 16-bit samples,
Pillow for the pixels of every file. Each file must decode to exactly the lines that went in.

Usage: check_with_readers.py SAMPLE_WRITER
"""
import os
import re
import subprocess
import sys
import tempfile

from PIL import Image

TIFF_TAGS = {256, 257, 258, 262, 273, 277, 279, 282, 283}


def expected_pixels(layout, width, lines, bytes_per_line, raw):
    """The image the delivered lines describe, one tuple per pixel, top row first:
    line art 1 bit MSB first with 1 = white, gray one byte, colour R G B bytes,
    36-bit colour three little-endian 16-bit samples."""
    rows = []
    for y in range(lines):
        line = raw[y * bytes_per_line:(y + 1) * bytes_per_line]
        if layout == "lineart":
            rows.append([(255 if line[x // 8] >> (7 - x % 8) & 1 else 0,) for x in range(width)])
        elif layout == "gray":
            rows.append([(line[x],) for x in range(width)])
        elif layout == "rgb24":
            rows.append([tuple(line[3 * x:3 * x + 3]) for x in range(width)])
        else:
            rows.append([tuple(line[6 * x + 2 * c] | line[6 * x + 2 * c + 1] << 8
                               for c in range(3)) for x in range(width)])
    return rows


def top8(rows):
    return [[tuple(v >> 8 for v in px) for px in row] for row in rows]


def run(args):
    done = subprocess.run(args, capture_output=True, text=True)
    return done.returncode, done.stdout, done.stderr


def check_tiffinfo(path, layout, width, lines, resolution, errors):
    rc, out, err = run(["tiffinfo", path])
    if rc != 0 or err.strip():
        errors.append(f"tiffinfo complains: rc={rc} {err.strip()}")
        return
    bits = {"lineart": 1, "gray": 8, "rgb24": 8, "rgb48": 16}[layout]
    spp = 3 if layout.startswith("rgb") else 1
    photometric = "RGB color" if spp == 3 else "min-is-black"
    wanted = [
        f"Image Width: {width} Image Length: {lines}",
        f"Bits/Sample: {bits}",
        f"Samples/Pixel: {spp}",
        f"Photometric Interpretation: {photometric}",
        "Compression Scheme: None",
        f"Resolution: {resolution}, {resolution}",
    ]
    for text in wanted:
        if text not in out:
            errors.append(f"tiffinfo lacks '{text}':\n{out}")


def check_tiffdump(path, layout, lines, bytes_per_line, errors):
    rc, out, err = run(["tiffdump", path])
    if rc != 0:
        errors.append(f"tiffdump failed: {err.strip()}")
        return
    tags = {int(m) for m in re.findall(r"^\S.*?\((\d+)\) ", out, re.M)}
    if tags != TIFF_TAGS:
        errors.append(f"tiffdump tags {sorted(tags)} instead of {sorted(TIFF_TAGS)}")
    offset = 146 if layout.startswith("rgb") else 140
    for tag, value in ((273, offset), (279, lines * bytes_per_line)):
        m = re.search(rf"\({tag}\) LONG \(4\) 1<(\d+)>", out)
        if not m or int(m.group(1)) != value:
            errors.append(f"tag {tag} is not {value}:\n{out}")
    if os.path.getsize(path) != offset + lines * bytes_per_line:
        errors.append(f"file size {os.path.getsize(path)} is not the header's")


def tiffinfo_samples16(path):
    """The strip as libtiff decodes it (host order, little-endian here), as 16-bit samples."""
    rc, out, err = run(["tiffinfo", "-d", path])
    if rc != 0 or "Strip 0:" not in out:
        print(f"tiffinfo -d: rc={rc} {err.strip()}")
        return None
    data = bytes(int(h, 16) for h in out.split("Strip 0:", 1)[1].split())
    return [data[i] | data[i + 1] << 8 for i in range(0, len(data) - 1, 2)]


def describe_difference(what, got, want):
    if got is None:
        return f"{what}: the reader failed"
    if len(got) != len(want):
        return f"{what}: {len(got)} values instead of {len(want)}"
    i = next(i for i in range(len(want)) if got[i] != want[i])
    return f"{what}: value {i} is {got[i]}, wrote {want[i]}"


def pillow_rows(path, color):
    """Pillow's decoding as (width, height) and rows of pixel tuples: RGB for colour, one
    level (0-255) for gray and line art, whatever palette or bit depth the file uses."""
    with Image.open(path) as im:
        im.load()
        conv = im.convert("RGB" if color else "L")
    w, h = conv.size
    data = list(conv.getdata())
    if not color:
        data = [(v,) for v in data]
    return (w, h), [data[y * w:(y + 1) * w] for y in range(h)]


def check_pixels(path, layout, width, lines, want, errors):
    size, rows = pillow_rows(path, layout.startswith("rgb"))
    if size != (width, lines):
        errors.append(f"Pillow reads size {size}")
        return
    ref = top8(want) if layout == "rgb48" else want
    for y in range(lines):
        if rows[y] != ref[y]:
            x = next(i for i in range(width) if rows[y][i] != ref[y][i])
            errors.append(f"Pillow: pixel ({x}, {y}) is {rows[y][x]}, wrote {ref[y][x]}")
            return


def check_bmp_size(path, layout, width, lines, errors):
    bits = {"lineart": 1, "gray": 8}.get(layout, 24)
    palette = {"lineart": 2, "gray": 256}.get(layout, 0)
    stride = (width * bits + 31) // 32 * 4
    size = 14 + 40 + 4 * palette + stride * lines
    if os.path.getsize(path) != size:
        errors.append(f"BMP of {os.path.getsize(path)} bytes, not {size}")


def check_file(folder, name, fmt, layout, width, lines, bpl, resolution):
    path = os.path.join(folder, name)
    with open(os.path.join(folder, name.split(".")[0] + ".lines"), "rb") as f:
        raw = f.read()
    want = expected_pixels(layout, width, lines, bpl, raw)
    errors = []
    if fmt == "tiff":
        check_tiffinfo(path, layout, width, lines, resolution, errors)
        check_tiffdump(path, layout, lines, bpl, errors)
        if layout == "rgb48":
            # Pillow reduces 16-bit colour to 8 bits: compare every sample through libtiff.
            flat = [v for row in want for px in row for v in px]
            got = tiffinfo_samples16(path)
            if got != flat:
                errors.append(describe_difference("libtiff's 16-bit samples", got, flat))
    else:
        check_bmp_size(path, layout, width, lines, errors)
    check_pixels(path, layout, width, lines, want, errors)
    return errors


def main():
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    with tempfile.TemporaryDirectory(prefix="imagefile_readers_") as folder:
        done = subprocess.run([sys.argv[1], folder])
        if done.returncode != 0:
            print(f"sample writer failed with {done.returncode}")
            return 1
        with open(os.path.join(folder, "samples.txt")) as f:
            entries = [line.split() for line in f if line.strip()]
        failures = 0
        for name, fmt, layout, *numbers in entries:
            width, lines, bpl, resolution = map(int, numbers)
            errors = check_file(folder, name, fmt, layout, width, lines, bpl, resolution)
            print(f"{'FAIL' if errors else 'ok  '} {name}")
            for e in errors:
                print(f"     {e}")
            failures += bool(errors)
        if len(entries) != 12:
            print(f"expected 12 samples, the writer listed {len(entries)}")
            return 1
        return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
