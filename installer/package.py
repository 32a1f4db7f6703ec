#!/usr/bin/env python3
"""Builds what a Windows user installs, from the Windows build trees: per target width a setup
program (NSIS) and a zip of the same files for installing by hand.

  package.py [--win64 TREE] [--win32 TREE] [--out DIR] [--targets x86_64,i686]

Every file goes where the code opens it, relative to the Windows directory:

- the data source where that width's source managers list sources: twain_64\\KVTC_A3\\ for
  x86_64, TWAIN_32\\KVTC_A3\\ for i686;
- TWAIN_32\\KVTC_A3\\: the prescan library (loaded by path by the scanning window) and every
  data file the tree placed under <tree>/tables/TWAIN_32/KVTC_A3 (CMYK lattices today;
  pattern bitmaps and help files are picked up the same way once the build writes them);
- TWAIN_32\\COLOR\\: the colour tables under <tree>/tables/TWAIN_32/COLOR;
- the scanner simulator's QASPI_SP.DLL, only in the optional component, in TWAIN_32\\KVTC_A3\\
  where the source and the prescan library load the port library from.

The tree's package/manifest.json (written by installer/CMakeLists.txt) names the built DLLs.
The stage folder (<out>/stage-<arch>) holds "windows/" (copied into the Windows directory)
and "simulator/" (the optional component, same rule); the zip holds the same two folders and
a README.txt; the setup program's file lists are generated from the same stage, so the zip
and the setup program cannot disagree."""
import argparse
import json
import os
import re
import shutil
import subprocess
import sys
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
TOP = os.path.dirname(HERE)
TARGETS = {"x86_64": "win64", "i686": "win32"}
# Where each width's source managers look for data sources, under the Windows directory.
SOURCE_FOLDER = {"x86_64": "twain_64/KVTC_A3", "i686": "TWAIN_32/KVTC_A3"}
OWN_FOLDER = "TWAIN_32/KVTC_A3"
# A fixed time stamp keeps the zip's bytes the same for the same files.
ZIP_TIME = (2026, 1, 1, 0, 0, 0)


class PackageError(Exception):
    pass


def read_version(header):
    """The version defines of common/product_version.h."""
    with open(header, encoding="utf-8") as f:
        text = f.read()
    numbers = dict(re.findall(r"#define KV_VERSION_(MAJOR|MINOR)\s+(\d+)", text))
    texts = dict(re.findall(r'#define KV_VERSION_(TEXT|INFO)\s+"([^"]*)"', text))
    if set(numbers) != {"MAJOR", "MINOR"} or set(texts) != {"TEXT", "INFO"}:
        raise PackageError("%s lacks one of the KV_VERSION_ defines" % header)
    if texts["TEXT"] != "%s.%s" % (numbers["MAJOR"], numbers["MINOR"]):
        raise PackageError("KV_VERSION_TEXT %r disagrees with the numbers %s.%s"
                           % (texts["TEXT"], numbers["MAJOR"], numbers["MINOR"]))
    return {"text": texts["TEXT"], "info": texts["INFO"],
            "quad": "%s.%s.0.0" % (numbers["MAJOR"], numbers["MINOR"])}


def stage(arch, tree, stage_dir):
    """Copies the target's files into stage_dir/windows and stage_dir/simulator; returns the
    two lists of staged paths relative to their folder, with forward slashes."""
    manifest_path = os.path.join(tree, "package", "manifest.json")
    if not os.path.exists(manifest_path):
        raise PackageError("%s is missing: build the %s tree first (scripts/build %s)"
                           % (manifest_path, arch, TARGETS[arch]))
    with open(manifest_path) as f:
        manifest = json.load(f)
    if manifest.get("arch") != arch:
        raise PackageError("%s is the tree of %s, not %s" % (tree, manifest.get("arch"), arch))
    if os.path.exists(stage_dir):
        shutil.rmtree(stage_dir)
    placed = {"windows": [], "simulator": []}

    def put(part, source, relative):
        if not os.path.isfile(source):
            raise PackageError("%s is not built" % source)
        target = os.path.join(stage_dir, part, relative)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copyfile(source, target)
        # The trees keep debugging information for backtraces under Wine; the copies that
        # ship go without it (a tenth of the size).
        if relative.lower().endswith((".ds", ".dll")):
            done = subprocess.run([manifest["strip"], "--strip-debug", target],
                                  capture_output=True, text=True)
            if done.returncode != 0:
                raise PackageError("cannot strip %s:\n%s" % (target, done.stderr))
        placed[part].append(relative)

    put("windows", manifest["source"], SOURCE_FOLDER[arch] + "/kvtc_a3.ds")
    put("windows", manifest["prescan"], OWN_FOLDER + "/PRESCAN.DLL")
    tables = manifest["tables"]
    for folder in ("KVTC_A3", "COLOR"):
        path = os.path.join(tables, folder)
        if not os.path.isdir(path):
            raise PackageError("%s is missing" % path)
        for name in sorted(os.listdir(path)):
            put("windows", os.path.join(path, name), "TWAIN_32/%s/%s" % (folder, name))
    put("simulator", manifest["simulator"], OWN_FOLDER + "/QASPI_SP.DLL")
    return placed


def user_may_remake(relative):
    """The output-matching colour tables, which the calibration tools write anew."""
    return relative.startswith("TWAIN_32/COLOR/")


def nsis_path(relative):
    return "$WINDIR\\" + relative.replace("/", "\\")


def write_file_lists(path, stage_dir, placed):
    """The setup program's generated part: what the two components install and what the
    uninstaller removes. The simulator's file is deleted by the uninstaller only when this
    setup put it there (see kvtc_a3.nsi), so it is listed apart."""
    lines = ["; Generated by installer/package.py from the stage folder; do not edit.", ""]

    def install_macro(name, part):
        lines.append("!macro %s" % name)
        folder = None
        for relative in placed[part]:
            here = os.path.dirname(relative)
            if here != folder:
                lines.append('  SetOutPath "%s"' % nsis_path(here))
                folder = here
            if user_may_remake(relative):
                keep_or_install(relative, os.path.join(stage_dir, part, relative))
            else:
                lines.append('  File "%s"' % os.path.join(stage_dir, part, relative))
        lines.append("!macroend")

    # A colour table the calibration tools have written (or one that was there before) is
    # the user's: setup never puts its own over it, and the uninstaller removes only a table
    # whose time is still the one setup gave it.
    def keep_or_install(relative, staged):
        target = nsis_path(relative)
        value = "Installed " + os.path.basename(relative)
        lines.extend(['  ${IfNot} ${FileExists} "%s"' % target,
                      '    File "%s"' % staged,
                      '    GetFileTime "%s" $0 $1' % target,
                      '    WriteRegStr HKLM "${UNINSTALL_KEY}" "%s" "$0 $1"' % value,
                      '  ${EndIf}'])

    def delete_if_unchanged(relative):
        target = nsis_path(relative)
        value = "Installed " + os.path.basename(relative)
        lines.extend(['  ReadRegStr $2 HKLM "${UNINSTALL_KEY}" "%s"' % value,
                      '  ClearErrors',
                      '  GetFileTime "%s" $0 $1' % target,
                      '  ${If} $2 != ""',
                      '  ${AndIfNot} ${Errors}',
                      '  ${AndIf} "$0 $1" == $2',
                      '    Delete "%s"' % target,
                      '  ${EndIf}'])

    install_macro("KV_INSTALL_SOURCE_FILES", "windows")
    install_macro("KV_INSTALL_SIMULATOR_FILES", "simulator")
    lines.append("!macro KV_DELETE_SOURCE_FILES")
    for relative in placed["windows"]:
        if user_may_remake(relative):
            delete_if_unchanged(relative)
        else:
            lines.append('  Delete "%s"' % nsis_path(relative))
    lines.append("!macroend")
    simulator = placed["simulator"]
    if len(simulator) != 1:
        raise PackageError("the simulator component must be one file, not %r" % simulator)
    lines.append('!define KV_SIMULATOR_FILE "%s"' % nsis_path(simulator[0]))
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")


def make_setup(arch, version, stage_dir, file_lists, out_file):
    # -WX: a warning (an unused label, a missing key) fails the package.
    argv = ["makensis", "-V2", "-WX", "-INPUTCHARSET", "UTF8",
            "-DARCH=" + arch,
            "-DVERSION_TEXT=" + version["text"],
            "-DVERSION_INFO=" + version["info"],
            "-DVERSION_QUAD=" + version["quad"],
            "-DFILE_LISTS=" + file_lists,
            "-DOUTFILE=" + out_file,
            os.path.join(HERE, "kvtc_a3.nsi")]
    done = subprocess.run(argv, capture_output=True, text=True)
    if done.returncode != 0 or not os.path.isfile(out_file):
        raise PackageError("makensis failed for %s:\n%s%s" % (arch, done.stdout, done.stderr))


def make_zip(arch, version, stage_dir, placed, out_file):
    """The same files for installing by hand, under one folder named after the package."""
    root = "kvtc_a3-%s" % arch
    with open(os.path.join(HERE, "manual_install.txt"), encoding="utf-8") as f:
        readme = f.read().format(arch=arch, version=version["info"],
                                 source_folder=SOURCE_FOLDER[arch].replace("/", "\\"))
    with zipfile.ZipFile(out_file + ".part", "w", zipfile.ZIP_DEFLATED) as z:
        info = zipfile.ZipInfo(root + "/README.txt", ZIP_TIME)
        info.compress_type = zipfile.ZIP_DEFLATED
        z.writestr(info, readme.replace("\n", "\r\n"))
        for part in ("windows", "simulator"):
            for relative in placed[part]:
                info = zipfile.ZipInfo("%s/%s/%s" % (root, part, relative), ZIP_TIME)
                info.compress_type = zipfile.ZIP_DEFLATED
                with open(os.path.join(stage_dir, part, relative), "rb") as f:
                    z.writestr(info, f.read())
    os.replace(out_file + ".part", out_file)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--win64", default=os.path.join(TOP, "build", "win64"))
    parser.add_argument("--win32", default=os.path.join(TOP, "build", "win32"))
    parser.add_argument("--out", default=os.path.join(TOP, "build", "package"))
    parser.add_argument("--targets", default="x86_64,i686")
    args = parser.parse_args()
    trees = {"x86_64": args.win64, "i686": args.win32}
    try:
        version = read_version(os.path.join(TOP, "common", "product_version.h"))
        os.makedirs(args.out, exist_ok=True)
        for arch in args.targets.split(","):
            if arch not in TARGETS:
                raise PackageError("unknown target %r (x86_64 or i686)" % arch)
            stage_dir = os.path.join(os.path.abspath(args.out), "stage-" + arch)
            placed = stage(arch, os.path.abspath(trees[arch]), stage_dir)
            file_lists = os.path.join(os.path.abspath(args.out), "files-%s.nsh" % arch)
            write_file_lists(file_lists, stage_dir, placed)
            setup = os.path.join(os.path.abspath(args.out), "kvtc_a3-setup-%s.exe" % arch)
            make_setup(arch, version, stage_dir, file_lists, setup)
            archive = os.path.join(os.path.abspath(args.out), "kvtc_a3-%s.zip" % arch)
            make_zip(arch, version, stage_dir, placed, archive)
            print("package: %s and %s" % (setup, archive))
    except PackageError as error:
        print("package: %s" % error, file=sys.stderr)
        sys.exit(1)
    print("package OK")


if __name__ == "__main__":
    main()
