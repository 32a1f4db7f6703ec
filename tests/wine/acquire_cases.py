#!/usr/bin/env python3
"""Acquisitions with twainscan through a source manager (Wine's own, or TWAINDSM.dll), the scanner simulator
installed as the port library. Every image twainscan or the source writes is read back by
Pillow (and TIFF files by libtiff's tiffinfo): its size must be what the image information
announced, it must hold a picture, not one flat value, and its pixels must equal the
simulator's reference render of the scan the port library logged (render_reference, run in
the same prefix so that it reads the same WIN.INI)."""
import contextlib
import json
import os
import subprocess

from harness.cases import expect, expect_line, expect_ok, image_info, main
from harness.msgcapture import MessageWatch
from harness.prefix import TestPrefix
from harness.winecmd import windows_path

HERE = os.path.dirname(os.path.abspath(__file__))
PROBE = os.path.join(HERE, "image_probe.py")
COMPARE = os.path.join(HERE, "image_compare.py")
# The system interpreter has Pillow; the one running the harness may not.
PILLOW_PYTHON = "/usr/bin/python3"
# 603 pixels across at 300 dpi: the source narrows its window to a width the scanner takes
# (a multiple of 4 pixels, of 4 bytes in line art), so the image width is its choice.
FRAME = ["--frame", "1,1,3.01,2.5"]
MODES = {"rgb": "RGB", "gray": "L", "bw": "1"}


def probe(paths):
    done = subprocess.run([PILLOW_PYTHON, "-B", PROBE] + list(paths), capture_output=True,
                          text=True, timeout=60)
    expect(done.returncode == 0, "Pillow cannot read %r:\n%s" % (paths, done.stderr))
    return json.loads(done.stdout)


def acquire(prefix, context, out_name, *args):
    """Runs one acquisition into the prefix's folder; returns (result, Linux path)."""
    out = os.path.join(prefix.root, out_name)
    result = prefix.run(context.twainscan(*args, "--out", windows_path(out)), seconds=180,
                        success_line="TWAINSCAN OK")
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


@contextlib.contextmanager
def logging_prefix(context):
    """A prefix with the source and the simulator installed, the simulator logging what it
    accepts into the prefix's folder; yields (prefix, Linux path of the log)."""
    with TestPrefix(context.tree, context.name, display=True) as prefix:
        prefix.install_source(context.program("source"), [context.program("portlib")])
        prefix.install_manager(context.manager)
        log = os.path.join(prefix.root, "scan.log")
        prefix.seed_win_ini("[mail]\nmapi=1\n[Scanner Simulator]\nScanLog=%s\n"
                            % windows_path(log))
        yield prefix, log


def reference(prefix, log, context, name):
    """The reference render of the last logged scan, as a PNM file in the prefix's folder."""
    expect(os.path.exists(log), "the simulator logged no scan")
    out = os.path.join(prefix.root, name)
    win_ini = os.path.join(prefix.windows_dir, "win.ini")
    result = prefix.run([context.program("render_reference"), "--ini", windows_path(win_ini),
                         "--log", windows_path(log), "--out", windows_path(out)],
                        seconds=120, success_line="RENDER_REFERENCE OK")
    expect_ok(result)
    return out


def expect_reference_pixels(expected, path):
    """Pillow's reading of the file equals the reference render; returns the comparison."""
    done = subprocess.run([PILLOW_PYTHON, "-B", COMPARE, expected, path], capture_output=True,
                          text=True, timeout=120)
    expect(done.returncode == 0, "Pillow cannot compare %s:\n%s" % (path, done.stderr))
    compared = json.loads(done.stdout)[0]
    expect(compared["equal"], "the pixels differ from the reference render:\n%r" % compared)
    return compared


def expect_native_layout(compared, pixel):
    """The bitmap's own layout: rows bottom-up, and line art's palette black then white."""
    layout = compared["bmp"]
    expect(layout["bottom_up"], "the native bitmap's rows are not bottom-up: %r" % layout)
    expect(layout["bits"] == {"rgb": 24, "gray": 8, "bw": 1}[pixel],
           "unexpected bits per pixel: %r" % layout)
    if pixel == "bw":
        expect(layout["palette"] == [[0, 0, 0], [255, 255, 255]],
               "line art's palette must be 0 = black, 1 = white: %r" % layout)


def native_case(pixel, resolution):
    def case(context):
        with logging_prefix(context) as (prefix, log):
            result, out = acquire(prefix, context, "native.bmp", "--pixel", pixel,
                                  "--res", str(resolution), *FRAME)
            expect_picture(result, probe([out])[0], MODES[pixel], "BMP")
            compared = expect_reference_pixels(reference(prefix, log, context, "native.pnm"), out)
            expect_native_layout(compared, pixel)
    return case


def transfer_case(pixel, xfer_args, out_name, file_format):
    """An acquisition by memory or file, read back and compared with the reference render."""
    def case(context):
        with logging_prefix(context) as (prefix, log):
            result, out = acquire(prefix, context, out_name, "--pixel", pixel, "--res", "300",
                                  *FRAME, *xfer_args)
            image = probe([out])[0]
            expect_picture(result, image, MODES[pixel], file_format)
            if file_format == "TIFF":
                expect_tiffinfo(out, image)
            expect_reference_pixels(reference(prefix, log, context, "expected.pnm"), out)
    return case


def case_failed_scan_asks_to_close(context):
    """A scan that fails after the enabling call returned (the cover of the slide unit is
    open) shows its message and asks the application, through the manager, to close it."""
    with TestPrefix(context.tree, context.name, display=True) as prefix:
        prefix.install_source(context.program("source"), [context.program("portlib")])
        prefix.install_manager(context.manager)
        prefix.seed_win_ini("[Scanner Simulator]\nSetupStatus=0x8414\n")
        with MessageWatch(prefix, context.program("msgwatch")) as watch:
            result = prefix.run(context.twainscan("--pixel", "gray", *FRAME, "--wait", "60"),
                                seconds=120, success_line="TWAINSCAN OK")
    expect(not result.ok and not result.timed_out and not result.crashed,
           "the failed scan did not end cleanly:\n" + result.describe())
    expect_line(result, "TWAINSCAN FAILED: the source asked to be closed (MSG_CLOSEDSREQ) "
                        "before an image was ready")
    texts = [b.text for b in watch.boxes]
    expect(texts == [" Slide Scanner Cover not Closed!"], "unexpected message boxes: %r" % texts)


CASES = {
    "native_rgb": native_case("rgb", 300),
    "native_rgb_150": native_case("rgb", 150),
    "native_gray": native_case("gray", 300),
    "native_lineart": native_case("bw", 300),
    # The source's memory and file transfers: registered when KV_WINE_XFER_CASES is on.
    "memory_rgb": transfer_case("rgb", ["--xfer", "memory"], "memory.tif", "TIFF"),
    "memory_gray": transfer_case("gray", ["--xfer", "memory"], "memory.tif", "TIFF"),
    "memory_lineart": transfer_case("bw", ["--xfer", "memory", "--buffer", "1000"],
                                    "memory.tif", "TIFF"),
    "file_tiff_rgb": transfer_case("rgb", ["--xfer", "file"], "file.tif", "TIFF"),
    "file_tiff_lineart": transfer_case("bw", ["--xfer", "file"], "file.tif", "TIFF"),
    "file_bmp_rgb": transfer_case("rgb", ["--xfer", "file", "--format", "bmp"], "file.bmp", "BMP"),
    "file_bmp_gray": transfer_case("gray", ["--xfer", "file", "--format", "bmp"], "file.bmp",
                                   "BMP"),
    "failed_scan_asks_to_close": case_failed_scan_asks_to_close,
}

if __name__ == "__main__":
    main(CASES)
