"""The Wine programs and the environment every Wine process here runs with."""
import os
import subprocess

WINE64 = "/usr/lib/wine/wine64"
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
    Returns the CompletedProcess with text output (CRLF turned into LF)."""
    limited = ["timeout", "-k", "5", str(seconds)] + list(argv)
    done = subprocess.run(limited, env=env, cwd=cwd, capture_output=True,
                          timeout=seconds + 30)
    done.stdout = done.stdout.decode("utf-8", "replace").replace("\r\n", "\n")
    done.stderr = done.stderr.decode("utf-8", "replace").replace("\r\n", "\n")
    return done


def end_server(prefix):
    """Ends the prefix's wineserver and every Wine process in it, then waits for the
    server to exit (it saves the registry on the way out)."""
    env = wine_env(prefix)
    subprocess.run(["timeout", "20", WINESERVER, "-k"], env=env, capture_output=True)
    subprocess.run(["timeout", "20", WINESERVER, "-w"], env=env, capture_output=True)


def windows_path(path):
    """A Linux path as Wine programs see it (drive Z: is the root)."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")
