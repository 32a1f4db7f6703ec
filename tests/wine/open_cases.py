#!/usr/bin/env python3
"""Opening and closing the source through a source manager (Wine's own, or TWAINDSM.dll), with the scanner
simulator installed as the port library: identification after open, repeated opens in one
process, and the messages a refused open shows (captured by msgwatch)."""
import os

from harness.cases import expect, expect_line, expect_ok, main
from harness.msgcapture import MessageWatch
from harness.prefix import TestPrefix

IDENTIFICATION = "Info: 11050kvtc_a3.d\\nAdaptec Card\\n"
STRINGS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "source",
                       "resources", "strings", "strings.tsv")


def table_text(number, language):
    """The text of string `number` in language block `language` (0 English, 1 German...)."""
    with open(STRINGS, encoding="utf-8") as f:
        for line in f:
            fields = line.rstrip("\n").split("\t")
            if fields[0] == str(number):
                return fields[2 + language][1:-1].replace('""', '"')
    raise KeyError(number)


def open_source(context, win_ini, cycles=1):
    """Runs twainscan --open in a fresh prefix and returns (result, message boxes)."""
    with TestPrefix(context.tree, context.name, display=True) as prefix:
        prefix.install_source(context.program("source"), [context.program("portlib")])
        prefix.install_manager(context.manager)
        prefix.seed_win_ini(win_ini)
        with MessageWatch(prefix, context.program("msgwatch")) as watch:
            result = prefix.run(context.twainscan("--open", str(cycles)),
                                success_line="TWAINSCAN OK")
    return result, watch.boxes


# After a refused open the application can ask only the manager for the condition: Wine's
# passes on the source's TWCC_OPERATIONERROR, TWAINDSM.dll answers with its own TWCC_NODS.
REFUSED_CONDITION = {"twain_32.dll": "TWCC_OPERATIONERROR", "TWAINDSM.dll": "TWCC_NODS"}


def expect_refused(context, result):
    expect(not result.ok and not result.timed_out and not result.crashed,
           "the open was not refused cleanly:\n" + result.describe())
    expect_line(result, "TWAINSCAN FAILED: MSG_OPENDS failed: TWRC_FAILURE, "
                + REFUSED_CONDITION[context.manager])


def case_open_close_twice(context):
    # Wine never unloads a closed source: the second open must start from clean state.
    result, boxes = open_source(context, "[mail]\nmapi=1\n", cycles=2)
    expect_ok(result)
    for cycle in ("1", "2"):
        expect_line(result, "opened %s:" % cycle)
        expect_line(result, "closed %s" % cycle)
    expect(result.lines.count(IDENTIFICATION) == 2,
           "each open must report the identification:\n" + result.describe())
    expect(boxes == [], "no message expected, got %r" % boxes)


def case_scanner_not_ours(context):
    result, boxes = open_source(context, "[Scanner Simulator]\nCapability=0x20\n")
    expect_refused(context, result)
    captured = [(b.caption, b.text) for b in boxes]
    expect(captured == [("SCANNERA3 Flatbed Scanner", table_text(623, 0))],
           "unexpected message boxes: %r" % captured)


def case_german_interface(context):
    win_ini = "[KVTINFO_A3]\nLANGUAGE=Deutsch\n[Scanner Simulator]\nCapability=0x20\n"
    result, boxes = open_source(context, win_ini)
    expect_refused(context, result)
    captured = [(b.caption, b.text) for b in boxes]
    expect(captured == [("SCANNERA3 Flatbed Scanner", table_text(623, 1))],
           "unexpected message boxes: %r" % captured)


def case_scanner_not_ready_still_opens(context):
    result, boxes = open_source(context, "[Scanner Simulator]\nInquiryStatus=255\n")
    expect_ok(result)
    expect_line(result, IDENTIFICATION)
    captured = [(b.caption, b.text.startswith(" Please make sure :")) for b in boxes]
    expect(captured == [("SCANNERFlatbed Scanner not ready.", True)],
           "unexpected message boxes: %r" % captured)


def case_no_manager_in_the_process(context):
    # A program that loads the source itself: no manager can announce the image.
    with TestPrefix(context.tree, context.name, display=True) as prefix:
        prefix.install_source(context.program("source"), [context.program("portlib")])
        result = prefix.run([context.program("no_manager"), r"C:\windows\twain_64\sane.ds"],
                            success_line="NO_MANAGER OK")
    expect_ok(result)
    expect_line(result, "MSG_ENABLEDS: rc 1, condition 5")  # TWRC_FAILURE, TWCC_OPERATIONERROR


if __name__ == "__main__":
    main({
        "open_close_twice": case_open_close_twice,
        "scanner_not_ours": case_scanner_not_ours,
        "german_interface": case_german_interface,
        "scanner_not_ready_still_opens": case_scanner_not_ready_still_opens,
        "no_manager_in_the_process": case_no_manager_in_the_process,
    })
