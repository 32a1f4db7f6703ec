#!/usr/bin/env python3
"""The layering check itself: a tree whose engine includes the front end, or names a header
without its folder, fails; the same tree with the includes going downwards passes."""
import os
import subprocess
import sys
import tempfile

CHECK = os.path.join(os.path.dirname(os.path.abspath(__file__)), "check_layers.py")


def run(files):
    with tempfile.TemporaryDirectory() as repo:
        for path, text in files.items():
            full = os.path.join(repo, path)
            os.makedirs(os.path.dirname(full), exist_ok=True)
            with open(full, "w") as f:
                f.write(text)
        done = subprocess.run([sys.executable, CHECK, repo], capture_output=True, text=True)
        return done.returncode, done.stdout


def main():
    clean = {
        "source/engine/a.cpp": '#include "engine/a.h"\n#include "link/b.h"\n#include "common/twain.h"\n',
        "source/twain/t.cpp": '#include "engine/a.h"\n#include "session/messages.h"\n',
        "source/platform/p.cpp": '#include "common/twain.h"\n#include "resources/strings/s.h"\n',
        "prescan/r.cpp": '#include "prescan/r.h"\n#include "common/twain.h"\n#include "platform/platform.h"\n',
    }
    failures = []
    rc, out = run(clean)
    if rc != 0 or "layers OK" not in out:
        failures.append("a clean tree was refused:\n" + out)
    for path, text, why in [
        ("source/engine/up.cpp", '#include "twain/source_record.h"\n', "engine may not include twain"),
        ("source/link/side.cpp", '#include "imagefile/tiff.h"\n', "link may not include imagefile"),
        ("source/session/bare.cpp", '#include "messages.h"\n', "names no folder"),
        ("prescan/borrow.cpp", '#include "engine/shading.h"\n', "prescan may not include engine"),
    ]:
        rc, out = run(dict(clean, **{path: text}))
        if rc == 0 or why not in out:
            failures.append("%s was accepted:\n%s" % (text.strip(), out))
    for failure in failures:
        print(failure)
    print("check_layers test " + ("FAILED" if failures else "OK"))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
