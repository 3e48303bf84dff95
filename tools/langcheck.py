#!/usr/bin/env python3
"""Checks the client's language string tables (resources/LANGUAGE/dll<code>.txt).

Each table is UTF-8, one string a line as <id><TAB><text>; lines starting with '#' are comments and
blank lines are ignored. The text may use the escapes \\n, \\t and \\\\ only. Ids ascend without
repeats, every table holds the same ids, and each translation keeps the printf conversions of the
English text in the same order. In the English table every entry is preceded by a comment saying
where the string is used.

Usage: langcheck.py [LANGUAGE-folder]   (default: resources/LANGUAGE beside this tool's folder)
Exit status 0 when all tables are sound, 1 with one message per fault otherwise.
"""

import os
import re
import sys

CODES = ("eng", "jpn", "kor", "esp")
REFERENCE = "eng"
MAX_ID = 65535
ESCAPES = {"n": "\n", "t": "\t", "\\": "\\"}
# %[flags][width][.precision][length]conversion; '%%' is a literal percent sign.
CONVERSION = re.compile(r"%([-+ #0]*)(\*|\d+)?(?:\.(\*|\d+))?(hh|h|ll|l|j|z|t|L)?([diouxXeEfFgGaAcspn%])")


class Table:
    def __init__(self, path):
        self.path = path
        self.name = os.path.basename(path)
        self.strings = {}  # id -> unescaped text, None when its escapes are broken
        self.lines = {}  # id -> line number


def unescape(text, where, errors):
    out = []
    i = 0
    while i < len(text):
        ch = text[i]
        if ch == "\\":
            if i + 1 >= len(text):
                errors.append(f"{where}: lone backslash at the end of the text")
                return None
            nxt = text[i + 1]
            if nxt not in ESCAPES:
                errors.append(f"{where}: unknown escape '\\{nxt}' (only \\n, \\t and \\\\ are allowed)")
                return None
            out.append(ESCAPES[nxt])
            i += 2
            continue
        out.append(ch)
        i += 1
    return "".join(out)


def conversions(text, where, errors):
    """The printf conversions of a text in order, or None when a '%' is malformed."""
    found = []
    i = 0
    while True:
        i = text.find("%", i)
        if i < 0:
            return found
        m = CONVERSION.match(text, i)
        if not m:
            errors.append(f"{where}: '%' at character {i + 1} is not a printf conversion (write '%%' for a percent sign)")
            return None
        if m.group(5) != "%":
            found.append(m.group(0))
        i = m.end()


def read_table(path, errors):
    table = Table(path)
    try:
        with open(path, "rb") as f:
            raw = f.read()
    except OSError as exc:
        errors.append(f"{path}: cannot read ({exc.strerror})")
        return None
    if raw.startswith(b"\xef\xbb\xbf"):
        errors.append(f"{table.name}: starts with a byte-order mark")
        raw = raw[3:]
    if b"\r" in raw:
        errors.append(f"{table.name}: carriage return found; lines must end with a line feed only")
        raw = raw.replace(b"\r", b"")
    if raw and not raw.endswith(b"\n"):
        errors.append(f"{table.name}: the last line has no line end")

    last_id = None
    comment_before = False
    for number, raw_line in enumerate(raw.split(b"\n"), start=1):
        where = f"{table.name}:{number}"
        try:
            line = raw_line.decode("utf-8")
        except UnicodeDecodeError as exc:
            errors.append(f"{where}: not UTF-8 (byte {exc.start + 1} of the line)")
            line = raw_line.decode("utf-8", errors="replace")
        if not line.strip():
            comment_before = False
            continue
        if line.startswith("#"):
            comment_before = True
            continue
        m = re.fullmatch(r"([0-9]+)\t(.*)", line)
        if not m:
            errors.append(f"{where}: not '<id><TAB><text>', a comment or a blank line")
            comment_before = False
            continue
        digits, text = m.groups()
        sid = int(digits)
        if digits != str(sid) or not 0 < sid <= MAX_ID:
            errors.append(f"{where}: id '{digits}' must be a number from 1 to {MAX_ID} without leading zeros")
        if last_id is not None and sid <= last_id:
            what = "repeats" if sid == last_id else "is below"
            errors.append(f"{where}: id {sid} {what} the id before it ({last_id}); ids must ascend")
        last_id = sid if last_id is None else max(sid, last_id)
        if "\t" in text:
            errors.append(f"{where}: id {sid}: tab inside the text (write \\t)")
        bad = [c for c in text if ord(c) < 0x20 and c != "\t" or ord(c) == 0x7F]
        if bad:
            errors.append(f"{where}: id {sid}: control character U+{ord(bad[0]):04X} in the text")
        if text != text.strip():
            errors.append(f"{where}: id {sid}: blanks at the start or end of the text")
        if not text:
            errors.append(f"{where}: id {sid}: empty text")
        if table.name == f"dll{REFERENCE}.txt" and not comment_before:
            errors.append(f"{where}: id {sid}: no comment before the entry saying where it is used")
        comment_before = False
        if sid not in table.strings:
            # A text with a bad escape still counts as present, so that it is not also reported as missing.
            table.strings[sid] = unescape(text, f"{where}: id {sid}", errors)
            table.lines[sid] = number
    return table


def id_list(ids, limit=12):
    ids = sorted(ids)
    shown = ", ".join(str(i) for i in ids[:limit])
    return shown + (f" and {len(ids) - limit} more" if len(ids) > limit else "")


def check(folder):
    errors = []
    tables = {}
    for code in CODES:
        table = read_table(os.path.join(folder, f"dll{code}.txt"), errors)
        if table is not None:
            tables[code] = table

    reference = tables.get(REFERENCE)
    if reference is not None:
        ref_ids = set(reference.strings)
        for code, table in tables.items():
            if code == REFERENCE:
                continue
            missing = ref_ids - set(table.strings)
            extra = set(table.strings) - ref_ids
            if missing:
                errors.append(f"{table.name}: missing ids present in {reference.name}: {id_list(missing)}")
            if extra:
                errors.append(f"{table.name}: ids not present in {reference.name}: {id_list(extra)}")

        for sid, text in sorted(reference.strings.items()):
            expected = None
            if text is not None:
                expected = conversions(text, f"{reference.name}:{reference.lines[sid]}: id {sid}", errors)
            for code, table in tables.items():
                if code == REFERENCE or table.strings.get(sid) is None:
                    continue
                where = f"{table.name}:{table.lines[sid]}: id {sid}"
                got = conversions(table.strings[sid], where, errors)
                if expected is not None and got is not None and got != expected:
                    errors.append(f"{where}: printf conversions {' '.join(got) or 'none'} differ from "
                                  f"{reference.name}: {' '.join(expected) or 'none'}")
    return tables, errors


def main(argv):
    if len(argv) > 2 or (len(argv) == 2 and argv[1] in ("-h", "--help")):
        print(__doc__.strip())
        return 0 if len(argv) == 2 else 2
    if len(argv) == 2:
        folder = argv[1]
    else:
        folder = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "resources", "LANGUAGE")
    tables, errors = check(folder)
    for message in errors:
        print(f"langcheck: {message}", file=sys.stderr)
    if errors:
        print(f"langcheck: {len(errors)} fault(s) in {folder}", file=sys.stderr)
        return 1
    count = len(tables[REFERENCE].strings)
    print(f"langcheck: {len(tables)} tables, {count} ids each, all sound")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
