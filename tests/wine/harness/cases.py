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


def expect_line(result, line):
    expect(line in result.lines, "missing line %r in:\n%s" % (line, result.describe()))


class Context:
    def __init__(self, tree, name):
        self.tree = os.path.abspath(tree)
        self.name = name
        with open(os.path.join(self.tree, "wine", "programs.json")) as f:
            self.programs = json.load(f)

    def program(self, key):
        path = self.programs.get(key, "")
        expect(path and os.path.exists(path), "program %r is not built (%r)" % (key, path))
        return path


def main(cases):
    parser = argparse.ArgumentParser()
    parser.add_argument("--tree", required=True, help="the x86_64 Windows build tree")
    parser.add_argument("case", choices=sorted(cases))
    args = parser.parse_args()
    context = Context(args.tree, args.case)
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
