#!/usr/bin/env python3
"""Builds the string tables of a library from its one table file.

The table file (UTF-8, tab-separated) has one row per string number n:

    n <TAB> rules <TAB> "en" <TAB> "de" <TAB> "fr" <TAB> "it" <TAB> "es" <TAB> "nl"
      <TAB> "zh_TW" <TAB> "zh_CN" [<TAB> comment]

Every text is enclosed in double quotes so that leading and trailing blanks survive editors;
a quote inside a text is written twice. Lines that are empty or start with '#' are skipped.
rules is '-' or a comma-separated list of:
    same  the text is identical in every language (names the code compares with)
    name  the text fits a TWAIN 34-byte string (at most 33 bytes)

Language i (0 English ... 7 Simplified Chinese) stores string n under id stride * i + n.

Outputs:
  * a resource script with one STRINGTABLE of all eight blocks. It is written in UTF-8 with
    #pragma code_page(65001), so the resource compiler stores every string as UTF-16 and
    LoadStringA hands the application the text in the code page of the system it runs on.
  * a C++ table for the host build, which has no resource loader. It holds the bytes that
    LoadStringA would give on a system whose code page suits the block: Big5 for block 6 and
    GB2312 for block 7, converted here with Python's codecs, and UTF-8 for the other six
    blocks, so that host tests can compare those with ordinary string literals.

Every text is checked against the code page its block is shown in (Windows-1252 for the six
Western blocks) and against the 255-character buffers the callers load strings into; any
problem stops the build with the row's line number.
"""

import argparse
import sys

LANGUAGES = ["en", "de", "fr", "it", "es", "nl", "zh_TW", "zh_CN"]
# The ANSI code page a system showing each block runs with.
DISPLAY_CODEC = ["cp1252"] * 6 + ["big5", "gb2312"]
# What the host table holds for each block (see the module text).
HOST_CODEC = ["utf-8"] * 6 + ["big5", "gb2312"]
KNOWN_RULES = {"same", "name"}
MAX_TEXT_BYTES = 255  # strings are loaded into 256-byte buffers
MAX_NAME_BYTES = 33  # TW_STR32 holds 33 characters and the terminator


class TableError(Exception):
    pass


class Row:
    def __init__(self, line_no, number, rules, texts, comment):
        self.line_no = line_no
        self.number = number
        self.rules = rules
        self.texts = texts
        self.comment = comment


def unquote(field, line_no, language):
    if len(field) < 2 or field[0] != '"' or field[-1] != '"':
        raise TableError(f"line {line_no}: the {language} text must be enclosed in quotes")
    inner = field[1:-1]
    if '"' in inner.replace('""', ""):
        raise TableError(f"line {line_no}: a quote inside the {language} text must be doubled")
    return inner.replace('""', '"')


def parse_rules(field, line_no):
    if field == "-":
        return set()
    rules = set(field.split(","))
    unknown = rules - KNOWN_RULES
    if unknown:
        raise TableError(f"line {line_no}: unknown rule {sorted(unknown)[0]!r}")
    return rules


def parse_row(line, line_no, stride):
    fields = line.split("\t")
    if len(fields) < 2 + len(LANGUAGES):
        raise TableError(
            f"line {line_no}: {len(fields)} fields, expected the number, the rules and "
            f"{len(LANGUAGES)} texts")
    try:
        number = int(fields[0])
    except ValueError:
        raise TableError(f"line {line_no}: {fields[0]!r} is not a string number") from None
    if not 0 < number < stride:
        raise TableError(f"line {line_no}: string number {number} is outside 1..{stride - 1}")
    rules = parse_rules(fields[1], line_no)
    texts = [unquote(f, line_no, lang) for f, lang in zip(fields[2:10], LANGUAGES)]
    comment = "\t".join(fields[10:]).strip()
    return Row(line_no, number, rules, texts, comment)


def encoded(text, codec, row, language):
    try:
        return text.encode(codec)
    except UnicodeEncodeError as e:
        raise TableError(
            f"line {row.line_no}: the {language} text of string {row.number} has "
            f"{text[e.start:e.end]!r}, which {codec} cannot show") from None


def check_row(row):
    for text, language, codec in zip(row.texts, LANGUAGES, DISPLAY_CODEC):
        if not text:
            raise TableError(f"line {row.line_no}: string {row.number} has no {language} text")
        if any(ord(c) < 32 for c in text):
            raise TableError(
                f"line {row.line_no}: the {language} text of string {row.number} has a "
                "control character")
        size = len(encoded(text, codec, row, language))
        if size > MAX_TEXT_BYTES:
            raise TableError(
                f"line {row.line_no}: the {language} text of string {row.number} is {size} "
                f"bytes; callers read at most {MAX_TEXT_BYTES}")
        if "name" in row.rules and size > MAX_NAME_BYTES:
            raise TableError(
                f"line {row.line_no}: string {row.number} is compared with a TWAIN name and "
                f"may not exceed {MAX_NAME_BYTES} bytes")
    if "same" in row.rules and len(set(row.texts)) != 1:
        raise TableError(
            f"line {row.line_no}: string {row.number} must be the same in every language")


def read_table(lines, stride):
    rows = {}
    header_seen = False
    for line_no, raw in enumerate(lines, 1):
        line = raw.rstrip("\r\n")
        if not line.strip() or line.startswith("#"):
            continue
        if not header_seen:  # the column titles
            header_seen = True
            continue
        row = parse_row(line, line_no, stride)
        if row.number in rows:
            raise TableError(
                f"line {line_no}: string {row.number} is already on line "
                f"{rows[row.number].line_no}")
        check_row(row)
        rows[row.number] = row
    if not rows:
        raise TableError("the table has no strings")
    return [rows[n] for n in sorted(rows)]


def rc_literal(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '""') + '"'


def cpp_literal(data):
    out = []
    for byte in data:
        ch = chr(byte)
        if ch in '"\\':
            out.append("\\" + ch)
        elif 32 <= byte < 127:
            out.append(ch)
        else:  # octal escapes stop after three digits, so a following digit stays itself
            out.append(f"\\{byte:03o}")
    return '"' + "".join(out) + '"'


def render_rc(rows, stride, source_name):
    out = [
        f"// Generated from {source_name} by generate_strings.py; edit the table, not this file.",
        "#pragma code_page(65001)",
        "LANGUAGE 0, 0",
        "",
        "STRINGTABLE",
        "BEGIN",
    ]
    for index, language in enumerate(LANGUAGES):
        out.append(f"  // {language}: ids {stride * index + 1}..{stride * index + stride - 1}")
        for row in rows:
            out.append(f"  {stride * index + row.number}, {rc_literal(row.texts[index])}")
    out += ["END", ""]
    return "\n".join(out)


def render_cpp(rows, stride, source_name, symbol):
    out = [
        f"// Generated from {source_name} by generate_strings.py; edit the table, not this file.",
        "// Blocks 0-5 are UTF-8, block 6 Big5 and block 7 GB2312.",
        '#include "resources/strings/string_table.h"',
        "",
        "namespace kvres {",
        "namespace {",
        "",
        "const StringTableEntry kEntries[] = {",
    ]
    for index, codec in enumerate(HOST_CODEC):
        for row in rows:
            data = row.texts[index].encode(codec)
            out.append(f"    {{{stride * index + row.number}, {cpp_literal(data)}}},")
    out += [
        "};",
        "",
        "}  // namespace",
        "",
        f"extern const StringTable {symbol} = {{kEntries, sizeof kEntries / sizeof kEntries[0]}};",
        "",
        "}  // namespace kvres",
        "",
    ]
    return "\n".join(out)


def write_text(path, text):
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("table", help="the table file (.tsv)")
    parser.add_argument("--stride", type=int, required=True,
                        help="distance between the language blocks (1000 or 50)")
    parser.add_argument("--symbol", required=True, help="name of the C++ table")
    parser.add_argument("--rc", required=True, help="resource script to write")
    parser.add_argument("--cpp", required=True, help="C++ table to write")
    args = parser.parse_args(argv)
    source_name = args.table.replace("\\", "/").rsplit("/", 1)[-1]
    try:
        with open(args.table, encoding="utf-8") as f:
            rows = read_table(f, args.stride)
    except TableError as e:
        print(f"{args.table}: {e}", file=sys.stderr)
        return 1
    write_text(args.rc, render_rc(rows, args.stride, source_name))
    write_text(args.cpp, render_cpp(rows, args.stride, source_name, args.symbol))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
