#!/usr/bin/env python3
"""Screenshots of every window, page and dialog of the data source's user interface, in
English and German, written to <out>/: the scanning window's four tabs, the resolution menu,
the custom resolution and custom scaling dialogs, the language dialog, and the progress window
of a running scan. Run by scripts/screens; needs the x86_64 tree built."""
import argparse
import os
import re
import sys

from harness.cases import CaseFailed, Context
from window_session import language_strings, window_rect, window_session, word

# Index: (file suffix, "LANGUAGE" value, the edition's "DSLANGUAGE", the locale Wine runs in:
# the Chinese blocks are shown through the Big5 code page of a Traditional Chinese system).
LANGUAGES = {
    0: ("en", "English", "None", None),
    1: ("de", "Deutsch", "None", None),
    2: ("fr", "Francais", "None", None),
    6: ("zh_TW", "Chinese", "Chinese", "zh_TW.UTF-8"),
}


def grown(rect, right=0, bottom=0):
    left, top, r, b = (int(v) for v in rect.split(","))
    return "%d,%d,%d,%d" % (left, top, r + right, b + bottom)


def rect_of(seen, key):
    match = re.search(r"([-0-9]+,[-0-9]+,[-0-9]+,[-0-9]+)", seen.get(key, ""))
    if not match:
        raise CaseFailed("no rectangle for %s in %r" % (key, seen))
    return match.group(1)


def shoot_language(context, out, index):
    code, profile_value, edition, locale = LANGUAGES[index]
    strings = language_strings(index)
    names = []
    win_ini = ("LANGUAGE=%s\nDSLANGUAGE=%s\n[A3 SCANNER]\nFrame=0   0   351 510\nScanRes=300\n"
               % (profile_value, edition))
    saved_lang = os.environ.get("LANG")
    if locale:
        os.environ["LANG"] = locale
    try:
        return shoot_session(context, out, win_ini, strings, code, names)
    finally:
        if saved_lang is None:
            os.environ.pop("LANG", None)
        else:
            os.environ["LANG"] = saved_lang


def shoot_session(context, out, win_ini, strings, code, names):
    def shot(session, name, rect):
        path = os.path.join(out, "%s-%s.png" % (name, code))
        session.shot(path, rect)
        names.append(path)

    with window_session(context, win_ini, simulator="LineRate=400\n") as (session, log):
        session.start(seconds=300)
        main = window_rect(session.drive("find 60", "sleep 300"))
        shot(session, "main-page", main)
        for tab, name in ((2, "enhancements-page"), (3, "filters-page"), (4, "about-page")):
            session.drive("tab %d" % tab, "sleep 300")
            shot(session, name, main)
        session.drive("tab 1", "sleep 300", "hover page:1028", "sleep 700")
        shot(session, "tool-tip", grown(main, 0, 40))
        # The resolution menu opens below the resolution box.
        session.drive("mouse page:1006", "sleep 600")
        shot(session, "resolution-menu", grown(main, 0, 260))
        # Up from nothing chosen is the menu's last item, "Custom".
        title = strings[316]
        seen = session.drive("key UP", "key RETURN", "wait %s 30" % word(title), "sleep 300")
        shot(session, "custom-resolution", rect_of(seen, 'window "%s" rect' % title))
        session.drive("click %s" % word("[%s]:2" % title), "gone %s 30" % word(title))
        title = strings[104]
        seen = session.drive("mouse page:1028", "wait %s 30" % word(title), "sleep 300")
        shot(session, "language-dialog", rect_of(seen, 'window "%s" rect' % title))
        session.drive("click %s" % word("[%s]:72" % title), "gone %s 30" % word(title))
        count = session.drive("count page:1023")["page:1023 count"]
        title = strings[327]
        seen = session.drive("select page:1023 %d" % (int(count) - 1), "wait %s 30" % word(title),
                             "sleep 300")
        shot(session, "custom-scaling", rect_of(seen, 'window "%s" rect' % title))
        session.drive("click %s" % word("[%s]:2" % title), "gone %s 30" % word(title))
        session.drive("click main:1001", "wait \"Scanning Status\" 60", "sleep 2500")
        seen = session.drive("rect \"Scanning Status\"")
        shot(session, "progress", grown(main, 0, 0))
        shot(session, "progress-window", rect_of(seen, "Scanning Status rect"))
        session.drive("escape \"Scanning Status\"", "gone \"Scanning Status\" 30")
        session.finish()
    return names


def shoot_preview(context, out):
    """The preview after a prescan: with a region drawn, zoomed 2:1, and on a 256-colour
    display in gray and in colour (the 8-bit palette path)."""
    names = []

    def prescanned(session):
        session.start(seconds=300)
        main = window_rect(session.drive("find 60", "click main:1002", "sleep 500",
                                         "wait-enabled main:1002 120", "sleep 800", seconds=150))
        return main

    def both(session, main, name):
        frame = re.search(r"rect=([-0-9,]+)", session.drive("preview")["preview visible"]).group(1)
        left, top = main.split(",")[:2]
        right, bottom = frame.split(",")[2:]
        path = os.path.join(out, name + ".png")
        session.shot(path, "%s,%s,%s,%s" % (left, top, right, bottom))
        names.append(path)

    with window_session(context) as (session, log):
        main = prescanned(session)
        session.drive("drag 40 60 200 260", "sleep 600")
        both(session, main, "preview-region-colour")
        session.drive("toolbar 3", "press 120 120", "sleep 600")
        both(session, main, "preview-zoom-2")
        session.drive("toolbar-hover 0", "sleep 700")
        both(session, main, "preview-tool-tip")
        session.drive("click main:1003")
        session.finish()
    with window_session(Context(context.tree, context.name + "-8bit"), depth=8) as (session, log):
        main = prescanned(session)
        both(session, main, "preview-8bit-colour")
        session.drive("click main:1003")
        session.finish()
    # 256 grays on the screen show the gray palette as it is (a 3-3-2 screen has few grays).
    win_ini = "[A3 SCANNER]\nScanMode=1013\n"
    with window_session(Context(context.tree, context.name + "-8bit-gray"), win_ini, depth=8,
                        gray=True) as (session, log):
        main = prescanned(session)
        both(session, main, "preview-8bit-gray")
        session.drive("click main:1003")
        session.finish()
    return names


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--tree", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    written = []
    try:
        for index in LANGUAGES:
            written += shoot_language(Context(args.tree, "screens-%d" % index), args.out, index)
        written += shoot_preview(Context(args.tree, "screens-preview"), args.out)
    except CaseFailed as failure:
        print("SCREENS FAILED: %s" % failure)
        return 1
    for path in written:
        print(path)
    print("SCREENS OK: %d screenshots in %s" % (len(written), args.out))
    return 0


if __name__ == "__main__":
    sys.exit(main())
