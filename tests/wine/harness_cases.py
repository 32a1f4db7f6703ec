#!/usr/bin/env python3
"""Proofs that the harness itself holds: a crash fails fast, message boxes are captured."""
import re

from harness.cases import expect, expect_ok, main
from harness.msgcapture import MessageWatch
from harness.prefix import TestPrefix


def case_crash_fails_fast(context):
    # With a display, a crash would open Wine's crash dialog and hang unless the golden
    # prefix's crash settings hold.
    with TestPrefix(context.tree, context.name, display=True) as prefix:
        result = prefix.run([context.program("crash")], seconds=60,
                            success_line="CRASH SURVIVED")
    expect("crashing now" in result.lines, "the program did not start:\n" + result.describe())
    expect(result.crashed and not result.ok and not result.timed_out,
           "the crash was not reported as a failure:\n" + result.describe())
    # The debug information the Windows builds carry puts file and line in the backtrace.
    expect(re.search(r"crash_on_purpose\.cpp:\d+\]", result.stdout),
           "the backtrace lacks file and line:\n" + result.describe())
    expect(result.elapsed < 30, "the crash took too long to end:\n" + result.describe())


def case_message_boxes_logged(context):
    with TestPrefix(context.tree, context.name, display=True) as prefix:
        with MessageWatch(prefix, context.program("msgwatch")) as watch:
            result = prefix.run([context.program("two_boxes")], success_line="TWO BOXES OK")
        expect_ok(result)
    captured = [(b.caption, b.text, b.buttons, b.pressed) for b in watch.boxes]
    expect(captured == [
        ("First caption", "First box text", ["ok"], "ok"),
        ("Second caption", "Second box\nhas two lines", ["ok", "cancel"], "ok"),
    ], "unexpected message boxes: %r" % captured)


def case_gtest_verdict(context):
    # GoogleTest's "[  PASSED  ]" line comes also when tests failed or none ran.
    from wine_run import gtest_failure
    expect(gtest_failure(["[  PASSED  ] 12 tests."]) is None, "a clean run was refused")
    expect(gtest_failure(["[  PASSED  ] 11 tests.", "[  FAILED  ] 1 test, listed below:"]),
           "a failed test was accepted")
    expect(gtest_failure(["[  PASSED  ] 0 tests."]), "a run of no test was accepted")
    expect(gtest_failure([]), "a run that printed nothing was accepted")


if __name__ == "__main__":
    main({
        "crash_fails_fast": case_crash_fails_fast,
        "message_boxes_logged": case_message_boxes_logged,
        "gtest_verdict": case_gtest_verdict,
    })
