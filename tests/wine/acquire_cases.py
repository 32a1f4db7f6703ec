#!/usr/bin/env python3
"""Acquisitions with twainscan through Wine's own source manager, the scanner simulator
installed as the port library. Every image twainscan writes is read back by Pillow (and TIFF
files by libtiff's tiffinfo): its size must be what the image information announced and it
must hold a picture, not one flat value. Memory and file transfers are also compared pixel
for pixel with a native acquisition of the same frame in the same prefix."""
import json
import os
import subprocess

from harness.cases import expect, expect_ok, main
from harness.prefix import TestPrefix
from harness.winecmd import windows_path

PLAIN_WIN_INI = "[mail]\nmapi=1\n"
PROBE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "image_probe.py")
# The system interpreter has Pillow; the one running the harness may not.
PILLOW_PYTHON = "/usr/bin/python3"
FRAME = ["--res", "150", "--frame", "1,1,3,2.5"]
MODES = {"rgb": "RGB", "gray": "L", "bw": "1"}


def probe(paths):
    done = subprocess.run([PILLOW_PYTHON, "-B", PROBE] + list(paths), capture_output=True,
                          text=True, timeout=60)
    expect(done.returncode == 0, "Pillow cannot read %r:\n%s" % (paths, done.stderr))
    return json.loads(done.stdout)


def image_info(result):
    """The image information twainscan printed, as a dict of its keys."""
    info = {}
    for line in result.lines:
        if line.startswith("image "):
            key, _, value = line[len("image "):].partition(": ")
            info[key] = value
    expect("ImageWidth" in info, "no image information printed:\n" + result.describe())
    return info


def acquire(prefix, context, out_name, *args):
    """Runs one acquisition into the prefix's folder; returns (result, Linux path)."""
    out = os.path.join(prefix.root, out_name)
    result = prefix.run([context.program("twainscan")] + list(args) +
                        ["--out", windows_path(out)], seconds=180, success_line="TWAINSCAN OK")
    expect_ok(result)
    expect(os.path.exists(out), "twainscan reported success but wrote no %s" % out)
    return result, out


def expect_picture(result, image, mode, file_format):
    info = image_info(result)
    expect(image["format"] == file_format and image["mode"] == mode,
           "expected a %s %s image, Pillow read %r" % (mode, file_format, image))
    size = (str(image["width"]), str(image["height"]))
    expect(size == (info["ImageWidth"], info["ImageLength"]),
           "image info says %s x %s, the file is %s x %s"
           % ((info["ImageWidth"], info["ImageLength"]) + size))
    expect(image["distinct"] > 1, "the image is one flat value: %r" % image)


def expect_tiffinfo(path, image):
    done = subprocess.run(["tiffinfo", path], capture_output=True, text=True, timeout=60)
    expect(done.returncode == 0 and not done.stderr.strip(),
           "tiffinfo does not accept %s:\n%s%s" % (path, done.stdout, done.stderr))
    wanted = "Image Width: %d Image Length: %d" % (image["width"], image["height"])
    expect(wanted in done.stdout, "tiffinfo shows no %r:\n%s" % (wanted, done.stdout))


def native_case(pixel):
    def case(context):
        with TestPrefix(context.tree, context.name, display=True) as prefix:
            prefix.install_source(context.program("source"), [context.program("portlib")])
            prefix.seed_win_ini(PLAIN_WIN_INI)
            result, out = acquire(prefix, context, "native.bmp", "--pixel", pixel, *FRAME)
            expect_picture(result, probe([out])[0], MODES[pixel], "BMP")
    return case


def compared_case(pixel, xfer_args, out_name, file_format):
    """An acquisition by memory or file, checked by itself and against a native one."""
    def case(context):
        with TestPrefix(context.tree, context.name, display=True) as prefix:
            prefix.install_source(context.program("source"), [context.program("portlib")])
            prefix.seed_win_ini(PLAIN_WIN_INI)
            _, native = acquire(prefix, context, "native.bmp", "--pixel", pixel, *FRAME)
            result, out = acquire(prefix, context, out_name, "--pixel", pixel, *FRAME,
                                  *xfer_args)
            reference, image = probe([native, out])
            expect_picture(result, image, MODES[pixel], file_format)
            if file_format == "TIFF":
                expect_tiffinfo(out, image)
            expect(image["digest"] == reference["digest"],
                   "the pixels differ from the native acquisition's:\n%r\n%r" % (image, reference))
    return case


CASES = {
    "native_rgb": native_case("rgb"),
    "native_gray": native_case("gray"),
    "native_lineart": native_case("bw"),
    # The source's memory and file transfers: registered when KV_WINE_XFER_CASES is on.
    "memory_rgb": compared_case("rgb", ["--xfer", "memory"], "memory.tif", "TIFF"),
    "memory_gray": compared_case("gray", ["--xfer", "memory"], "memory.tif", "TIFF"),
    "memory_lineart": compared_case("bw", ["--xfer", "memory", "--buffer", "1000"],
                                    "memory.tif", "TIFF"),
    "file_tiff_rgb": compared_case("rgb", ["--xfer", "file"], "file.tif", "TIFF"),
    "file_tiff_lineart": compared_case("bw", ["--xfer", "file"], "file.tif", "TIFF"),
    "file_bmp_rgb": compared_case("rgb", ["--xfer", "file", "--format", "bmp"], "file.bmp", "BMP"),
    "file_bmp_gray": compared_case("gray", ["--xfer", "file", "--format", "bmp"], "file.bmp",
                                   "BMP"),
}

if __name__ == "__main__":
    main(CASES)
