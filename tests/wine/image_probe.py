#!/usr/bin/python3
"""Reads image files with Pillow, a reader independent of the code that wrote them, and
prints one JSON object per file: format, mode, size, how many distinct pixel values it has
(up to 257) and a digest of its pixels, so that images written by different transfers can be
compared. Run with the system interpreter (/usr/bin/python3), which has Pillow."""
import hashlib
import json
import sys

from PIL import Image


def probe(path):
    with Image.open(path) as image:
        image.load()
        pixels = image.tobytes()
        colours = image.getcolors(maxcolors=256)
        return {
            "path": path,
            "format": image.format,
            "mode": image.mode,
            "width": image.width,
            "height": image.height,
            "distinct": len(colours) if colours is not None else 257,
            "digest": hashlib.sha256(pixels).hexdigest(),
        }


if __name__ == "__main__":
    print(json.dumps([probe(path) for path in sys.argv[1:]]))
