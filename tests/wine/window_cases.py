#!/usr/bin/env python3
"""The scanning window under Wine: twainscan enables the source with its user interface and
uidriver works the window as a user would. The window shows its title and the texts of the
string table; Prescan leaves the preview bitmap; Scan delivers, by each transfer, the image of
the region shown on the Main page, equal to the simulator's reference of the scan it was
asked for; Cancel asks the application to close the source; Deutsch in the language dialog
turns every text German; a gray mode changes the image size shown and gives a gray image; and
Escape in the progress window of a long scan stops it."""
import os
import struct

from acquire_cases import MODES, expect_reference_pixels, probe, reference
from harness.cases import expect, main
from harness.msgcapture import MessageWatch
from window_session import language_strings, window_rect, window_session

MAIN_BUTTONS = {"1002": 306, "1001": 307, "1005": 302, "1006": 309, "1007": 310, "1008": 352,
                "1009": 311}
PAGE_LABELS = {"1001": 315, "1003": 322, "1005": 316, "1008": 323, "1010": 706, "1012": 326,
               "1017": 318, "1019": 319, "1022": 327, "1025": 320, "1014": 325}
# The default region, "Frame" 78,81 - 150,145 in preview pixels of 1/30 inch: 2.4 x 2.13 in.
DEFAULT_REGION_PIXELS_300 = (720, 640)


def scans_started(log):
    """Scan starts the simulator accepted: the log's records of 16 bytes."""
    if not os.path.exists(log):
        return 0
    with open(log, "rb") as f:
        data = f.read()
    at, starts = 0, 0
    while at + 5 <= len(data):
        length = struct.unpack_from("<I", data, at + 1)[0]
        starts += length == 16
        at += 5 + length
    return starts


def texts_of(session):
    steps = ["text main:%s" % c for c in MAIN_BUTTONS] + ["text main:1003"]
    steps += ["text page:%s" % c for c in PAGE_LABELS]
    return session.drive(*steps)


def expect_language(seen, index, title):
    strings = language_strings(index)
    wanted = {"main:%s" % c: strings[n] for c, n in MAIN_BUTTONS.items()}
    wanted["main:1003"] = "&" + strings[308]
    wanted.update({"page:%s" % c: strings[n] for c, n in PAGE_LABELS.items()})
    got = {key: seen.get(key) for key in wanted}
    expect(got == wanted, "%s texts differ from the string table:\n%r\nexpected\n%r"
           % (title, got, wanted))


def scan_case(xfer, out_name, file_format):
    """Scan from the window: the image of the region the Main page shows, equal to the
    simulator's reference; the settings it used are in WIN.INI afterwards."""
    def case(context):
        with window_session(context, out_name=out_name) as (session, log):
            session.start("--xfer", xfer)
            # Pressed twice: the second press finds the command already running.
            seen = session.drive("find 60", "text page:1018", "text page:1020", "enabled main:1001",
                                 "click main:1001", "click main:1001")
            expect(seen.get("page:1018") == "2.40" and seen.get("page:1020") == "2.13",
                   "the Main page shows %r x %r inches, not the stored region's 2.40 x 2.13"
                   % (seen.get("page:1018"), seen.get("page:1020")))
            output = session.finish()
            expect("TWAINSCAN OK" in output, "the scan from the window failed:\n" + output)
            image = probe([session.out])[0]
            expect((image["width"], image["height"]) == DEFAULT_REGION_PIXELS_300,
                   "a 2.4 x 2.13 inch region at 300 dpi is 720 x 640 pixels, got %r" % image)
            expect(image["format"] == file_format and image["mode"] == "RGB", repr(image))
            expect_reference_pixels(reference(session.prefix, log, context, "expected.pnm"),
                                    session.out)
            expect(scans_started(log) == 1, "Scan pressed twice started %d scans" % scans_started(log))
            with open(os.path.join(session.prefix.windows_dir, "win.ini"), encoding="cp1252") as f:
                ini = f.read()
            expect("ScanRes=300" in ini.replace(" ", ""),
                   "the scan's settings were not written to WIN.INI:\n" + ini)
    return case


def case_window_texts_and_prescan(context):
    with window_session(context) as (session, log):
        session.start()
        seen = session.drive("find 60")
        expect(seen.get("window title", "").startswith('"Solenne A3 Flatbed Scanner"'),
               "the window's title: %r" % seen)
        expect_language(texts_of(session), 0, "English")
        bitmap = os.path.join(session.prefix.windows_dir, "TWAIN_32", "KVTC_A3", "PVWC0000.BMP")
        expect(not os.path.exists(bitmap), "a preview bitmap exists before any prescan")
        session.drive("click main:1002", "sleep 500", "wait-enabled main:1002 90", seconds=120)
        expect(os.path.exists(bitmap), "Prescan left no preview bitmap")
        image = probe([bitmap])[0]
        expect((image["width"], image["height"]) == (351, 510) and image["distinct"] > 1,
               "the preview bitmap is not the whole bed at 30 dpi: %r" % image)
        session.drive("click main:1003")
        output = session.finish()
        expect("MSG_CLOSEDS" in output, "twainscan did not close the source:\n" + output)


def case_cancel_asks_to_close(context):
    with window_session(context) as (session, log):
        session.start()
        session.drive("find 60", "click main:1003")
        output = session.finish()
        expect("(MSG_CLOSEDSREQ)" in output and "MSG_DISABLEDS" in output and
               "MSG_CLOSEDS" in output and "Unhandled" not in output,
               "Cancel did not end in the close request and a clean close:\n" + output)
        expect(not os.path.exists(log), "Cancel scanned")


def case_german_from_the_language_dialog(context):
    with window_session(context) as (session, log):
        session.start()
        english = language_strings(0)
        session.drive("find 60", "mouse page:1028", "wait \"%s\" 30" % english[104],
                      "listbox \"[%s]:73\" 1" % english[104], "click \"[%s]:71\"" % english[104],
                      "gone \"%s\" 30" % english[104], "sleep 300")
        expect_language(texts_of(session), 1, "German")
        session.drive("click main:1003")
        session.finish()
        with open(os.path.join(session.prefix.windows_dir, "win.ini"), encoding="cp1252") as f:
            expect("LANGUAGE=Deutsch" in f.read().replace(" ", ""),
                   "OK in the language dialog did not store Deutsch")


def case_gray_mode_changes_size_and_image(context):
    with window_session(context) as (session, log):
        session.start()
        before = session.drive("find 60", "text page:1026")
        seen = session.drive("select page:1002 2", "sleep 300", "text page:1002", "text page:1026")
        colour_kb, gray_kb = float(before["page:1026"]), float(seen["page:1026"])
        expect(seen.get("page:1002") == language_strings(0)[151],
               "the scan mode list shows %r" % seen.get("page:1002"))
        expect(abs(colour_kb - 3 * gray_kb) < 0.02,
               "24-bit colour %.2f KB should be three times 256 gray %.2f KB" % (colour_kb, gray_kb))
        session.drive("click main:1001")
        output = session.finish()
        expect("TWAINSCAN OK" in output, "the gray scan failed:\n" + output)
        image = probe([session.out])[0]
        expect(image["mode"] == MODES["gray"], "the image is not gray: %r" % image)
        expect_reference_pixels(reference(session.prefix, log, context, "gray.pnm"), session.out)


def case_escape_stops_a_long_scan(context):
    # The whole bed at 300 dpi in colour, the scanner delivering 500 lines a second: long
    # enough to be watched.
    win_ini = "[A3 SCANNER]\nFrame=0   0   351 510\nScanRes=300\n"
    with window_session(context, win_ini, simulator="LineRate=500\n") as (session, log):
        session.start()
        session.drive("find 60", "click main:1001", "wait \"Scanning Status\" 90", "sleep 1500")
        session.shot(os.path.join(session.prefix.root, "progress.png"),
                     session.drive("rect \"Scanning Status\"")["Scanning Status rect"])
        session.drive("escape \"Scanning Status\"", "gone \"Scanning Status\" 30")
        output = session.finish()
        expect("TWRC_CANCEL" in output and "Unhandled" not in output,
               "Escape did not cancel the transfer:\n" + output)
        expect(not os.path.exists(session.out), "a cancelled scan wrote an image")


def case_missing_table_and_calibrator_are_told(context):
    """Output Matching without the reflective colour table tells the user to run the
    calibrator and stays unticked; a calibrator that cannot be started is reported."""
    win_ini = "[tintara]\npath=C:\\nowhere\\calibrator.exe\n"
    with window_session(context, win_ini) as (session, log):
        os.remove(os.path.join(session.prefix.windows_dir, "TWAIN_32", "COLOR", "corvA3.tab"))
        session.start()
        with MessageWatch(session.prefix, context.program("msgwatch")) as watch:
            session.drive("find 60", "click page:1014", "sleep 1500", "mouse page:1015",
                          "sleep 1500")
        seen = session.drive("checked page:1014", "enabled page:1015")
        session.drive("click main:1003")
        session.finish()
        english = language_strings(0)
        texts = [(box.caption, box.text) for box in watch.boxes]
        expect(texts == [(english[406], english[510]), (english[636], english[634])],
               "expected the missing-table and missing-calibrator messages, saw %r" % texts)
        expect(seen.get("page:1015 enabled") == "1", "the calibrator icon is not offered")
        expect(seen.get("page:1014 checked") == "0", "Output Matching stayed ticked without a table")


def case_failed_scan_keeps_the_profile(context):
    """A scan the scanner refuses (a paper jam at its set-up) is told, leaves Scan usable and
    the settings in WIN.INI as they were: the gray mode chosen for it is not stored."""
    with window_session(context, simulator="SetupStatus=0x8217\n") as (session, log):
        session.start()
        with MessageWatch(session.prefix, context.program("msgwatch")) as watch:
            session.drive("find 60", "select page:1002 2", "sleep 300", "click main:1001",
                          "sleep 2000", "wait-enabled main:1001 60")
        session.drive("click main:1003")
        output = session.finish()
        expect(len(watch.boxes) >= 1, "the jam was not told")
        expect("MSG_CLOSEDS" in output, "the source was not closed:\n" + output)
        with open(os.path.join(session.prefix.windows_dir, "win.ini"), encoding="cp1252") as f:
            ini = f.read()
        expect("ScanMode" not in ini, "a failed scan wrote its settings:\n" + ini)


CASES = {
    "texts_and_prescan": case_window_texts_and_prescan,
    "scan_native": scan_case("native", "scan.bmp", "BMP"),
    "scan_memory": scan_case("memory", "scan.tif", "TIFF"),
    "scan_file": scan_case("file", "scan.tif", "TIFF"),
    "cancel_asks_to_close": case_cancel_asks_to_close,
    "german": case_german_from_the_language_dialog,
    "gray_mode": case_gray_mode_changes_size_and_image,
    "escape_stops_scan": case_escape_stops_a_long_scan,
    "missing_table_and_calibrator": case_missing_table_and_calibrator_are_told,
    "failed_scan_keeps_profile": case_failed_scan_keeps_the_profile,
}

if __name__ == "__main__":
    main(CASES)
