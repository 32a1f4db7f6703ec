#!/usr/bin/env python3
"""The preview window under Wine: after Prescan it shows the prescan image, which with
straight curves is the bitmap the prescan library wrote, pixel for pixel on screen; a region
drawn with the mouse is the one scanned (equal to the simulator's reference, its size the
region's inches times the resolution); zoom steps name their factor in the title and come back
to the same frame; the frame follows the scanning window; Hi/Low Resolution prescans at 60 dpi."""
import json
import os
import re
import subprocess

from acquire_cases import PILLOW_PYTHON, expect_reference_pixels, probe, reference
from harness.cases import expect, main
from window_session import window_rect, window_session

# Every curve straight: the working copy is then the prescan image itself.
STRAIGHT = "[A3 SCANNER]\nScanRes=100\nGamma=10   10   10   10   \n"


def preview_of(seen):
    match = re.match(r'(\d) title="([^"]*)" rect=([-0-9,]+)', seen.get("preview visible", ""))
    expect(match, "uidriver saw no preview frame: %r" % seen)
    return {"visible": match.group(1) == "1", "title": match.group(2), "rect": match.group(3)}


def prescan(session):
    return preview_of(session.drive("find 60", "click main:1002", "sleep 500",
                                    "wait-enabled main:1002 90", "sleep 800", "preview",
                                    seconds=120))


def bitmap_path(session):
    return os.path.join(session.prefix.windows_dir, "TWAIN_32", "KVTC_A3", "PVWC0000.BMP")


def screen_equals_bitmap(shot, bitmap, left, top, frame):
    """The screenshot's pixels at (left, top) onward equal the bitmap's, Pillow reading both,
    but for the one-pixel running frame around the region (preview pixels l, t, r, b)."""
    code = ("import sys, json; from PIL import Image, ImageChops, ImageDraw\n"
            "shot = Image.open(sys.argv[1]).convert('RGB'); bmp = Image.open(sys.argv[2]).convert('RGB')\n"
            "l, t = int(sys.argv[3]), int(sys.argv[4])\n"
            "part = shot.crop((l, t, l + bmp.width, t + bmp.height))\n"
            "f = [int(v) for v in sys.argv[5].split(',')]\n"
            "for image in (part, bmp):\n"
            "    ImageDraw.Draw(image).rectangle((f[0], f[1], f[2] - 1, f[3] - 1), outline=(255, 0, 255))\n"
            "box = ImageChops.difference(part, bmp).getbbox()\n"
            "print(json.dumps({'equal': box is None, 'differs_in': box}))")
    done = subprocess.run([PILLOW_PYTHON, "-c", code, shot, bitmap, str(left), str(top), frame],
                          capture_output=True, text=True, timeout=60)
    expect(done.returncode == 0, "cannot compare the screenshot:\n" + done.stderr)
    return json.loads(done.stdout)


def case_prescan_shows_the_bed_and_a_drawn_region_is_scanned(context):
    with window_session(context, STRAIGHT) as (session, log):
        session.start()
        before = preview_of(session.drive("find 60", "preview"))
        expect(not before["visible"], "the preview shows before any prescan")
        shown = prescan(session)
        expect(shown["visible"] and shown["title"] == "Preview (1:1)", "after Prescan: %r" % shown)
        shot = os.path.join(session.prefix.root, "preview.png")
        session.shot(shot, "0,0,1280,1024")
        compared = screen_equals_bitmap(shot, bitmap_path(session), *client_origin(session),
                                        "78,81,150,145")  # the stored region
        expect(compared["equal"], "the preview on screen is not the prescan image: %r" % compared)
        # 90 x 90 preview pixels of 1/30 inch: a 3-inch square, 300 x 300 pixels at 100 dpi.
        seen = session.drive("drag 30 40 120 130", "sleep 500", "text page:1018", "text page:1020")
        expect((seen.get("page:1018"), seen.get("page:1020")) == ("3.00", "3.00"),
               "the drawn region shows as %r x %r inches" % (seen.get("page:1018"), seen.get("page:1020")))
        session.drive("click main:1001")
        output = session.finish()
        expect("TWAINSCAN OK" in output, "the scan of the drawn region failed:\n" + output)
        image = probe([session.out])[0]
        expect((image["width"], image["height"]) == (300, 300),
               "a 3-inch square at 100 dpi is 300 x 300 pixels, got %r" % image)
        expect_reference_pixels(reference(session.prefix, log, context, "region.pnm"), session.out)


def client_origin(session):
    """The preview area's top-left corner on the screen."""
    seen = session.drive("area-origin")
    match = re.match(r"(-?\d+),(-?\d+)", seen.get("preview area origin", ""))
    expect(match, "uidriver gave no area origin: %r" % seen)
    return int(match.group(1)), int(match.group(2))


def case_zoom_titles_and_the_frame_follows(context):
    with window_session(context, STRAIGHT) as (session, log):
        session.start()
        first = prescan(session)
        titles = []
        for step in ("press 100 100", "press 100 100", "press 60 60 shift", "press 60 60 shift",
                     "press 60 60 shift"):
            titles.append(preview_of(session.drive("toolbar 3", step, "sleep 400", "preview"))["title"])
        expect(titles == ["Preview (2:1)", "Preview (4:1)", "Preview (2:1)", "Preview (1:1)",
                          "Preview (1:1)"], "zoom titles: %r" % titles)
        back = preview_of(session.drive("preview"))
        expect(back["rect"] == first["rect"], "zooming in and out left the frame at %s, not %s"
               % (back["rect"], first["rect"]))
        seen = session.drive("move 40 60", "sleep 500", "find 5", "preview")
        main_rect = [int(v) for v in window_rect(seen).split(",")]
        frame = [int(v) for v in preview_of(seen)["rect"].split(",")]
        expect(frame[0] == main_rect[2] + 1 and frame[1] == main_rect[1],
               "the preview did not follow the window: main %r, preview %r" % (main_rect, frame))
        session.drive("click main:1003")
        session.finish()


def case_high_density_prescans_at_60_dpi(context):
    with window_session(context, STRAIGHT) as (session, log):
        session.start()
        session.drive("find 60", "click main:1002", "sleep 500", "wait-enabled main:1002 90",
                      "toolbar 0", "click main:1002", "sleep 500", "wait-enabled main:1002 90",
                      seconds=180)
        image = probe([bitmap_path(session)])[0]
        expect((image["width"], image["height"]) == (702, 1020),
               "Hi/Low Resolution did not give the 60 dpi prescan: %r" % image)
        session.drive("click main:1003")
        session.finish()


CASES = {
    "region_scan": case_prescan_shows_the_bed_and_a_drawn_region_is_scanned,
    "zoom_and_follow": case_zoom_titles_and_the_frame_follows,
    "high_density": case_high_density_prescans_at_60_dpi,
}

if __name__ == "__main__":
    main(CASES)
