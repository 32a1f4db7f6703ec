#!/usr/bin/python3
"""Compares image files with an expected image, pixel for pixel, reading all of them with
Pillow (a reader independent of the code that wrote them):

  image_compare.py EXPECTED.pnm ACTUAL...

Prints one JSON object per actual file: format, mode, size, whether its pixels equal the
expected image's, how many pixels differ and the first that does (x, y, expected, actual).
Both are compared as gray ("1", "L" and palette images, the palette applied) or as RGB. For a
BMP file it also reports the stored layout: bits per pixel, whether rows run bottom-up, and
the palette entries (blue, green, red). Run with the system interpreter (/usr/bin/python3),
which has Pillow."""
import json
import struct
import sys

from PIL import Image, ImageChops


def bmp_layout(path):
    with open(path, "rb") as f:
        head = f.read(14 + 40)
        info_size, _, height, _, bits = struct.unpack_from("<IiiHH", head, 14)
        colours = struct.unpack_from("<I", head, 14 + 32)[0] or (1 << bits if bits <= 8 else 0)
        f.seek(14 + info_size)
        palette = f.read(4 * colours)
    return {
        "bits": bits,
        "bottom_up": height > 0,
        "palette": [list(palette[i:i + 3]) for i in range(0, len(palette), 4)],
    }


def first_difference(expected, actual, mask):
    """The first differing pixel in row order, as (x, y, expected, actual)."""
    box = mask.getbbox()
    if box is None:
        return None
    left, top, right, _ = box
    row = mask.crop((left, top, right, top + 1)).tobytes()
    x = left + next(i for i, v in enumerate(row) if v)
    return [x, top, expected.getpixel((x, top)), actual.getpixel((x, top))]


def compare(expected, path):
    with Image.open(path) as image:
        image.load()
        result = {"path": path, "format": image.format, "mode": image.mode,
                  "width": image.width, "height": image.height,
                  "expected_size": [expected.width, expected.height]}
        if image.format == "BMP":
            result["bmp"] = bmp_layout(path)
        if image.size != expected.size:
            result.update(equal=False, differing=None, first=None)
            return result
        mode = "RGB" if expected.mode == "RGB" else "L"
        want, got = expected.convert(mode), image.convert(mode)
        mask = ImageChops.difference(want, got)
        if mode == "RGB":
            mask = ImageChops.lighter(ImageChops.lighter(*mask.split()[:2]), mask.split()[2])
        differing = sum(mask.point(lambda v: 1 if v else 0).histogram()[1:])
        result.update(equal=differing == 0, differing=differing,
                      first=first_difference(want, got, mask))
        return result


def main():
    if len(sys.argv) < 3:
        sys.exit("usage: image_compare.py EXPECTED ACTUAL...")
    with Image.open(sys.argv[1]) as expected:
        expected.load()
        print(json.dumps([compare(expected, path) for path in sys.argv[2:]]))


if __name__ == "__main__":
    main()
