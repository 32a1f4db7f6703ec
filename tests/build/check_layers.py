#!/usr/bin/env python3
"""The data source's layers, from the top: the window (ui), the TWAIN front end (twain) beside
the scanning window's portable models (window), the engine, the scanner link and the image
files, the session with the application and the user (codes, messages, language, window
hooks), the settings, and at the bottom the platform seam, the resources and common. A file
may include headers of its own folder and of folders below it, never of a folder above it or
beside it. Every project include names its folder.

  check_layers.py SOURCE_ROOT   (the repository; prints every offending line)

The prescan library (prescan/) is another deliverable: besides its own folder it may use
only what both libraries share, common/, the platform seam and the resources.

Outside source/, common/ and prescan/ (the simulator, tools, tests, benchmarks) only the
naming of folders is checked.

Exits 0 and prints "layers OK" when nothing offends."""
import os
import re
import sys

RANKS = {
    "ui": 6,
    "twain": 5, "window": 5,
    "engine": 4,
    "link": 3, "imagefile": 3,
    "session": 2,
    "settings": 1,
    "platform": 0, "resources": 0, "common": 0,
}
PRESCAN_MAY_USE = ("prescan", "common", "platform", "resources")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def layer_of(relative):
    """The layer of a path under source/ (or of common/), None for anything else."""
    parts = relative.split("/")
    if parts[0] == "common":
        return "common"
    if parts[0] == "source" and len(parts) > 2:
        return parts[1] if parts[1] in RANKS else None
    return None


def offences(repo):
    found = []
    for top in ("source", "common", "prescan", "simulator", "tools", "tests", "bench"):
        for folder, _, names in os.walk(os.path.join(repo, top)):
            for name in names:
                if not name.endswith((".h", ".cpp")):
                    continue
                path = os.path.join(folder, name)
                relative = os.path.relpath(path, repo).replace(os.sep, "/")
                if "/corpus/" in relative:
                    continue
                own = layer_of(relative)
                with open(path, encoding="utf-8", errors="replace") as f:
                    for number, line in enumerate(f, 1):
                        m = INCLUDE.match(line)
                        if not m:
                            continue
                        target = m.group(1)
                        where = "%s:%d: %s" % (relative, number, line.strip())
                        if "/" not in target:
                            found.append(where + "  (the include names no folder)")
                            continue
                        first = target.split("/")[0]
                        if relative.startswith("prescan/") and first not in PRESCAN_MAY_USE:
                            found.append(where + "  (prescan may not include %s)" % first)
                            continue
                        if own is None or first not in RANKS:
                            continue  # another deliverable's root, or a system header
                        # The bottom layer's parts stand side by side and may use each other.
                        if RANKS[first] == 0 and RANKS[own] == 0:
                            continue
                        if first != own and RANKS[first] >= RANKS[own]:
                            found.append(where + "  (%s may not include %s)" % (own, first))
    return found


def main():
    repo = sys.argv[1] if len(sys.argv) > 1 else os.getcwd()
    found = offences(repo)
    for line in found:
        print(line)
    if found:
        print("layers: %d offending includes" % len(found))
        return 1
    print("layers OK")
    return 0


if __name__ == "__main__":
    sys.exit(main())
