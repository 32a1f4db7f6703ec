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
FIXED_SIGNATURE = 0xFEEF04BD


class NotReadable(Exception):
    pass


def _sections(data):
    if data[:2] != b"MZ":
        raise NotReadable("no MZ header")
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise NotReadable("no PE signature")
    machine, count = struct.unpack_from("<HH", data, pe + 4)
    optional_size = struct.unpack_from("<H", data, pe + 20)[0]
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    directories = optional + {0x10B: 96, 0x20B: 112}.get(magic, -1)
    if directories < optional:
        raise NotReadable("unknown optional header magic 0x%x" % magic)
    resource_rva, resource_size = struct.unpack_from("<II", data, directories + 2 * 8)
    sections = []
    table = optional + optional_size
    for i in range(count):
        _, vsize, vaddr, raw_size, raw_ptr = struct.unpack_from("<8sIIII", data, table + 40 * i)
        sections.append((vaddr, max(vsize, raw_size), raw_ptr))
    return machine, resource_rva, resource_size, sections


def _offset(sections, rva):
    for vaddr, size, raw in sections:
        if vaddr <= rva < vaddr + size:
            return raw + rva - vaddr
    raise NotReadable("address 0x%x lies in no section" % rva)


def _first_entry(data, base, directory, wanted_id=None):
    """The offset field of a resource directory's entry (the one with wanted_id, or the
    first)."""
    named, ids = struct.unpack_from("<HH", data, base + directory + 12)
    for i in range(named + ids):
        name, offset = struct.unpack_from("<II", data, base + directory + 16 + 8 * i)
        if wanted_id is None or (not name & 0x80000000 and name == wanted_id):
            return offset
    return None


def version_block(data):
    """The raw VS_VERSIONINFO bytes of a PE image, or None when it has none."""
    machine, rva, size, sections = _sections(data)
    if not rva or not size:
        return machine, None
    base = _offset(sections, rva)
    entry = _first_entry(data, base, 0, RT_VERSION)
    if entry is None:
        return machine, None
    # Type -> name -> language -> data entry.
    for _ in range(2):
        if not entry & 0x80000000:
            raise NotReadable("resource tree shallower than type/name/language")
        entry = _first_entry(data, base, entry & 0x7FFFFFFF)
        if entry is None:
            return machine, None
    data_rva, data_size = struct.unpack_from("<II", data, base + entry)
    start = _offset(sections, data_rva)
    return machine, data[start:start + data_size]


def _node(block, at):
    """One node of the version tree: (key, value, children, end)."""
    length, value_length, kind = struct.unpack_from("<HHH", block, at)
    end = at + length
    key_end = at + 6
    while block[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = block[at + 6:key_end].decode("utf-16-le")
    pos = (key_end + 2 + 3) & ~3
    if kind == 1:  # text: the length counts UTF-16 characters, the terminator included
        value = block[pos:pos + 2 * value_length].decode("utf-16-le").rstrip("\0")
        pos += 2 * value_length
    else:
        value = block[pos:pos + value_length]
        pos += value_length
    pos = (pos + 3) & ~3
    children = []
    while pos < end:
        child = _node(block, pos)
        children.append(child[:3])
        pos = (child[3] + 3) & ~3
    return key, value, children, end


def read_version(path):
    """{"machine", "file_version", "product_version", "strings"} of a PE file; the two
    versions as (a, b, c, d) tuples; None in place of all three when it has no resource."""
    with open(path, "rb") as f:
        data = f.read()
    machine, block = version_block(data)
    result = {"machine": MACHINES.get(machine, hex(machine)), "file_version": None,
              "product_version": None, "strings": None}
    if block is None:
        return result
    key, fixed, children, _ = _node(block, 0)
    if key != "VS_VERSION_INFO" or len(fixed) < 52:
        raise NotReadable("not a VS_VERSION_INFO block (%r)" % key)
    signature, _, file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<6I", fixed)
    if signature != FIXED_SIGNATURE:
        raise NotReadable("VS_FIXEDFILEINFO signature 0x%x" % signature)

    def quad(ms, ls):
        return (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)

    strings = {}
    for child_key, _, tables in children:
        if child_key == "StringFileInfo":
            for _, _, entries in tables:
                for name, text, _ in entries:
                    strings[name] = text
    result.update(file_version=quad(file_ms, file_ls),
                  product_version=quad(product_ms, product_ls), strings=strings)
    return result


def declared_version(header):
    """(major, minor, text, info) as common/product_version.h defines them."""
    with open(header, encoding="utf-8") as f:
        text = f.read()

    def define(name, pattern):
        m = re.search(r"#define %s\s+%s" % (name, pattern), text)
        if not m:
            raise NotReadable("%s does not define %s" % (header, name))
        return m.group(1)

    return (int(define("KV_VERSION_MAJOR", r"(\d+)")), int(define("KV_VERSION_MINOR", r"(\d+)")),
            define("KV_VERSION_TEXT", r'"([^"]*)"'), define("KV_VERSION_INFO", r'"([^"]*)"'))


def problems(path, machine, declared):
    """What is wrong with one file's machine and version resource, as a list of texts."""
    major, minor, text, info = declared
    try:
        found = read_version(path)
    except (OSError, NotReadable, struct.error, UnicodeDecodeError) as error:
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
