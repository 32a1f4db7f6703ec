#!/usr/bin/env python3
"""Checks what scripts/package made for both widths without running it (this machine cannot
run the i686 programs at all):

  check_packages.py PACKAGE_DIR HEADER TABLES_DIR

- each zip holds exactly the files the code opens, where it opens them: the data source where
  that width's source managers look (twain_64\\KVTC_A3 or TWAIN_32\\KVTC_A3), the prescan
  library and CMYK lattices in TWAIN_32\\KVTC_A3, the colour tables in TWAIN_32\\COLOR, the
  simulator apart in its own folder; pattern bitmaps and help files may join the lattices;
- every program and library in it is of the zip's width and carries the declared version
  resource (version_resource.py), and so does each setup program;
- the table files are the checked-in ones (TABLES_DIR), byte for byte.

Prints "packages OK" when all hold."""
import fnmatch
import os
import sys
import zipfile

from version_resource import declared_version, problems

SOURCE_FOLDER = {"x86_64": "twain_64/KVTC_A3", "i686": "TWAIN_32/KVTC_A3"}
TABLES = ["TWAIN_32/KVTC_A3/cmyk.tab", "TWAIN_32/KVTC_A3/cmykpp60.tab",
          "TWAIN_32/COLOR/corvA3.tab", "TWAIN_32/COLOR/corvA3p.tab"]
MAY_JOIN = ["TWAIN_32/KVTC_A3/pat_[lh].BMP", "TWAIN_32/KVTC_A3/CSHLP_?.HLP"]


def check_zip(arch, path, declared, tables_dir, scratch):
    root = "kvtc_a3-%s/" % arch
    required = {root + "README.txt",
                root + "windows/%s/kvtc_a3.ds" % SOURCE_FOLDER[arch],
                root + "windows/TWAIN_32/KVTC_A3/PRESCAN.DLL",
                root + "simulator/TWAIN_32/KVTC_A3/QASPI_SP.DLL"}
    required |= {root + "windows/" + t for t in TABLES}
    wrong = []
    with zipfile.ZipFile(path) as z:
        names = set(z.namelist())
        extra = {n for n in names - required
                 if not any(fnmatch.fnmatchcase(n, root + "windows/" + p) for p in MAY_JOIN)}
        if required - names or extra:
            wrong.append("%s: missing %s, unexpected %s"
                         % (path, sorted(required - names), sorted(extra)))
        for name in sorted(names & required):
            data = z.read(name)
            if name.lower().endswith((".ds", ".dll")):
                copy = os.path.join(scratch, "%s-%s" % (arch, os.path.basename(name)))
                with open(copy, "wb") as f:
                    f.write(data)
                wrong += problems(copy, arch, declared)
            table = name.split("/windows/", 1)[-1]
            if table in TABLES:
                with open(os.path.join(tables_dir, table), "rb") as f:
                    if f.read() != data:
                        wrong.append("%s: %s is not the checked-in table" % (path, table))
    return wrong


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: check_packages.py PACKAGE_DIR HEADER TABLES_DIR")
    package_dir, header, tables_dir = sys.argv[1:]
    declared = declared_version(header)
    scratch = os.path.join(package_dir, "check")
    os.makedirs(scratch, exist_ok=True)
    wrong = []
    for arch in ("x86_64", "i686"):
        wrong += problems(os.path.join(package_dir, "kvtc_a3-setup-%s.exe" % arch), arch,
                          declared)
        wrong += check_zip(arch, os.path.join(package_dir, "kvtc_a3-%s.zip" % arch), declared,
                           tables_dir, scratch)
    for line in wrong:
        print(line)
    if wrong:
        sys.exit(1)
    print("packages OK")


if __name__ == "__main__":
    main()
