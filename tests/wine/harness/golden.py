"""One golden prefix per build tree, created once and copied by every test."""
import fcntl
import os
import shutil
import subprocess

from . import winecmd

CRASH_AND_WINDOW_SETTINGS = [
    # Without a debugger a crash prints a backtrace and exits with code 5 at once; with one
    # it may open a dialog and hang, or even exit 0.
    ["reg", "delete", r"HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug",
     "/v", "Debugger", "/f"],
    ["reg", "add", r"HKCU\Software\Wine\WineDbg", "/v", "ShowCrashDialog",
     "/t", "REG_DWORD", "/d", "0", "/f"],
    # Without a window manager, captions are drawn only when Wine manages no window.
    ["reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Managed",
     "/t", "REG_SZ", "/d", "N", "/f"],
]


def golden_dir(tree):
    return os.path.join(tree, "wine", "golden")


def _create(path, log):
    if os.path.exists(path):
        shutil.rmtree(path)
    env = winecmd.wine_env(path)
    steps = [winecmd.WINE64_LAUNCH + ["wineboot", "-i"]]
    steps += [winecmd.WINE64_LAUNCH + s for s in CRASH_AND_WINDOW_SETTINGS]
    for step in steps:
        done = winecmd.run_limited(step, env, 180)
        log.write("$ %s\n%s%s" % (" ".join(step), done.stdout, done.stderr))
        # The debugger value may already be absent; every other step must succeed.
        if done.returncode != 0 and "delete" not in step:
            raise RuntimeError("golden prefix: %s failed (exit %d)"
                               % (" ".join(step), done.returncode))
    winecmd.end_server(path)


def _wine_version():
    done = subprocess.run([winecmd.WINE64, "--version"], capture_output=True, text=True,
                          timeout=30)
    return done.stdout.strip()


def _stamp_text(stamp):
    try:
        with open(stamp) as f:
            return f.read().strip()
    except OSError:
        return None


def ensure_golden(tree):
    """Returns the golden prefix of tree, creating it first when it is missing or was made
    by another Wine version (every copy would otherwise be updated again, slowly).
    Parallel callers wait on a lock instead of creating it twice."""
    wine_dir = os.path.join(tree, "wine")
    os.makedirs(wine_dir, exist_ok=True)
    path = golden_dir(tree)
    stamp = path + ".stamp"
    with open(os.path.join(wine_dir, "golden.lock"), "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        version = _wine_version()
        if _stamp_text(stamp) != version or not os.path.isdir(path):
            if os.path.exists(stamp):
                os.remove(stamp)
            with open(os.path.join(wine_dir, "golden.log"), "w") as log:
                _create(path, log)
            with open(stamp, "w") as f:
                f.write(version + "\n")
    return path
