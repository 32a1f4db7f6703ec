"""Message-box capture: msgwatch runs beside the program under test, logs every message box
and presses a button, so that no modal box can block a test."""
import os
import subprocess
import time

from . import winecmd


class Box:
    def __init__(self, caption, text, buttons, pressed):
        self.caption = caption
        self.text = text
        self.buttons = buttons
        self.pressed = pressed

    def __repr__(self):
        return "Box(%r, %r, buttons=%r, pressed=%r)" % (
            self.caption, self.text, self.buttons, self.pressed)


def unescape(text):
    out, i = [], 0
    escapes = {"\\": "\\", "t": "\t", "r": "\r", "n": "\n"}
    while i < len(text):
        if text[i] == "\\" and i + 1 < len(text) and text[i + 1] in escapes:
            out.append(escapes[text[i + 1]])
            i += 2
        else:
            out.append(text[i])
            i += 1
    return "".join(out)


def parse_log(text):
    boxes = []
    for line in text.split("\n"):
        if not line:
            continue
        fields = line.split("\t")
        if len(fields) != 4:
            raise ValueError("malformed msgwatch line: %r" % line)
        boxes.append(Box(unescape(fields[0]), unescape(fields[1]),
                         fields[2].split(",") if fields[2] else [], fields[3]))
    return boxes


class MessageWatch:
    """with MessageWatch(prefix, msgwatch_exe) as watch: ...; then watch.boxes."""

    def __init__(self, prefix, msgwatch_exe, press=None, seconds=120):
        if not prefix.display:
            raise ValueError("message boxes need a display: open the prefix with display=True")
        self.prefix = prefix
        self.exe = msgwatch_exe
        self.press = press
        self.seconds = seconds
        self.log_path = os.path.join(prefix.root, "msgwatch.log")
        self.stop_path = os.path.join(prefix.root, "msgwatch.stop")
        self.process = None
        self.boxes = []
        self.output = ""

    def __enter__(self):
        argv = [self.exe, "--log", winecmd.windows_path(self.log_path),
                "--stop", winecmd.windows_path(self.stop_path),
                "--timeout", str(self.seconds)]
        if self.press:
            argv += ["--press", self.press]
        self.process = self.prefix.start(argv, self.seconds + 10)
        deadline = time.monotonic() + 60
        while not os.path.exists(self.log_path):
            if self.process.poll() is not None or time.monotonic() > deadline:
                self._collect()
                raise RuntimeError("msgwatch did not start:\n" + self.output)
            time.sleep(0.05)
        return self

    def __exit__(self, *exc):
        self.stop()
        return False

    def stop(self):
        """Asks the watcher to end after one last sweep; raises unless it ended cleanly."""
        if self.process is None:
            return
        open(self.stop_path, "w").close()
        self._collect()
        with open(self.log_path, encoding="utf-8") as f:
            self.boxes = parse_log(f.read())
        if not any(line.startswith("MSGWATCH OK") for line in self.output.split("\n")):
            raise RuntimeError("msgwatch failed:\n" + self.output)

    def _collect(self):
        try:
            out, err = self.process.communicate(timeout=self.seconds + 20)
        except subprocess.TimeoutExpired:
            self.process.kill()
            out, err = self.process.communicate()
        self.process = None
        self.output = (out + err).decode("utf-8", "replace").replace("\r\n", "\n")
