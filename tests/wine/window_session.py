"""A session with the scanning window: a prefix with a display, the data source, the scanner
simulator and the prescan library installed, twainscan enabling the source with its window in
the background, and uidriver driving the window as a user would. Screenshots are taken of the
X display and cut to a window's rectangle."""
import contextlib
import os
import re
import subprocess
import sys

from harness.cases import expect
from harness.prefix import TestPrefix
from harness.winecmd import windows_path

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "source", "resources", "strings"))
from generate_strings import read_table  # noqa: E402  (the table's own reader)

STRINGS = os.path.join(HERE, "..", "..", "source", "resources", "strings", "strings.tsv")
PILLOW_PYTHON = "/usr/bin/python3"


def language_strings(index):
    """String number -> text of a language block, read from the string table itself."""
    with open(STRINGS, encoding="utf-8") as f:
        return {row.number: row.texts[index] for row in read_table(f, 1000)}


class WindowSession:
    def __init__(self, prefix, context, out):
        self.prefix = prefix
        self.context = context
        self.out = out
        self.app = None

    def start(self, *args, seconds=150):
        argv = self.context.twainscan("--showui", "--out", windows_path(self.out),
                                      "--wait", str(seconds - 30), *args)
        self.app = self.prefix.start(argv, seconds)

    def drive(self, *steps, seconds=90):
        """Runs uidriver's steps; returns {key: value} of the lines it printed."""
        result = self.prefix.run([self.context.program("uidriver")] + list(steps),
                                 seconds=seconds, success_line="UIDRIVER OK")
        expect(result.ok, "the window could not be driven:\n" + result.describe()
               + "\n--- twainscan so far\n" + self.app_output_so_far())
        seen = {}
        for line in result.lines:
            key, sep, value = line.partition("=")
            if sep:
                seen[key] = value
        return seen

    def app_output_so_far(self):
        if not self.app:
            return ""
        self.app.out.seek(0)
        return self.app.out.read().decode(errors="replace")

    def finish(self, seconds=150):
        """twainscan's output once it ended (it ends after the image or the close request)."""
        out, err = self.app.communicate(timeout=seconds)
        return out.decode(errors="replace") + err.decode(errors="replace")

    def shot(self, path, rect):
        """A screenshot of the display cut to rect ("l,t,r,b")."""
        left, top, right, bottom = (int(v) for v in rect.split(","))
        full = path + ".full.png"
        subprocess.run(["import", "-display", self.prefix.display, "-window", "root", full],
                       check=True, timeout=60)
        subprocess.run([PILLOW_PYTHON, "-c",
                        "import sys; from PIL import Image; "
                        "Image.open(sys.argv[1]).crop(tuple(map(int, sys.argv[3:]))).save(sys.argv[2])",
                        full, path, str(left), str(top), str(right), str(bottom)],
                       check=True, timeout=60)
        os.remove(full)


def word(text):
    """A uidriver word for any text: as it is when it is plain ASCII without blanks, else
    spelled in hexadecimal UTF-8."""
    if text.isascii() and " " not in text and '"' not in text:
        return text
    return "hex:" + text.encode("utf-8").hex()


def window_rect(seen):
    """The rectangle uidriver's find step printed."""
    match = re.search(r"rect=([-0-9,]+)", seen.get("window title", ""))
    expect(match, "uidriver printed no window rectangle: %r" % seen)
    return match.group(1)


@contextlib.contextmanager
def window_session(context, win_ini="", out_name="scan.bmp", simulator="", depth=24, gray=False):
    """Yields (session, Linux path of the simulator's scan log); depth: the display's bits a
    pixel (8 gives a palette display, of 256 grays with gray)."""
    with TestPrefix(context.tree, context.name, display=True, depth=depth, gray=gray) as prefix:
        prefix.install_source(context.program("source"),
                              [context.program("portlib"), context.program("prescan")])
        prefix.install_manager(context.manager)
        log = os.path.join(prefix.root, "scan.log")
        prefix.seed_win_ini("[KVTINFO_A3]\nBRAND=Solenne\n%s[Scanner Simulator]\nScanLog=%s\n%s"
                            % (win_ini, windows_path(log), simulator))
        session = WindowSession(prefix, context, os.path.join(prefix.root, out_name))
        try:
            yield session, log
        finally:
            if session.app and session.app.poll() is None:
                session.app.kill()
