"""The Wine programs and the environment every Wine process here runs with."""
import os
import subprocess
import tempfile

WINE64 = "/usr/lib/wine/wine64"
# How a program is started: Wine maps its shared user data at a fixed address as a process
# starts; with the address space randomized, now and then something else already lies there
# and the process ends before the program runs ("failed to map the shared user data:
# c0000018", exit 1). Without randomization (for that process only) the layout is the same
# every time.
WINE64_LAUNCH = ["setarch", "x86_64", "-R", WINE64]
WINESERVER = "/usr/lib/wine/wineserver"

# fixme-all keeps real errors visible: with -all a missing DLL exits silently (code 53).
BASE_OVERRIDES = "mscoree,mshtml="


def wine_env(prefix, display=None, overrides=()):
    """Environment for a Wine process in prefix; DISPLAY only when given."""
    env = dict(os.environ)
    env.pop("DISPLAY", None)
    env.update(
        WINEPREFIX=str(prefix),
        WINEARCH="win64",
        WINEDEBUG="fixme-all",
        WINEDLLOVERRIDES=";".join((BASE_OVERRIDES,) + tuple(overrides)),
        WINESERVER=WINESERVER,
    )
    if display:
        env["DISPLAY"] = display
    return env


def run_limited(argv, env, seconds, cwd=None):
    """Runs argv under timeout(1); a process that ignores TERM is killed 5 s later.
    Returns the CompletedProcess with text output (CRLF turned into LF).

    The output goes through files, not pipes: a Wine process that the program started and
    that outlives it (the desktop, a service) inherits them, and a pipe would keep the run
    waiting for it."""
    limited = ["timeout", "-k", "5", str(seconds)] + list(argv)
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        done = subprocess.run(limited, env=env, cwd=cwd, stdin=subprocess.DEVNULL,
                              stdout=out, stderr=err, timeout=seconds + 30)
        done.stdout = _text(out)
        done.stderr = _text(err)
    return done


def _text(f):
    f.seek(0)
    return f.read().decode("utf-8", "replace").replace("\r\n", "\n")


def start_session(prefix, env, log_path):
    """Starts the prefix's wineserver for good (until end_server) and the prefix's own Wine
    processes (services, device drivers) once, with their output in log_path. Programs run
    afterwards find them running: their output holds only what they and their children
    print, and no service is ever shut down under them while they exit (Wine's device
    service was seen crashing in a driver when the server shut it down after a run)."""
    # The server goes into the background and keeps whatever it was given as output.
    subprocess.run(["timeout", "20", WINESERVER, "-p"], env=env, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)
    with open(log_path, "ab") as log:
        subprocess.run(["timeout", "-k", "5", "120"] + WINE64_LAUNCH + ["cmd.exe", "/c", "exit"],
                       env=env, stdin=subprocess.DEVNULL, stdout=log, stderr=log, timeout=150)


def end_server(prefix):
    """Ends the prefix's wineserver and every Wine process in it, then waits for the
    server to exit (it saves the registry on the way out)."""
    env = wine_env(prefix)
    subprocess.run(["timeout", "20", WINESERVER, "-k"], env=env, capture_output=True)
    subprocess.run(["timeout", "20", WINESERVER, "-w"], env=env, capture_output=True)


def windows_path(path):
    """A Linux path as Wine programs see it (drive Z: is the root)."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")
