"""A test's own Wine prefix: a fresh copy of the golden prefix, with the data source
installed the way Wine's source manager finds it, a WIN.INI of the test's choosing and,
when asked for, a private X display. Everything it started is ended by pid or by the
prefix's own wineserver, and the copy is removed."""
import os
import shutil
import subprocess
import tempfile
import time

from . import golden, winecmd
from .xvfb import Xvfb

# The TWAIN Working Group's source manager, a test fixture kept beside the Wine tests.
TWAIN_DSM_DIR = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))),
                             "twain-dsm")


class RunResult:
    def __init__(self, argv, done, elapsed, success_line, success_prefix):
        self.argv = argv
        self.returncode = done.returncode
        self.stdout = done.stdout
        self.stderr = done.stderr
        self.elapsed = elapsed
        self.lines = self.stdout.split("\n")
        self.success_seen = any(
            (success_line is not None and line == success_line) or
            (success_prefix is not None and line.startswith(success_prefix))
            for line in self.lines)
        # timeout(1) answers 124 when it stopped the program, 137 when it had to kill it.
        self.timed_out = self.returncode in (124, 137)
        # Wine's automatic debugger prints the backtrace (with file:line) but leaves exit
        # code 0 in about one crash of four here, so a crash is recognised by Wine's report.
        self.crashed = (any(line.startswith("wine: Unhandled") for line in
                            self.stderr.split("\n")) or
                        any(line.startswith("Unhandled exception:") for line in self.lines))

    @property
    def ok(self):
        return self.returncode == 0 and self.success_seen and not self.crashed

    def describe(self):
        notes = (" (timed out)" if self.timed_out else "") + (" (crashed)" if self.crashed else "")
        return ("$ %s\nexit %d after %.1f s%s\n--- stdout\n%s--- stderr\n%s"
                % (" ".join(self.argv), self.returncode, self.elapsed, notes, self.stdout,
                   self.stderr))


class Background:
    """A program running beside the test, its output kept in files (see run_limited for
    why not pipes); poll, kill and communicate as subprocess.Popen has them."""

    def __init__(self, argv, env, cwd):
        self.out = tempfile.TemporaryFile()
        self.err = tempfile.TemporaryFile()
        self.process = subprocess.Popen(argv, env=env, cwd=cwd, stdin=subprocess.DEVNULL,
                                        stdout=self.out, stderr=self.err)

    def poll(self):
        return self.process.poll()

    def kill(self):
        self.process.kill()

    def communicate(self, timeout=None):
        self.process.wait(timeout=timeout)
        output = []
        for f in (self.out, self.err):
            f.seek(0)
            output.append(f.read())
        return tuple(output)


class TestPrefix:
    def __init__(self, tree, name, display=False, keep=False, screen=None, depth=24,
                 gray=False):
        """display: a private Xvfb (of depth bits a pixel); screen: an X display of the
        caller's instead."""
        self.tree = os.path.abspath(tree)
        self.name = name
        self.want_display = display
        self.screen = screen
        self.depth = depth
        self.gray = gray
        self.keep = keep
        self.overrides = []
        self.display = None
        self.xvfb = None
        self.root = None
        self.prefix = None

    def __enter__(self):
        source = golden.ensure_golden(self.tree)
        run_dir = os.path.join(self.tree, "wine", "run")
        os.makedirs(run_dir, exist_ok=True)
        self.root = tempfile.mkdtemp(prefix=self.name + ".", dir=run_dir)
        self.prefix = os.path.join(self.root, "prefix")
        subprocess.run(["cp", "-a", source, self.prefix], check=True)
        # The copy names the golden server's socket folder; a fresh server must make its own.
        server_file = os.path.join(self.prefix, "wineserver")
        if os.path.lexists(server_file):
            os.remove(server_file)
        if self.screen:
            self.display = self.screen
        elif self.want_display:
            self.xvfb = Xvfb(os.path.join(self.root, "xvfb.log"), self.depth, self.gray)
            self.display = self.xvfb.start()
        winecmd.start_session(self.prefix, self.env(), self.services_log)
        return self

    @property
    def services_log(self):
        """What the prefix's own Wine processes printed (winecmd.start_session)."""
        return os.path.join(self.root, "services.log")

    def service_crashes(self):
        """Crash reports of the prefix's own Wine processes so far (not of a program run)."""
        try:
            with open(self.services_log, encoding="utf-8", errors="replace") as f:
                return [line for line in f.read().split("\n") if line.startswith("wine: Unhandled")]
        except OSError:
            return []

    def __exit__(self, *exc):
        winecmd.end_server(self.prefix)
        if self.xvfb:
            self.xvfb.stop()
        if self.keep:
            print("prefix kept in " + self.root)
        else:
            shutil.rmtree(self.root, ignore_errors=True)
        return False

    @property
    def windows_dir(self):
        return os.path.join(self.prefix, "drive_c", "windows")

    def install_source(self, ds_path, own_files=()):
        """Wine's manager loads only twain_64\\sane.ds; the source's own files go where it
        looks for them, TWAIN_32\\KVTC_A3 under the Windows directory, beside the CMYK and
        colour table files the tree made (TWAIN_32\\KVTC_A3 and TWAIN_32\\COLOR)."""
        tables = os.path.join(self.tree, "tables", "TWAIN_32")
        if os.path.isdir(tables):
            shutil.copytree(tables, os.path.join(self.windows_dir, "TWAIN_32"), dirs_exist_ok=True)
        twain64 = os.path.join(self.windows_dir, "twain_64")
        os.makedirs(twain64, exist_ok=True)
        shutil.copyfile(ds_path, os.path.join(twain64, "sane.ds"))
        own_dir = os.path.join(self.windows_dir, "TWAIN_32", "KVTC_A3")
        os.makedirs(own_dir, exist_ok=True)
        for path in own_files:
            shutil.copyfile(path, os.path.join(own_dir, os.path.basename(path)))
        if "sane.ds=n" not in self.overrides:
            self.overrides.append("sane.ds=n")

    def install_manager(self, name):
        """Wine's twain_32.dll is always there; TWAINDSM.dll goes into system32, where an
        application's LoadLibrary finds it."""
        if name.lower() == "twain_32.dll":
            return
        shutil.copyfile(os.path.join(TWAIN_DSM_DIR, name),
                        os.path.join(self.windows_dir, "system32", name))

    def seed_win_ini(self, text):
        with open(os.path.join(self.windows_dir, "win.ini"), "w", encoding="cp1252",
                  newline="\r\n") as f:
            f.write(text)

    def env(self):
        return winecmd.wine_env(self.prefix, self.display, self.overrides)

    def run(self, argv, seconds=60, success_line=None, success_prefix=None):
        """Runs a Windows program (Linux path of the .exe, then its arguments)."""
        if success_line is None and success_prefix is None:
            raise ValueError("a Wine run must name the line that proves success")
        full = winecmd.WINE64_LAUNCH + list(argv)
        start = time.monotonic()
        done = winecmd.run_limited(full, self.env(), seconds, cwd=self.root)
        return RunResult(full, done, time.monotonic() - start, success_line, success_prefix)

    def start(self, argv, seconds):
        """Starts a Windows program in the background, under timeout(1)."""
        full = ["timeout", "-k", "5", str(seconds)] + winecmd.WINE64_LAUNCH + list(argv)
        return Background(full, self.env(), self.root)
