#!/usr/bin/env python3
"""Builds the string tables of a library from its one table file.

The table file (UTF-8, tab-separated) has one row per string number n:

    n <TAB> rules <TAB> "en" <TAB> "de" <TAB> "fr" <TAB> "it" <TAB> "es" <TAB> "nl"
      <TAB> "zh_TW" <TAB> "zh_CN" [<TAB> comment]

Every text is enclosed in double quotes so that leading and trailing blanks survive editors;
a quote inside a text is written twice. Lines that are empty or start with '#' are skipped.
rules is '-' or a comma-separated list of:
    same     the text is identical in every language (values the code parses or compares)
    name     an application name the code compares with a TWAIN product name: identical in
             every language and at most 33 bytes (a TW_STR32 and its terminator)
    tab      a tab label of the scanning window, which cuts a Western label longer than seven
             characters to seven and ".."
    endonym  a language of the language list, shown under its own name: the same text in the
             five translated Western blocks, and the same letters as the English block's text
             once accents are set aside

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
Western blocks) and against the 255-character buffers the callers load strings into. A text
whose English original starts or ends with blanks is one the code joins with other text, so
the translated Western blocks must keep exactly those blanks. With --dialogs, no two strings
that one dialog shows together may share an accelerator in a translated block (see
read_dialogs). Any problem stops the build with the row's line number, the string number,
the language and the reason.
"""

import argparse
import sys
import unicodedata

LANGUAGES = ["en", "de", "fr", "it", "es", "nl", "zh_TW", "zh_CN"]
# The ANSI code page a system showing each block runs with.
DISPLAY_CODEC = ["cp1252"] * 6 + ["big5", "gb2312"]
# What the host table holds for each block (see the module text).
HOST_CODEC = ["utf-8"] * 6 + ["big5", "gb2312"]
KNOWN_RULES = {"same", "name", "tab", "endonym"}
MAX_TEXT_BYTES = 255  # strings are loaded into 256-byte buffers
MAX_NAME_BYTES = 33  # TW_STR32 holds 33 characters and the terminator
# The translated Western blocks (German ... Dutch). English is the reference the others are
# measured against and is kept as it is, even where it breaks a rule the translations must
# keep (its "Enhancements" tab shows as "Enhance..", its &Scan and &Save share Alt+S).
TRANSLATED_WESTERN = range(1, 6)
# TabLabel cuts a Western label longer than this to this many characters and "..". Windows-1252
# has one byte a character, so characters here are the bytes the window counts. The Chinese
# blocks are drawn whole.
TAB_LABEL_CHARS = 7


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


def outer_blanks(text):
    return len(text) - len(text.lstrip(" ")), len(text) - len(text.rstrip(" "))


def without_accents(text):
    return "".join(c for c in unicodedata.normalize("NFD", text) if not unicodedata.combining(c))


def refuse(row, index, reason):
    raise TableError(
        f"line {row.line_no}: the {LANGUAGES[index]} text of string {row.number} {reason}")


def check_identical(row, reason):
    for index, text in enumerate(row.texts):
        if text != row.texts[0]:
            refuse(row, index, f"differs from the English one; {reason}")


def check_sizes(row):
    for index, (text, codec) in enumerate(zip(row.texts, DISPLAY_CODEC)):
        if not text:
            raise TableError(
                f"line {row.line_no}: string {row.number} has no {LANGUAGES[index]} text")
        if any(ord(c) < 32 for c in text):
            refuse(row, index, "has a control character")
        size = len(encoded(text, codec, row, LANGUAGES[index]))
        if size > MAX_TEXT_BYTES:
            refuse(row, index, f"is {size} bytes; callers read at most {MAX_TEXT_BYTES}")
        if "name" in row.rules and size > MAX_NAME_BYTES:
            refuse(row, index, f"is compared with a TWAIN name and may not exceed "
                               f"{MAX_NAME_BYTES} bytes")


def check_translated_western(row):
    english_blanks = outer_blanks(row.texts[0])
    for index in TRANSLATED_WESTERN:
        text = row.texts[index]
        # The Chinese blocks may drop these blanks: their scripts set no blank between words.
        if english_blanks != (0, 0) and outer_blanks(text) != english_blanks:
            lead, trail = outer_blanks(text)
            refuse(row, index,
                   f"has {lead} leading and {trail} trailing blanks, the English "
                   f"{english_blanks[0]} and {english_blanks[1]}; the code joins this string "
                   "with other text")
        if "tab" in row.rules and len(text) > TAB_LABEL_CHARS:
            refuse(row, index,
                   f"is a tab label of {len(text)} characters; the tab shows "
                   f"{TAB_LABEL_CHARS} of them, {text[:TAB_LABEL_CHARS] + '..'!r}")


def check_language_name(row):
    """The list shows every language under its own name, whatever the interface language. Only
    list positions are compared by the code, so the accents may differ: the English block keeps
    the plain letters, and Big5 and GB2312 have no ç or ñ."""
    for index, text in enumerate(row.texts):
        if without_accents(text) != without_accents(row.texts[0]):
            refuse(row, index, f"is not the language's own name {row.texts[0]!r}, accents aside")
    first = TRANSLATED_WESTERN[0]
    for index in TRANSLATED_WESTERN:
        if row.texts[index] != row.texts[first]:
            refuse(row, index, f"differs from the {LANGUAGES[first]} one; the language list "
                               "reads the same in every Western language")


def check_row(row):
    check_sizes(row)
    if "name" in row.rules:
        check_identical(row, "an application name must be the same in every language")
    if "same" in row.rules:
        check_identical(row, "it must be the same in every language")
    check_translated_western(row)
    if "endonym" in row.rules:
        check_language_name(row)


class Dialog:
    def __init__(self, line_no, name, members):
        self.line_no = line_no
        self.name = name
        self.members = members  # (string number, whether the code puts "&" before it)


def read_dialogs(lines):
    """Reads which strings each dialog shows at the same time, one dialog a line:

        name <TAB> n n &n ...

    "&n" is a string before which the code itself puts "&", so that the text's first
    character is the accelerator. Lines that are empty or start with '#' are skipped."""
    dialogs = []
    for line_no, raw in enumerate(lines, 1):
        line = raw.rstrip("\r\n")
        if not line.strip() or line.startswith("#"):
            continue
        fields = line.split("\t")
        if len(fields) != 2 or not fields[0].strip():
            raise TableError(f"line {line_no}: expected a dialog name, a tab and string numbers")
        members = []
        for word in fields[1].split():
            prefixed = word.startswith("&")
            try:
                number = int(word[1:] if prefixed else word)
            except ValueError:
                raise TableError(f"line {line_no}: {word!r} is not a string number") from None
            if number in [n for n, _ in members]:
                raise TableError(f"line {line_no}: string {number} is listed twice")
            members.append((number, prefixed))
        dialogs.append(Dialog(line_no, fields[0].strip(), members))
    return dialogs


def accelerator(text):
    """The key of a text's "&" mnemonic in the case Windows matches it, or None. "&&" shows
    an ampersand and is no mnemonic."""
    i = 0
    while i < len(text) - 1:
        if text[i] == "&":
            if text[i + 1] != "&":
                return text[i + 1].casefold()
            i += 1
        i += 1
    return None


def check_accelerators(rows, dialogs):
    """Two controls of one dialog with the same accelerator make Alt+letter move the focus
    between them instead of pressing either. Every translated block is checked, the Chinese
    ones too; English is left out, being the reference that keeps its own clashes (see
    TRANSLATED_WESTERN)."""
    by_number = {row.number: row for row in rows}
    for dialog in dialogs:
        for number, _ in dialog.members:
            if number not in by_number:
                raise TableError(f"dialog {dialog.name!r} (line {dialog.line_no}) shows string "
                                 f"{number}, which the table does not have")
        for index in range(1, len(LANGUAGES)):
            taken = {}
            for number, prefixed in dialog.members:
                row = by_number[number]
                key = accelerator(("&" if prefixed else "") + row.texts[index])
                if key is None:
                    continue
                if key in taken:
                    refuse(row, index,
                           f"has the accelerator {key.upper()!r}, which string {taken[key]} "
                           f"already has in dialog {dialog.name!r}")
                taken[key] = number


def read_table(lines, stride, dialogs=()):
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
    ordered = [rows[n] for n in sorted(rows)]
    check_accelerators(ordered, dialogs)
    return ordered


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
    parser.add_argument("--dialogs", help="which strings each dialog shows together (.tsv)")
    args = parser.parse_args(argv)
    source_name = args.table.replace("\\", "/").rsplit("/", 1)[-1]
    dialogs = []
    if args.dialogs:
        try:
            with open(args.dialogs, encoding="utf-8") as f:
                dialogs = read_dialogs(f)
        except TableError as e:
            print(f"{args.dialogs}: {e}", file=sys.stderr)
            return 1
    try:
        with open(args.table, encoding="utf-8") as f:
            rows = read_table(f, args.stride, dialogs)
    except TableError as e:
        print(f"{args.table}: {e}", file=sys.stderr)
        return 1
    write_text(args.rc, render_rc(rows, args.stride, source_name))
    write_text(args.cpp, render_cpp(rows, args.stride, source_name, args.symbol))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
