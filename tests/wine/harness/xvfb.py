"""A private X server for tests that need windows; started and ended by its pid."""
import os
import select
import subprocess


class Xvfb:
    def __init__(self, log_path, depth=24, gray=False):
        self.log_path = log_path
        self.depth = depth
        self.gray = gray
        self.process = None
        self.display = None

    def visual_class(self):
        # An 8-bit screen has fixed colours (StaticColor, 3-3-2), or 256 fixed grays: what a
        # program draws through its palette is then what a screenshot of the screen shows.
        # (Wine draws wrong colours on Xvfb's changeable PseudoColor map.)
        if self.depth != 8:
            return []
        return ["-cc", "0" if self.gray else "2"]

    def start(self, seconds=15):
        read_end, write_end = os.pipe()
        with open(self.log_path, "w") as log:
            # -displayfd picks a free display and writes its number to the pipe; no TCP.
            self.process = subprocess.Popen(
                ["Xvfb", "-displayfd", str(write_end), "-nolisten", "tcp",
                 "-screen", "0", "1280x1024x%d" % self.depth] + self.visual_class(),
                pass_fds=(write_end,), stdout=log, stderr=log, stdin=subprocess.DEVNULL)
        os.close(write_end)
        try:
            number = self._read_display(read_end, seconds)
        finally:
            os.close(read_end)
        if number is None:
            self.stop()
            raise RuntimeError("Xvfb did not report a display; see " + self.log_path)
        self.display = ":" + number
        return self.display

    @staticmethod
    def _read_display(fd, seconds):
        text = b""
        while not text.endswith(b"\n"):
            ready, _, _ = select.select([fd], [], [], seconds)
            if not ready:
                return None
            chunk = os.read(fd, 64)
            if not chunk:
                return None
            text += chunk
        return text.decode().strip() or None

    def stop(self):
        if self.process is None:
            return
        self.process.terminate()
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        self.process = None
