#!/usr/bin/env python3
"""Acquisitions of a known original through Wine's source manager, compared with the original
itself instead of anything the source sent the scanner: a gray (PGM) and a colour (PPM) print
at 100 dpi on the simulator's bed, scanned with neutral settings at 100 and 200 dpi over two
frames by native, memory and file transfer, must give back the print's pixel under the centre
of every delivered pixel. The application is the colour-management one, which the source
answers with neutral tone curves."""
import json
import os
import subprocess

from harness.cases import expect, expect_ok, image_info, main
from harness.prefix import TestPrefix
from harness.winecmd import windows_path

HERE = os.path.dirname(os.path.abspath(__file__))
COMPARE = os.path.join(HERE, "image_compare.py")
PILLOW_PYTHON = "/usr/bin/python3"
DPI, WIDTH, HEIGHT = 100, 250, 200  # a 2.5 x 2 inch print
APP = "Tintara Color Manager"
FRAMES = [(0.2, 0.3, 1.2, 1.0), (0.55, 0.1, 2.3, 1.85)]
TRANSFERS = {"native": ([], "native.bmp"), "memory": (["--xfer", "memory"], "memory.tif"),
             "file": (["--xfer", "file"], "file.tif")}


def sample(x, y, c):
    """Every pixel differs from its neighbours in every channel."""
    return (x * 37 + y * 101 + c * 71 + (x * y) % 13 * 11) % 256


def write_pnm(path, width, height, channels, pixel):
    with open(path, "wb") as f:
        f.write(b"%s\n%d %d\n255\n" % (b"P6" if channels == 3 else b"P5", width, height))
        f.write(bytes(pixel(x, y, c) for y in range(height) for x in range(width)
                      for c in range(channels)))


def under_centre(start_inches, index, resolution):
    """The print's pixel under the centre of delivered pixel `index`, in exact integers."""
    units = round(start_inches * 1200)
    return (2 * units * resolution + (2 * index + 1) * 1200) * DPI // (2400 * resolution)


def original_case(pixel, channels):
    def case(context):
        with TestPrefix(context.tree, context.name, display=True) as prefix:
            prefix.install_source(context.program("source"), [context.program("portlib")])
            prefix.install_manager(context.manager)
            print_path = os.path.join(prefix.root, "print.pnm")
            write_pnm(print_path, WIDTH, HEIGHT, channels, lambda x, y, c: sample(x, y, c))
            prefix.seed_win_ini("[Scanner Simulator]\nOriginal=%s\nOriginalDpi=%d\n"
                                % (windows_path(print_path), DPI))
            for frame in FRAMES:
                for resolution in (100, 200):
                    for name, (args, out_name) in TRANSFERS.items():
                        out = os.path.join(prefix.root, out_name)
                        frame_text = ",".join("%g" % v for v in frame)
                        result = prefix.run(context.twainscan(
                            "--app-name", APP, "--pixel", pixel, "--res", str(resolution),
                            "--frame", frame_text, *args, "--out", windows_path(out)),
                            seconds=120, success_line="TWAINSCAN OK")
                        expect_ok(result)
                        info = image_info(result)
                        width, height = int(info["ImageWidth"]), int(info["ImageLength"])
                        expected = os.path.join(prefix.root, "expected.pnm")
                        write_pnm(expected, width, height, channels, lambda x, y, c: sample(
                            under_centre(frame[0], x, resolution),
                            under_centre(frame[1], y, resolution), c if channels == 3 else 0))
                        done = subprocess.run([PILLOW_PYTHON, "-B", COMPARE, expected, out],
                                              capture_output=True, text=True, timeout=120)
                        expect(done.returncode == 0, "Pillow cannot compare %s:\n%s"
                               % (out, done.stderr))
                        compared = json.loads(done.stdout)[0]
                        expect(compared["equal"], "%s at %d dpi, frame %s: not the original:\n%r"
                               % (name, resolution, frame_text, compared))
    return case


if __name__ == "__main__":
    main({"gray": original_case("gray", 1), "colour": original_case("rgb", 3)})
