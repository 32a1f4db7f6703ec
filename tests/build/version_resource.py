#!/usr/bin/env python3
"""Reads a Windows program's or DLL's machine type and VERSIONINFO resource straight from its
PE file (no Windows tool involved), and checks them against the version the code declares:

  version_resource.py HEADER MACHINE FILE...

HEADER is common/product_version.h; MACHINE is x86_64 or i686. Every FILE must be a PE file
of that machine whose fixed file and product versions are MAJOR.MINOR.0.0 and whose strings
FileVersion and ProductVersion are the header's KV_VERSION_TEXT and KV_VERSION_INFO. Prints
"version resource OK" when all are."""
import re
import struct
import sys

MACHINES = {0x8664: "x86_64", 0x14C: "i686"}
RT_VERSION = 16


def _version_block(data):
    """(machine, raw VS_VERSIONINFO bytes or None) of a PE image."""
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[:2] != b"MZ" or data[pe:pe + 4] != b"PE\0\0":
        raise ValueError("not a PE file")
    machine, count = struct.unpack_from("<HH", data, pe + 4)
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    rva = struct.unpack_from("<I", data, optional + {0x10B: 96, 0x20B: 112}[magic] + 16)[0]
    table = optional + struct.unpack_from("<H", data, pe + 20)[0]
    sections = [struct.unpack_from("<IIII", data, table + 40 * i + 8) for i in range(count)]

    def offset(address):
        for vsize, vaddr, raw_size, raw in sections:
            if vaddr <= address < vaddr + max(vsize, raw_size):
                return raw + address - vaddr
        raise ValueError("address 0x%x lies in no section" % address)

    if not rva:
        return machine, None
    base = offset(rva)
    entry, wanted = 0x80000000, RT_VERSION
    # Type, then name, then language: each level's first entry (the type's by id).
    for _ in range(3):
        if not entry & 0x80000000:
            raise ValueError("resource tree shallower than type/name/language")
        directory = base + (entry & 0x7FFFFFFF)
        named, ids = struct.unpack_from("<HH", data, directory + 12)
        entries = [struct.unpack_from("<II", data, directory + 16 + 8 * i)
                   for i in range(named + ids)]
        found = [e for name, e in entries if wanted is None or name == wanted]
        if not found:
            return machine, None
        entry, wanted = found[0], None
    address, size = struct.unpack_from("<II", data, base + entry)
    return machine, data[offset(address):offset(address) + size]


def _node(block, at):
    """One node of the version tree: (key, value, children, end)."""
    length, value_length, kind = struct.unpack_from("<HHH", block, at)
    key_end = block.index(b"\0\0", at + 6)
    while (key_end - at) % 2:
        key_end = block.index(b"\0\0", key_end + 1)
    key = block[at + 6:key_end].decode("utf-16-le")
    pos = (key_end + 2 + 3) & ~3
    size = 2 * value_length if kind == 1 else value_length  # text counts UTF-16 characters
    value = block[pos:pos + size]
    if kind == 1:
        value = value.decode("utf-16-le").rstrip("\0")
    pos = (pos + size + 3) & ~3
    children = []
    while pos < at + length:
        child = _node(block, pos)
        children.append(child[:3])
        pos = (child[3] + 3) & ~3
    return key, value, children, at + length


def read_version(path):
    """{"machine", "file_version", "product_version", "strings"} of a PE file; the versions
    as (a, b, c, d); all but the machine None when it has no version resource."""
    with open(path, "rb") as f:
        machine, block = _version_block(f.read())
    result = {"machine": MACHINES.get(machine, hex(machine)), "file_version": None,
              "product_version": None, "strings": None}
    if block is None:
        return result
    key, fixed, children, _ = _node(block, 0)
    signature, _, fms, fls, pms, pls = struct.unpack_from("<6I", fixed)
    if key != "VS_VERSION_INFO" or signature != 0xFEEF04BD:
        raise ValueError("not a VS_VERSION_INFO block")
    strings = {name: text for child, _, tables in children if child == "StringFileInfo"
               for _, _, entries in tables for name, text, _ in entries}
    result.update(file_version=(fms >> 16, fms & 0xFFFF, fls >> 16, fls & 0xFFFF),
                  product_version=(pms >> 16, pms & 0xFFFF, pls >> 16, pls & 0xFFFF),
                  strings=strings)
    return result


def declared_version(header):
    """(major, minor, text, info) as common/product_version.h defines them."""
    with open(header, encoding="utf-8") as f:
        text = f.read()
    found = dict(re.findall(r'#define KV_VERSION_(\w+)\s+"?([^"\n]*)"?', text))
    return int(found["MAJOR"]), int(found["MINOR"]), found["TEXT"], found["INFO"]


def problems(path, machine, declared):
    """What is wrong with one file's machine and version resource, as a list of texts."""
    major, minor, text, info = declared
    try:
        found = read_version(path)
    except (OSError, ValueError, KeyError, struct.error) as error:
        return ["%s: cannot be read: %s" % (path, error)]
    wrong = []
    if found["machine"] != machine:
        wrong.append("%s: machine %s, expected %s" % (path, found["machine"], machine))
    if found["strings"] is None:
        return wrong + ["%s: no version resource" % path]
    for field in ("file_version", "product_version"):
        if found[field] != (major, minor, 0, 0):
            wrong.append("%s: %s %r, expected %d.%d.0.0" % (path, field, found[field], major, minor))
    for name, wanted in (("FileVersion", text), ("ProductVersion", info)):
        if found["strings"].get(name) != wanted:
            wrong.append("%s: %s %r, expected %r"
                         % (path, name, found["strings"].get(name), wanted))
    return wrong


def main():
    if len(sys.argv) < 4:
        sys.exit("usage: version_resource.py HEADER MACHINE FILE...")
    declared = declared_version(sys.argv[1])
    wrong = [p for path in sys.argv[3:] for p in problems(path, sys.argv[2], declared)]
    for line in wrong:
        print(line)
    if wrong:
        sys.exit(1)
    print("version resource OK")


if __name__ == "__main__":
    main()
