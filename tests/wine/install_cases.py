#!/usr/bin/env python3
"""The x86_64 setup program (scripts/package, in <tree>/package) as a user runs it, in a fresh
prefix: nothing of the data source is copied in by the harness. Installed silently with the
simulator, the source is listed, opened and scanned through TWAINDSM.dll and gives the
simulator's reference image; the silent uninstaller registered for Add/Remove Programs then
leaves none of the installed files or folders and no registry key of ours, but keeps what the
user made (a settings file, WIN.INI). The second case checks that the setup program leaves
alone what is not its own: it refuses to install beside the other width, and it never
overwrites or removes a port library it did not install, nor a colour table the user
calibrated."""
import os
import shlex
import sys
import time
import zipfile

from acquire_cases import FRAME, expect_reference_pixels, reference
from harness import winecmd
from harness.cases import expect, expect_line, expect_ok, main
from harness.prefix import TestPrefix
from harness.winecmd import windows_path

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))),
                                "build"))
from version_resource import read_version  # noqa: E402

UNINSTALL_ROOT = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall"
OUR_KEY = UNINSTALL_ROOT + r"\KVTC_A3-x86_64"


def package_file(context, name):
    path = os.path.join(context.tree, "package", name)
    expect(os.path.exists(path), "%s is missing: run installer/package.py (ctest's "
                                 "package.make) first" % path)
    return path


def snapshot(prefix, files_only=False):
    """Every file (and folder) under the Windows directory, relative and lower-cased, as
    Windows names them."""
    found = set()
    for root, dirs, files in os.walk(prefix.windows_dir):
        for name in files + ([] if files_only else dirs):
            found.add(os.path.relpath(os.path.join(root, name), prefix.windows_dir).lower())
    return found


def run_quiet(prefix, argv, seconds=120):
    """Runs a program that prints nothing when it succeeds (the setup program, the
    uninstaller, reg export); returns its exit code."""
    done = winecmd.run_limited(winecmd.WINE64_LAUNCH + argv, prefix.env(), seconds,
                               cwd=prefix.root)
    expect("wine: Unhandled" not in done.stderr, "%s crashed:\n%s" % (argv, done.stderr))
    return done.returncode


def registry_value(prefix, key, name):
    result = prefix.run(["reg", "query", key, "/v", name], success_prefix="HKEY_")
    expect_ok(result)
    for line in result.lines:
        fields = line.split(None, 2)
        if fields[:1] == [name] and len(fields) == 3:
            return fields[2]
    expect(False, "no value %s in:\n%s" % (name, result.describe()))


def key_exists(prefix, key):
    return prefix.run(["reg", "query", key], success_prefix="HKEY_").ok


def registry_mentions_us(prefix):
    """Whether an export of both Software keys names anything "kvtc"."""
    text = ""
    for root in ("HKLM", "HKCU"):
        out = os.path.join(prefix.root, "export.reg")
        expect(run_quiet(prefix, ["reg", "export", root + r"\Software", windows_path(out),
                                  "/y"]) == 0, "reg export %s failed" % root)
        with open(out, "rb") as f:
            text += f.read().decode("utf-16", "replace").lower()
    return "kvtc" in text


def uninstall(prefix):
    """Runs the uninstaller exactly as Add/Remove Programs' quiet string says, and waits for
    its copy in the temporary folder (the one that does the work) to remove our key."""
    quiet = registry_value(prefix, OUR_KEY, "QuietUninstallString")
    argv = shlex.split(quiet.replace("\\", "/"))
    expect(argv[1:] == ["/S"], "unexpected QuietUninstallString %r" % quiet)
    expect(run_quiet(prefix, [argv[0].replace("/", "\\"), "/S"]) == 0, "the uninstaller failed")
    deadline = time.monotonic() + 60
    while key_exists(prefix, OUR_KEY):
        expect(time.monotonic() < deadline, "the uninstaller left its key after 60 s")
        time.sleep(0.5)


def case_simulator_scan_and_uninstall(context):
    setup = package_file(context, "kvtc_a3-setup-x86_64.exe")
    with zipfile.ZipFile(package_file(context, "kvtc_a3-x86_64.zip")) as z:
        # The zip for installing by hand: <root>/windows/... and <root>/simulator/...
        shipped = {n.split("/", 2)[2]: z.read(n) for n in z.namelist()
                   if n.split("/")[1] in ("windows", "simulator")}
    with TestPrefix(context.tree, context.name, display=True) as prefix:
        prefix.install_manager("TWAINDSM.dll")
        log = os.path.join(prefix.root, "scan.log")
        win_ini = "[mail]\nmapi=1\n[Scanner Simulator]\nScanLog=%s\n" % windows_path(log)
        prefix.seed_win_ini(win_ini)
        before = snapshot(prefix)

        expect(run_quiet(prefix, [setup, "/S", "/SIMULATOR"]) == 0, "the setup program failed")
        files = snapshot(prefix, files_only=True) - before
        expect(files == {p.lower() for p in shipped} | {"twain_64/kvtc_a3/uninstall.exe"},
               "installed %r, the zip has %r" % (sorted(files), sorted(shipped)))
        for path, data in shipped.items():
            with open(os.path.join(prefix.windows_dir, path), "rb") as f:
                expect(f.read() == data, "%s differs from the zip's copy" % path)
        expect(registry_value(prefix, OUR_KEY, "DisplayVersion") == "1.0"
               and registry_value(prefix, OUR_KEY, "UninstallString")
               == r'"C:\windows\twain_64\KVTC_A3\Uninstall.exe"',
               "unexpected Add/Remove Programs entry")
        expect(registry_mentions_us(prefix), "the registry export does not show our key")

        out = os.path.join(prefix.root, "scan.bmp")
        result = prefix.run([context.program("twainscan"), "--manager", "TWAINDSM.dll",
                             "--list", "--identity", "--pixel", "rgb", "--res", "150", *FRAME,
                             "--out", windows_path(out)],
                            seconds=180, success_line="TWAINSCAN OK")
        expect_ok(result)
        expect_line(result, "source: A3 Flatbed Scanner")
        # The identity the installed source reports is what its file's properties say.
        resource = read_version(os.path.join(prefix.windows_dir, "twain_64", "KVTC_A3",
                                             "kvtc_a3.ds"))
        expect_line(result, "Version: " + resource["strings"]["FileVersion"])
        expect_line(result, "Info: " + resource["strings"]["ProductVersion"])
        expect_reference_pixels(reference(prefix, log, context, "expected.pnm"), out)

        # What the user and the source made in the driver folder: a settings file stays, the
        # prescan bitmap goes.
        own = os.path.join(prefix.windows_dir, "TWAIN_32", "KVTC_A3")
        for name in ("MINE.PAR", "PVWC0000.BMP"):
            with open(os.path.join(own, name), "w") as f:
                f.write("[Setting]\n")
        with open(os.path.join(prefix.windows_dir, "win.ini"), "rb") as f:
            win_ini_before = f.read()
        uninstall(prefix)
        left = snapshot(prefix) - before
        expect(left == {"twain_32", "twain_32/kvtc_a3", "twain_32/kvtc_a3/mine.par"},
               "left behind: %r" % sorted(left))
        expect(not before - snapshot(prefix), "removed what was there before: %r"
               % sorted(before - snapshot(prefix)))
        with open(os.path.join(prefix.windows_dir, "win.ini"), "rb") as f:
            expect(f.read() == win_ini_before, "the uninstaller changed WIN.INI")
        expect(not registry_mentions_us(prefix), "the registry still names kvtc")


def case_keeps_what_is_not_ours(context):
    setup = package_file(context, "kvtc_a3-setup-x86_64.exe")
    with TestPrefix(context.tree, context.name) as prefix:
        before = snapshot(prefix)
        # The 32-bit source installed: both would share TWAIN_32\KVTC_A3's libraries.
        other = UNINSTALL_ROOT + r"\KVTC_A3-i686"
        expect_ok(prefix.run(["reg", "add", other, "/v", "UninstallString", "/d", "x", "/f",
                              "/reg:32"], success_prefix="reg: The operation completed"))
        expect(run_quiet(prefix, [setup, "/S"]) == 2, "installed beside the 32-bit source")
        expect(snapshot(prefix) == before, "the refused setup installed files")
        expect_ok(prefix.run(["reg", "delete", other, "/f", "/reg:32"],
                             success_prefix="reg: The operation completed"))

        # The scanner maker's port library is there: the simulator must not replace it, and
        # the uninstaller must not take it away.
        own = os.path.join(prefix.windows_dir, "TWAIN_32", "KVTC_A3")
        os.makedirs(own)
        maker = os.path.join(own, "QASPI_SP.DLL")
        with open(maker, "wb") as f:
            f.write(b"the maker's port library")
        # A colour table from an earlier calibration is kept, and the one the calibration
        # tools write after setup stays when the driver goes.
        colour = os.path.join(prefix.windows_dir, "TWAIN_32", "COLOR")
        os.makedirs(colour)
        calibrated = os.path.join(colour, "corvA3p.tab")
        with open(calibrated, "wb") as f:
            f.write(b"calibrated before")
        expect(run_quiet(prefix, [setup, "/S", "/SIMULATOR"]) == 3,
               "the setup program did not report the simulator it left out")
        with open(calibrated, "rb") as f:
            expect(f.read() == b"calibrated before", "setup replaced a calibrated table")
        time.sleep(1.1)  # a new file time, as a later calibration gives
        with open(os.path.join(colour, "corvA3.tab"), "wb") as f:
            f.write(b"calibrated after setup")
        expect(os.path.exists(os.path.join(prefix.windows_dir, "twain_64", "KVTC_A3",
                                           "kvtc_a3.ds")), "the data source was not installed")
        uninstall(prefix)
        with open(maker, "rb") as f:
            expect(f.read() == b"the maker's port library", "the port library was touched")
        expect(snapshot(prefix) - before == {"twain_32", "twain_32/kvtc_a3",
                                             "twain_32/kvtc_a3/qaspi_sp.dll",
                                             "twain_32/color", "twain_32/color/corva3.tab",
                                             "twain_32/color/corva3p.tab"},
               "left behind: %r" % sorted(snapshot(prefix) - before))


if __name__ == "__main__":
    main({
        "simulator_scan_and_uninstall": case_simulator_scan_and_uninstall,
        "keeps_what_is_not_ours": case_keeps_what_is_not_ours,
    })
