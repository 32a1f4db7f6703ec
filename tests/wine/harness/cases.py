"""A small runner for Wine test cases: each script groups related cases, and ctest runs
each case as its own test (its own prefix), so cases run in parallel."""
import argparse
import json
import os
import sys
import traceback


class CaseFailed(Exception):
    pass


def expect(condition, message):
    if not condition:
        raise CaseFailed(message)


def expect_ok(result):
    expect(result.ok, "the run did not succeed:\n" + result.describe())


def image_info(result):
    """The image information twainscan printed ("image Key: value" lines), as a dict."""
    info = {}
    for line in result.lines:
        if line.startswith("image "):
            key, _, value = line[len("image "):].partition(": ")
            info[key] = value
    expect("ImageWidth" in info, "no image information printed:\n" + result.describe())
    return info


def expect_line(result, line):
    expect(line in result.lines, "missing line %r in:\n%s" % (line, result.describe()))


# The source managers a case can run under: Wine's own, and the TWAIN Working Group's
# (tests/wine/twain-dsm), which 64-bit applications load.
MANAGERS = ("twain_32.dll", "TWAINDSM.dll")


class Context:
    def __init__(self, tree, name, manager=MANAGERS[0]):
        self.tree = os.path.abspath(tree)
        self.manager = manager
        # Each manager's run of a case has a prefix copy of its own name.
        self.name = name if manager == MANAGERS[0] else name + ".twaindsm"
        with open(os.path.join(self.tree, "wine", "programs.json")) as f:
            self.programs = json.load(f)

    def program(self, key):
        path = self.programs.get(key, "")
        expect(path and os.path.exists(path), "program %r is not built (%r)" % (key, path))
        return path

    def twainscan(self, *args):
        """twainscan's command line for this case's source manager."""
        return [self.program("twainscan"), "--manager", self.manager] + list(args)


def main(cases):
    parser = argparse.ArgumentParser()
    parser.add_argument("--tree", required=True, help="the x86_64 Windows build tree")
    parser.add_argument("--manager", choices=MANAGERS, default=MANAGERS[0],
                        help="the source manager twainscan loads")
    parser.add_argument("case", choices=sorted(cases))
    args = parser.parse_args()
    context = Context(args.tree, args.case, args.manager)
    try:
        cases[args.case](context)
    except CaseFailed as failure:
        print("CASE FAILED: %s\n%s" % (args.case, failure))
        sys.exit(1)
    except Exception:
        traceback.print_exc()
        print("CASE FAILED: %s (error in the harness)" % args.case)
        sys.exit(1)
    print("CASE OK: " + args.case)
