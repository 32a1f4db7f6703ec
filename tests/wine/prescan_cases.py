#!/usr/bin/env python3
"""The prescan library under Wine: prescancall loads PRESCAN.DLL from
C:\\windows\\TWAIN_32\\KVTC_A3\\, beside the simulator's port library, and calls PreScan_Image as
the data source's main window does. A prescan leaves PVWC0000.BMP, which Pillow reads and whose
pixels equal the simulator's reference render of the window the library set up (rows the
scanner did not deliver are black); the library's dialogs came up in the caller's language
with both lines fitting, and were gone when the call returned. A jammed scanner gives the
library's own message in German, the zero result, and no bitmap."""
import os
import shutil
import struct

from acquire_cases import expect_reference_pixels, probe, reference
from harness.cases import expect, main
from harness.msgcapture import MessageWatch
from harness.prefix import TestPrefix
from harness.winecmd import windows_path

# The default scanner: the wide bed, 11.7 x 17.0 inches, in units of the 1200 dpi model.
SCALE = 1200
BED_UNITS = (14040, 20400)
BMP_HEADER = 54


def install_prescan(prefix, context):
    """PRESCAN.DLL and QASPI_SP.DLL in the driver directory; returns the bitmap's Linux path."""
    own = os.path.join(prefix.windows_dir, "TWAIN_32", "KVTC_A3")
    os.makedirs(own, exist_ok=True)
    for key in ("prescan", "portlib"):
        path = context.program(key)
        shutil.copyfile(path, os.path.join(own, os.path.basename(path)))
    return os.path.join(own, "PVWC0000.BMP")


def prescan(prefix, context, *args):
    """One prescancall run; returns (result, {key: value}, [dialog fields])."""
    result = prefix.run([context.program("prescancall")] + list(args), seconds=120,
                        success_prefix="PRESCANCALL ")
    expect(not result.crashed and not result.timed_out and
           not any(line.startswith("PRESCANCALL FAILED") for line in result.lines),
           "prescancall did not get through its call:\n" + result.describe())
    values, dialogs = {}, []
    for line in result.lines:
        key, sep, value = line.partition("=")
        if key == "dialog":
            dialogs.append(tuple(value.split("\t")))
        elif sep:
            values[key] = value
    return result, values, dialogs


def expect_values(result, values, wanted):
    got = {key: values.get(key) for key in wanted}
    expect(got == wanted, "prescancall printed %r, expected %r:\n%s"
           % (got, wanted, result.describe()))


def dialog(caption, first, second):
    """A dialog of the library as prescancall saw it go: shown, fitting, closed in the call."""
    return (caption, first, second, "shown=1", "fits=1", "closed_by=prescan")


def logged_setups(log):
    """(window, source, from data source, colour type, speed, resolution) of every set-up the
    simulator accepted, from its scan log (code, length, block)."""
    with open(log, "rb") as f:
        data = f.read()
    setups, at = [], 0
    while at < len(data):
        code = data[at]
        length = struct.unpack_from("<I", data, at + 1)[0]
        if code == 1:
            fields = struct.unpack_from("<4H4BH", data, at + 5 + 6)
            setups.append((fields[:4],) + fields[4:])
        at += 5 + length
    return setups


def read_pnm(path):
    """(magic, width, height, pixel bytes) of a binary PNM with no comments."""
    with open(path, "rb") as f:
        data = f.read()
    tokens, at = [], 0
    while len(tokens) < 4:
        while data[at:at + 1].isspace():
            at += 1
        start = at
        while not data[at:at + 1].isspace():
            at += 1
        tokens.append(data[start:at])
    return tokens[0], int(tokens[1]), int(tokens[2]), data[at + 1:]


def padded(path, height, out):
    """The colour render at path continued with black rows down to height."""
    magic, width, rows, pixels = read_pnm(path)
    expect(magic == b"P6" and rows <= height, "unexpected reference render %s: %s %dx%d"
           % (path, magic, width, rows))
    with open(out, "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % (width, height))
        f.write(pixels + bytes(3 * width * (height - rows)))
    return out


def prescan_case(resolution, length, language, args, dialogs, extra_ini=""):
    """A prescan of the default scanner; the file's width and height are the bed's at the
    resolution, the window (and the lines delivered) as long as the prescan length asks."""
    window = (BED_UNITS[0], round(length * SCALE) if length else BED_UNITS[1])
    pixels, delivered = (-(-units * resolution // SCALE) for units in window)
    lines = BED_UNITS[1] * resolution // SCALE
    row_bytes = (pixels * 3 + 3) // 4 * 4

    def case(context):
        with TestPrefix(context.tree, context.name, display=True) as prefix:
            bitmap = install_prescan(prefix, context)
            log = os.path.join(prefix.root, "scan.log")
            prefix.seed_win_ini("[Scanner Simulator]\nScanLog=%s\n%s"
                                % (windows_path(log), extra_ini))
            with MessageWatch(prefix, context.program("msgwatch")) as watch:
                result, values, seen = prescan(prefix, context, "--language", str(language),
                                               *args)
            expect(result.ok, "the prescan failed:\n" + result.describe())
            expect_values(result, values, {
                "pixels": str(pixels), "lines": str(lines), "row_bytes": str(row_bytes),
                "resolution": str(resolution), "lines_read": str(delivered),
                "file_written": "1", "bitmap": "present",
                "bitmap_bytes": str(BMP_HEADER + lines * row_bytes),
                # The green plane of the calibration, one coefficient per pixel across.
                "kept_samples": str(pixels), "force_calibration": "0"})
            expect(watch.boxes == [], "unexpected message boxes: %r" % watch.boxes)
            expect(seen == dialogs, "the library's dialogs were %r, expected %r"
                   % (seen, dialogs))
            # Window from the top-left corner, set up as the prescan library's colour scan.
            setups = logged_setups(log)
            expect(setups == [((0, 0) + window, 0, 0, 3, 1, resolution)],
                   "unexpected set-ups (window, source, from the data source, colour type, "
                   "speed, resolution): %r" % setups)

            image = probe([bitmap])[0]
            expect((image["format"], image["mode"], image["width"], image["height"]) ==
                   ("BMP", "RGB", pixels, lines), "Pillow read %r" % image)
            expected = reference(prefix, log, context, "expected.pnm")
            if delivered < lines:
                expected = padded(expected, lines, os.path.join(prefix.root, "padded.pnm"))
            compared = expect_reference_pixels(expected, bitmap)
            expect(compared["bmp"]["bits"] == 24 and compared["bmp"]["bottom_up"],
                   "unexpected bitmap layout: %r" % compared["bmp"])
    return case


def case_german_jam_message(context):
    """The set-up answers "paper jammed": the library's string 15 of the German block under
    the brand and its string 14, nothing else, the zero result and no bitmap."""
    with TestPrefix(context.tree, context.name, display=True) as prefix:
        bitmap = install_prescan(prefix, context)
        prefix.seed_win_ini("[Scanner Simulator]\nSetupStatus=0x8217\n")
        with MessageWatch(prefix, context.program("msgwatch")) as watch:
            result, values, seen = prescan(prefix, context, "--language", "1")
        expect(result.returncode == 1 and "PRESCANCALL ZERO RESULT" in result.lines,
               "expected the zero result:\n" + result.describe())
        expect_values(result, values, {
            "pixels": "0", "lines": "0", "row_bytes": "0", "resolution": "0",
            "lines_read": "0", "file_written": "0", "bitmap": "absent"})
        expect(not os.path.exists(bitmap), "a bitmap was left behind")
        boxes = [(b.caption, b.text) for b in watch.boxes]
        expect(boxes == [("SCANNER Flachbettscanner",
                          " Papierstau im automatischen Vorlageneinzug")],
               "unexpected message boxes: %r" % boxes)
        expect(seen == [dialog("Flachbettscanner", "Aufwärmen...",
                               "Das kann einige Minuten dauern.")],
               "the library's dialogs were %r" % seen)


CASES = {
    # French, whose warm-up line is the longest; a scanner that is not ready at first brings
    # up the not-ready dialog during the bring-up.
    "full_bed_30dpi": prescan_case(
        30, None, 2, [], [
            dialog("Scanner à plat", "Le scanner n'est pas prêt.", "Veuillez patienter..."),
            dialog("Scanner à plat", "Préchauffage...", "Cela peut prendre quelques minutes.")],
        extra_ini="WarmupPolls=3\n"),
    # The float argument and the high-resolution flag: a window of six inches at 60 dpi, in a
    # file that keeps the bed's height.
    "six_inches_60dpi": prescan_case(
        60, 6.0, 0, ["--high", "--length", "6"],
        [dialog("Flatbed Scanner", "Warming Up...", "It may take a few minutes.")]),
    "german_jam_message": case_german_jam_message,
}

if __name__ == "__main__":
    main(CASES)
