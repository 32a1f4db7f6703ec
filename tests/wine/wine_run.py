#!/usr/bin/env python3
"""Runs one Windows program of a build tree in a fresh copy of the tree's golden prefix.

  tests/wine/wine_run.py --tree build/win64 --display --install-source \\
      --success-line "TWAINSCAN OK" -- twainscan --list --identity

A program name found in the tree's wine/programs.json stands for its path. Exits 0 only
when the program exited 0 and printed the success line (or a line with the success prefix).
"""
import argparse
import contextlib
import json
import os
import sys

from harness.msgcapture import MessageWatch
from harness.prefix import TestPrefix


def resolve(tree, program):
    """A name of the tree's programs.json, or else a path."""
    with open(os.path.join(tree, "wine", "programs.json")) as f:
        known = json.load(f)
    return known[program] if program in known else os.path.abspath(program)


def gtest_failure(lines):
    """GoogleTest prints "[  PASSED  ] N tests." also when some failed or none ran: the run
    counts only with at least one test passed and no "[  FAILED  ]" line. None when it does."""
    if any(line.startswith("[  FAILED  ]") for line in lines):
        return "a test failed"
    for line in lines:
        words = line[len("[  PASSED  ]"):].split()
        if line.startswith("[  PASSED  ]") and words and words[0].isdigit() and int(words[0]) > 0:
            return None
    return "no test ran"


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--tree", required=True)
    parser.add_argument("--display", action="store_true", help="run under a private Xvfb")
    parser.add_argument("--install-source", action="store_true",
                        help="install the tree's data source as twain_64\\sane.ds")
    parser.add_argument("--simulator", action="store_true",
                        help="with --install-source: the scanner simulator as its port library")
    parser.add_argument("--prescan", action="store_true",
                        help="with --install-source: PRESCAN.DLL beside it, for the window's Prescan")
    parser.add_argument("--screen", action="store_true",
                        help="show the windows on this session's own display ($DISPLAY)")
    parser.add_argument("--manager", action="append", default=[],
                        help="also install this source manager (TWAINDSM.dll) in the prefix")
    parser.add_argument("--win-ini", help="file whose text becomes the prefix's WIN.INI")
    parser.add_argument("--seconds", type=int, default=120)
    parser.add_argument("--success-line")
    parser.add_argument("--success-prefix")
    parser.add_argument("--gtest", action="store_true",
                        help="a GoogleTest program: at least one test ran and none failed")
    parser.add_argument("--press-ok", action="store_true",
                        help="(with --display) answer every message box with OK and print it")
    parser.add_argument("--keep", action="store_true", help="keep the prefix copy")
    parser.add_argument("--name", help="name of the prefix copy (default: the program)")
    parser.add_argument("program", nargs=argparse.REMAINDER)
    args = parser.parse_args()
    program = args.program[1:] if args.program[:1] == ["--"] else args.program
    if not program:
        parser.error("no program given")
    if args.gtest:
        args.success_prefix = "[  PASSED  ]"
    if args.success_line is None and args.success_prefix is None:
        parser.error("give --success-line, --success-prefix or --gtest")

    tree = os.path.abspath(args.tree)
    exe = resolve(tree, program[0])
    name = args.name or os.path.splitext(os.path.basename(exe))[0]
    screen = os.environ.get("DISPLAY") if args.screen else None
    if args.screen and not screen:
        parser.error("--screen needs DISPLAY")
    with TestPrefix(tree, name, display=args.display, keep=args.keep, screen=screen) as prefix:
        if args.install_source:
            own_files = [resolve(tree, "portlib")] if args.simulator else []
            own_files += [resolve(tree, "prescan")] if args.prescan else []
            prefix.install_source(resolve(tree, "source"), own_files)
        for manager in args.manager:
            prefix.install_manager(manager)
        if args.win_ini:
            with open(args.win_ini, encoding="cp1252") as f:
                prefix.seed_win_ini(f.read())
        with contextlib.ExitStack() as stack:
            watch = (stack.enter_context(MessageWatch(prefix, resolve(tree, "msgwatch")))
                     if args.press_ok else None)
            result = prefix.run([exe] + program[1:], seconds=args.seconds,
                                success_line=args.success_line,
                                success_prefix=args.success_prefix)
        for box in watch.boxes if watch else []:
            print("message box %r: %r" % (box.caption, box.text))
    sys.stdout.write(result.stdout)
    sys.stderr.write(result.stderr)
    gtest_why = gtest_failure(result.lines) if args.gtest else None
    if not result.ok or gtest_why:
        why = ("timed out" if result.timed_out else "crashed" if result.crashed else
               "exit %d" % result.returncode if result.returncode else
               gtest_why or "no success line")
        print("wine_run: %s failed (%s)" % (os.path.basename(exe), why), file=sys.stderr)
    sys.exit(0 if result.ok and not gtest_why else 1)


if __name__ == "__main__":
    main()
