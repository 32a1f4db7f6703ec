#!/usr/bin/env python3
"""The soak run: twainscan acquisitions and open/close cycles through Wine's source manager,
many times, two at a time, while busy loops load the processors beside them. Each run is
checked as the Wine tests check it (exit code 0, its success line, no crash report from
Wine) and leaves no temporary file. A fault that shows once in a few hundred runs, such as a
crash while a program exits, shows here instead of being retried away.

  soak.py --tree build/win64 [--runs 300] [--minutes 30] [--workers 2] [--load 2]

Prints one line per failure and a summary: runs, failures, and the first failure's log."""
import argparse
import glob
import itertools
import json
import os
import subprocess
import sys
import threading
import time

from harness.prefix import TestPrefix
from harness.winecmd import windows_path

FRAME = ["--frame", "1,1,3.01,2.5"]
# What every run does, in turn: the acquisitions of the Wine tests and open/close cycles.
WORKLOADS = [
    ("native colour", ["--pixel", "rgb", "--res", "150"] + FRAME, "scan.bmp"),
    ("memory gray", ["--pixel", "gray", "--res", "300", "--xfer", "memory"] + FRAME, "scan.tif"),
    ("file TIFF colour", ["--pixel", "rgb", "--res", "300", "--xfer", "file"] + FRAME, "scan.tif"),
    ("file BMP line art", ["--pixel", "bw", "--res", "300", "--xfer", "file", "--format", "bmp"]
     + FRAME, "scan.bmp"),
    ("open and close", ["--open", "3"], None),
]


def temp_files(prefix):
    """Files in the prefix's temporary folders (where the source puts its spools)."""
    found = []
    for pattern in ("drive_c/users/*/AppData/Local/Temp/*", "drive_c/users/*/Temp/*",
                    "drive_c/windows/temp/*"):
        found += glob.glob(os.path.join(prefix.prefix, pattern))
    return sorted(found)


class Tally:
    def __init__(self, runs, deadline):
        self.lock = threading.Lock()
        self.counter = itertools.count()
        self.runs, self.deadline = runs, deadline
        self.done = 0
        self.failures = []
        self.service_crashes = []

    def next_run(self):
        with self.lock:
            n = next(self.counter)
            return n if n < self.runs and time.monotonic() < self.deadline else None

    def record(self, what, failure):
        with self.lock:
            self.done += 1
            if failure:
                self.failures.append((what, failure))
                print("soak: FAILED %s\n%s" % (what, failure.splitlines()[0]), flush=True)


def check(result, prefix, out, before):
    """Why the run failed, or None."""
    if not result.ok:
        why = "crashed" if result.crashed else "timed out" if result.timed_out else "not ok"
        return "%s:\n%s" % (why, result.describe())
    if out and not os.path.exists(out):
        return "no output file:\n" + result.describe()
    left = [f for f in temp_files(prefix) if f not in before]
    if left:
        return "temporary files left: %r\n%s" % (left, result.describe())
    return None


def worker(index, context, tally):
    name = "soak%d" % index
    with TestPrefix(context["tree"], name, display=True) as prefix:
        prefix.install_source(context["source"], [context["portlib"]])
        prefix.seed_win_ini("[mail]\nmapi=1\n")
        before = temp_files(prefix)
        while True:
            n = tally.next_run()
            if n is None:
                break
            what, args, out_name = WORKLOADS[n % len(WORKLOADS)]
            out = os.path.join(prefix.root, out_name) if out_name else None
            argv = [context["twainscan"]] + args + (["--out", windows_path(out)] if out else [])
            if out and os.path.exists(out):
                os.remove(out)
            result = prefix.run(argv, seconds=180, success_line="TWAINSCAN OK")
            tally.record("run %d (%s, worker %d)" % (n + 1, what, index),
                         check(result, prefix, out, before))
        # Wine's own processes of the prefix (services, device drivers) report apart.
        tally.service_crashes += prefix.service_crashes()


def start_load(count):
    """Busy loops beside the runs, ended by pid."""
    return [subprocess.Popen([sys.executable, "-c", "while True: pass"]) for _ in range(count)]


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--tree", required=True, help="the x86_64 Windows build tree")
    parser.add_argument("--runs", type=int, default=300)
    parser.add_argument("--minutes", type=float, default=30)
    parser.add_argument("--workers", type=int, default=2)
    parser.add_argument("--load", type=int, default=2, help="busy loops beside the runs")
    args = parser.parse_args()
    tree = os.path.abspath(args.tree)
    with open(os.path.join(tree, "wine", "programs.json")) as f:
        programs = json.load(f)
    context = {"tree": tree, "source": programs["source"], "portlib": programs["portlib"],
               "twainscan": programs["twainscan"]}
    tally = Tally(args.runs, time.monotonic() + 60 * args.minutes)
    load = start_load(args.load)
    start = time.monotonic()
    try:
        threads = [threading.Thread(target=worker, args=(i, context, tally))
                   for i in range(args.workers)]
        for t in threads:
            t.start()
        for t in threads:
            t.join()
    finally:
        for p in load:
            p.kill()
            p.wait()
    minutes = (time.monotonic() - start) / 60
    print("soak: %d runs, %d failures in %.1f minutes (%d workers, %d busy loops)"
          % (tally.done, len(tally.failures), minutes, args.workers, args.load))
    for line in tally.service_crashes:
        print("soak: a Wine service of the prefix crashed (not a run): " + line)
    if tally.failures:
        what, failure = tally.failures[0]
        print("soak: first failure, %s:\n%s" % (what, failure))
    return 1 if tally.failures else 0


if __name__ == "__main__":
    sys.exit(main())
