#!/usr/bin/env python3
"""Checks the client's language string tables (resources/LANGUAGE/dll<code>.txt) and that the code shows
no literal text to the user.

Each table is UTF-8, one string a line as <id><TAB><text>; lines starting with '#' are comments and
blank lines are ignored. The text may use the escapes \\n, \\t and \\\\ only. Ids ascend without
repeats, every table holds the same ids, and each translation keeps the printf conversions of the
English text in the same order. In the English table every entry is preceded by a comment saying
where the string is used.

In the code of the windows (client/, setup/, playback/, recdb/, controls/) a string literal with a word
in it must not reach the user: a message box, a caption, a hint, a control's text or list, a dialog's
title or filter, nor any variable, constant, function result, parameter or list that ends up there.
Traces, file names, keys and SQL do not reach them and are not looked at. A literal shown as it stands
on purpose carries "// untranslated: <why>" on its line, or on a line of its own just before it.

Usage: langcheck.py                  the tables and the code of this tool's source tree
       langcheck.py LANGUAGE-folder  only the tables in that folder
       langcheck.py --code [ROOT]    only the code under ROOT (default: this tool's source tree)
Exit status 0 when all is sound, 1 with one message per fault otherwise.
"""

import itertools
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


# ---------------------------------------------------------------------------------------------------------
# Texts in the code. A string literal that reaches the user (the argument of a message box, a caption, a
# hint, a list item, a dialog title), directly or through the variables, constants, functions, members and
# parameters it flows into, must be a table text instead. Traces, file names, keys and SQL never reach
# those calls, so they are not looked at. A literal that is shown on purpose as it stands carries the
# marker "// untranslated: <why>" on its line (or alone on the line before its statement).

CODE_FOLDERS = ("client", "setup", "playback", "recdb", "controls")
# Calls whose arguments are shown as they are.
# The calls that wrap them (message-box helpers, log lists) are found from their parameters.
SINKS = {"ShowMessageBox", "ShowMessageBoxEx", "ShowMessage", "MessageDlg", "CreateMessageDialog", "MessageBox",
         "SetCaption", "SetHint", "SetText", "SetTitle", "SetFilter", "SelectDirectory", "InputBox", "InputQuery",
         "TextOut", "TextRect", "Add", "Insert", "AddObject"}
# Sinks that count only on a control's list: Items()->Add(...), Lines()->Insert(...).
LIST_SINKS = {"Add", "Insert", "AddObject"}
# Calls that add their argument to the list or text they are called on.
APPENDERS = {"push_back", "emplace_back", "push_front", "append", "insert", "assign"}
# Calls that hand their arguments' text on to their result.
PASSTHROUGH = {"Format", "string", "basic_string", "Trim", "UpperCase", "LowerCase"}
MARKER = re.compile(r"//\s*untranslated:\s*\S")
CPP_KEYWORDS = {"return", "const", "constexpr", "static", "auto", "char", "int", "unsigned", "bool", "void", "true",
                "false", "nullptr", "this", "std", "inline", "new", "delete", "sizeof", "throw", "case", "default",
                "if", "else", "for", "while", "switch", "operator", "static_cast", "long", "short", "double",
                "float", "signed", "struct", "class", "enum", "typename", "template", "using", "namespace"}
CONTROL_WORDS = {"if", "else", "for", "while", "switch", "catch", "do", "try"}
SCOPE_WORDS = {"class", "struct", "enum", "namespace", "union", "extern"}
# Tokens after which '{' opens a block rather than a braced initializer.
BLOCK_AFTER = {")", "const", "noexcept", "override", "final", "mutable", "}", ":", "try", "else", "do", ";", "{"}

TOKEN = re.compile(r"""
  (?P<nl>\n)
 |(?P<ws>[ \t\r\f\v]+|\\\n)
 |(?P<lcomment>//[^\n]*)
 |(?P<bcomment>/\*.*?\*/)
 |(?P<pp>\#(?:[^\n\\]|\\.|\\\n)*)
 |(?P<raw>(?:u8|u|U|L)?R"(?P<delim>[^()\\\s]{0,16})\((?P<rawbody>.*?)\)(?P=delim)")
 |(?P<str>(?:u8|u|U|L)?"(?:[^"\\\n]|\\.)*")
 |(?P<chr>(?:u8|u|U|L)?'(?:[^'\\\n]|\\.)*')
 |(?P<num>\.?[0-9](?:[eEpP][-+]|[\w.'])*)
 |(?P<ident>[A-Za-z_]\w*)
 |(?P<op><<=|>>=|::|->|\+\+|--|<=|>=|==|!=|&&|\|\||\+=|-=|\*=|/=|%=|&=|\|=|\^=|<<|>>|\.\.\.|.)
""", re.S | re.X)
C_ESCAPES = {"n": "\n", "t": "\t", "r": "\r", "\\": "\\", '"': '"', "'": "'", "a": "\a", "b": "\b", "f": "\f",
             "v": "\v", "?": "?"}


def c_string(body):
    """The text of a C++ string literal's body; a numeric escape stands for a byte beyond ASCII."""
    out = []
    i = 0
    while i < len(body):
        if body[i] == "\\" and i + 1 < len(body):
            m = re.match(r"x[0-9A-Fa-f]+|[0-7]{1,3}", body[i + 1:])
            if m:
                out.append("\x80")
                i += 1 + len(m.group(0))
                continue
            out.append(C_ESCAPES.get(body[i + 1], body[i + 1]))
            i += 2
            continue
        out.append(body[i])
        i += 1
    return "".join(out)


def shows_words(text):
    """A text with a word in it (two letters in a row, or any letter beyond ASCII), printf conversions aside."""
    text = CONVERSION.sub(" ", text)
    return re.search(r"[A-Za-z]{2}", text) is not None or any(ord(c) > 127 for c in text)


class Token:
    __slots__ = ("kind", "text", "line", "value", "stmt")

    def __init__(self, kind, text, line, value=None):
        self.kind, self.text, self.line, self.value, self.stmt = kind, text, line, value, None


def tokenize(source):
    """Code tokens (adjacent literals joined into one), the lines of '// untranslated:' markers, the lines
    that hold code and the files included by name."""
    tokens, markers, code_lines, includes = [], set(), set(), []
    line, pos = 1, 0
    while pos < len(source):
        m = TOKEN.match(source, pos)
        kind, text = m.lastgroup, m.group(0)
        if kind in ("raw", "str"):
            value = m.group("rawbody") if kind == "raw" else c_string(text[text.index('"') + 1:-1])
            if tokens and tokens[-1].kind == "str":
                tokens[-1].value += value
            else:
                tokens.append(Token("str", text, line, value))
        elif kind in ("lcomment", "bcomment"):
            if MARKER.search(text):
                markers.add(line)
        elif kind == "pp":
            m2 = re.match(r'#\s*include\s*"([^"]+)"', text)
            if m2:
                includes.append(m2.group(1))
        elif kind in ("ident", "num", "op", "chr"):
            tokens.append(Token(kind, text, line))
        if kind not in ("ws", "nl", "lcomment", "bcomment", "pp"):
            code_lines.add(line)
        line += text.count("\n")
        pos = m.end()
    return tokens, markers, code_lines, includes


class Flow:
    """Where an expression's text comes from: literals, plain names and called names, outside the
    arguments of calls that do not hand their text on."""

    def __init__(self):
        self.literals, self.names, self.calls = [], set(), set()
        self.words = set()  # every name at its top level, members too


class Statement:
    serials = itertools.count(1)

    def __init__(self, base, scope):
        self.serial = next(Statement.serials)
        self.base = base  # brackets open when the statement began
        self.scope = scope  # the serial of the enclosing function's head statement; None outside functions
        self.tokens = []
        self.target = None  # the name its value goes to: assigned variable or returning function
        self.returns = False
        self.flow = None


class Call:
    def __init__(self, at, callee, stmt, scope):
        self.at, self.callee, self.stmt, self.scope = at, callee, stmt, scope  # at: index of its '('
        self.sink = self.declaration = False
        self.receiver = None  # the list or text a push_back, append or insert adds to
        self.args = []


class SourceFile:
    def __init__(self, path, source):
        self.path = path
        self.tokens, self.markers, code_lines, self.includes = tokenize(source)
        self.statements = []
        self.calls = []
        self.functions = []  # (name, [(parameter, written)], serial of the head statement)
        self.parse()
        # A marker covers the statements of its line, or those of the next line with code when it stands
        # alone on its line.
        lines = {}
        for t in self.tokens:
            lines.setdefault(t.line, set()).add(t.stmt)
        self.covered = {}  # marker line -> statements
        for line in self.markers:
            if line not in code_lines:
                line = min((n for n in lines if n > line), default=None)
            self.covered[line] = lines.get(line, set())
        self.marked = set().union(*self.covered.values())

    def names_and_calls(self, tokens, flow):
        """Adds to the flow the text sources among tokens (one expression, brackets balanced)."""
        shut = []
        closed = 0
        for i, t in enumerate(tokens):
            before = tokens[i - 1].text if i > 0 else ""
            after = tokens[i + 1].text if i + 1 < len(tokens) else ""
            if t.text in ("(", "[", "{"):
                callee = before if t.text == "(" and i > 0 and tokens[i - 1].kind == "ident" else None
                s = t.text == "[" or (callee is not None and callee not in PASSTHROUGH)
                shut.append(s)
                closed += s
            elif t.text in (")", "]", "}"):
                if shut:
                    closed -= shut.pop()
            elif closed:
                continue
            elif t.kind == "str":
                flow.literals.append(t)
            elif t.kind == "ident":
                flow.words.add(t.text)
            if closed or t.kind != "ident":
                continue
            if t.text not in CPP_KEYWORDS and after not in (".", "->", "::"):
                if after == "(":
                    flow.calls.add(t.text)
                elif before not in (".", "->"):
                    flow.names.add(t.text)

    def finish(self, stmt, function):
        tokens = stmt.tokens
        while tokens and tokens[0].text == "else":
            tokens = stmt.tokens = tokens[1:]
        if not tokens:
            return
        if tokens[0].text in ("if", "for", "while", "switch") and len(tokens) > 1 and tokens[1].text == "(":
            # the statement under a control head without braces is a statement of its own
            depth = 0
            for m in range(1, len(tokens)):
                depth += tokens[m].text in ("(", "[", "{")
                depth -= tokens[m].text in (")", "]", "}")
                if depth == 0:
                    break
            if m + 1 < len(tokens):
                rest = Statement(stmt.base, stmt.scope)
                rest.serial, rest.tokens = stmt.serial, tokens[m + 1:]
                stmt.tokens = tokens = tokens[:m + 1]
                self.finish(rest, function)
        self.statements.append(stmt)
        depth, eq = 0, None
        for i, t in enumerate(tokens):
            if t.text in ("(", "[", "{"):
                depth += 1
            elif t.text in (")", "]", "}"):
                depth -= 1
            elif depth == 0 and t.text in ("=", "+=") and eq is None:
                eq = i
        colon = None
        if tokens[0].text == "for":
            depth = 0
            for i, t in enumerate(tokens):
                depth += t.text in ("(", "[", "{")
                depth -= t.text in (")", "]", "}")
                if depth == 1 and t.text == ":":
                    colon = i
        if tokens[0].text == "return":
            stmt.target, stmt.returns, value = function, True, tokens[1:]
        elif colon is not None:
            # for (declaration : range): each element goes to the declared name
            if tokens[colon - 1].kind != "ident":
                return
            stmt.target, value = tokens[colon - 1].text, tokens[colon + 1:-1]
        elif eq is not None:
            j, depth = eq - 1, 0
            while j >= 0 and not (depth == 0 and tokens[j].kind == "ident"):
                depth += tokens[j].text in ("]", ")")
                depth -= tokens[j].text in ("[", "(")
                j -= 1
            if j < 0 or (j > 0 and tokens[j - 1].text in (".", "->") and not tokens[j].text.endswith("_")):
                return
            stmt.target, value = tokens[j].text, tokens[eq + 1:]
        else:
            return
        stmt.flow = Flow()
        self.names_and_calls(value, stmt.flow)

    def is_declaration(self, k):
        """Whether the name at k, followed by '(', declares or defines a function (a type before it)."""
        j = k - 1
        while j >= 1 and self.tokens[j].text == "::" and self.tokens[j - 1].kind == "ident":
            j -= 2
        if j < 0:
            return False
        before = self.tokens[j]
        return (before.kind == "ident" and before.text not in ("return", "case", "else", "do", "throw", "new")
                or before.text in ("*", "&", "&&", ">", "~"))

    def receiver(self, k):
        t = self.tokens
        if t[k].text in APPENDERS and k >= 2 and t[k - 1].text in (".", "->") and t[k - 2].kind == "ident":
            return t[k - 2].text
        return None

    def is_sink(self, k):
        t = self.tokens
        if t[k].text not in SINKS:
            return False
        if t[k].text in LIST_SINKS:
            return (k >= 4 and t[k - 1].text in ("->", ".") and t[k - 2].text == ")" and t[k - 3].text == "("
                    and t[k - 4].text in ("Items", "Lines"))
        return True

    def parse(self):
        tokens = self.tokens
        brackets = []  # [opener, Call or None]
        blocks = []  # (kind, name, serial of a function's head or the outer statement of a lambda)
        stmt = Statement(0, None)

        def function():
            for kind, name, _ in reversed(blocks):
                if kind in ("function", "lambda"):
                    return name
            return None

        def scope():
            for kind, name, serial in reversed(blocks):
                if kind == "function":
                    return serial
            return None

        for i, t in enumerate(tokens):
            prev = tokens[i - 1] if i > 0 else None
            t.stmt = stmt.serial
            if t.text == "(":
                call = None
                if (prev is not None and prev.kind == "ident" and prev.text not in CPP_KEYWORDS
                        and prev.text not in CONTROL_WORDS and prev.text not in PASSTHROUGH):
                    call = Call(i, prev.text, stmt.serial, scope())
                    call.sink, call.declaration = self.is_sink(i - 1), self.is_declaration(i - 1)
                    call.receiver = self.receiver(i - 1)
                    self.calls.append(call)
                brackets.append(["(", call])
                stmt.tokens.append(t)
            elif t.text == "[":
                brackets.append(["[", None])
                stmt.tokens.append(t)
            elif t.text in (")", "]"):
                if brackets:
                    brackets.pop()
                stmt.tokens.append(t)
            elif t.text == "{":
                head = stmt.tokens
                before = prev.text if prev is not None else ";"
                first = head[0].text if head else ""
                lambda_body = before == "]"
                if before == ")":
                    depth = 0
                    for j in range(len(head) - 1, -1, -1):
                        depth += head[j].text == ")"
                        depth -= head[j].text == "("
                        if depth == 0:
                            lambda_body = j > 0 and head[j - 1].text == "]"
                            break
                if lambda_body:
                    name = None
                    for j in range(1, len(head) - 1):
                        if head[j].text == "=" and head[j - 1].kind == "ident" and head[j + 1].text == "[":
                            name = head[j - 1].text
                    blocks.append(("lambda", name, stmt))
                    stmt = Statement(len(brackets), scope())
                elif first in SCOPE_WORDS or before in BLOCK_AFTER:
                    kind, name, serial = ("scope" if first in SCOPE_WORDS else "block"), None, None
                    if kind == "block" and first not in CONTROL_WORDS:
                        depth = 0
                        for j, h in enumerate(head):
                            if h.text == "(" and depth == 0:
                                if j > 0 and head[j - 1].kind == "ident":
                                    kind, name, serial = "function", head[j - 1].text, stmt.serial
                                    self.functions.append((name, self.parameters(head[j:]), serial))
                                break
                            depth += h.text in ("(", "[", "{")
                            depth -= h.text in (")", "]", "}")
                    self.finish(stmt, function())
                    if serial is None:
                        serial = stmt.scope
                    blocks.append((kind, name, serial if kind == "function" else None))
                    stmt = Statement(len(brackets), serial if kind == "function" else scope())
                else:
                    brackets.append(["{", None])
                    stmt.tokens.append(t)
            elif t.text == "}":
                if brackets and brackets[-1][0] == "{":
                    brackets.pop()
                    stmt.tokens.append(t)
                else:
                    self.finish(stmt, function())
                    kind, _, outer = blocks.pop() if blocks else ("block", None, None)
                    stmt = outer if kind == "lambda" else Statement(len(brackets), scope())
            elif t.text == ";" and len(brackets) <= stmt.base:
                self.finish(stmt, function())
                stmt = Statement(len(brackets), scope())
            else:
                stmt.tokens.append(t)
        self.finish(stmt, function())
        self.gather_arguments()

    def parameters(self, tokens):
        """(name, written by the function) of each parameter of a declarator's '(...)': a parameter
        taken by a reference that is not const is one the function may write to."""
        params, depth, chunk = [], 0, []

        def close():
            cut = next((i for i, t in enumerate(chunk) if t.text == "="), len(chunk))
            texts = [t.text for t in chunk[:cut]]
            names = [t.text for t in chunk[:cut] if t.kind == "ident"]
            if names:
                params.append((names[-1], "&" in texts and "const" not in texts))

        for t in tokens:
            if t.text in ("(", "[", "{", "<"):
                depth += 1
                if depth == 1:
                    continue
            elif t.text in (")", "]", "}", ">"):
                depth -= 1
                if depth == 0:
                    break
            if depth == 1 and t.text == ",":
                close()
                chunk = []
            else:
                chunk.append(t)
        close()
        return params

    def gather_arguments(self):
        """Fills each call's argument flows from the tokens between its parentheses."""
        tokens = self.tokens
        for call in self.calls:
            depth, start = 0, call.at + 1
            for k in range(call.at, len(tokens)):
                x = tokens[k]
                depth += x.text in ("(", "[", "{")
                depth -= x.text in (")", "]", "}")
                if depth == 0 or (depth == 1 and x.text == ","):
                    if k > start or depth == 1:
                        call.args.append(Flow())
                        self.names_and_calls(tokens[start:k], call.args[-1])
                    start = k + 1
                    if depth == 0:
                        break


def shared_name(name):
    """Names followed from file to file: constants (kName) and members (name_); others stay in their file."""
    return re.match(r"k[A-Z]", name) is not None or name.endswith("_")


class Headers:
    """Which headers each file includes, directly or not, and which names each header declares as
    functions: a call reaches a function of another file only through a header both see."""

    def __init__(self, root, files):
        self.includes, self.declares = {}, {}
        for f in files:
            self.includes[f.path] = f.includes
            if f.path.endswith(".h"):
                self.declares[f.path] = {t.text for i, t in enumerate(f.tokens[:-1])
                                         if t.kind == "ident" and f.tokens[i + 1].text == "("}
        self.root = root
        self.closures = {}

    def read(self, path):
        if path in self.includes:
            return
        self.includes[path], self.declares[path] = [], set()
        try:
            with open(os.path.join(self.root, path), encoding="utf-8") as fh:
                text = fh.read()
        except OSError:
            return
        self.includes[path] = re.findall(r'^\s*#\s*include\s*"([^"]+)"', text, re.M)
        self.declares[path] = set(re.findall(r"\b([A-Za-z_]\w*)\s*\(", text))

    def closure(self, path):
        if path not in self.closures:
            seen, todo = {path}, [path]
            while todo:
                self.read(todo[-1])
                for inc in self.includes[todo.pop()]:
                    if inc not in seen:
                        seen.add(inc)
                        todo.append(inc)
            self.closures[path] = seen
        return self.closures[path]

    def visible(self, caller, definer, name):
        if caller == definer:
            return True
        common = self.closure(caller) & self.closure(definer)
        return any(name in self.declares.get(h, ()) for h in common if h.endswith(".h"))


class Taint:
    """What reaches the user: names, called functions and function parameters, to a fixed point. Plain
    names are followed within their function (or, for names defined outside functions, their file)."""

    def __init__(self, root, files, headers, stop_at_markers):
        self.headers = headers
        self.functions, self.shared, self.local = set(), set(), set()
        self.params = {}  # (function, parameter index) -> files whose definition shows that parameter
        self.passed = {}  # (function, parameter index) -> files whose calls pass a shown text there
        self.taken = set()
        self.file_level = {f.path: {s.target for s in f.statements if s.scope is None and s.target} for f in files}
        changed = True
        while changed:
            changed = False
            for f in files:
                for stmt, scope, flow, _ in self.flows_of(f):
                    if not (stop_at_markers and stmt in f.marked):
                        changed |= self.take(f, scope, flow)
                for call in f.calls:
                    for k, arg in enumerate(call.args):
                        callers = self.passed.setdefault((call.callee, k), set())
                        if f.path not in callers and any(self.has(f, call.scope, n) for n in arg.names):
                            callers.add(f.path)
                            changed = True
                for name, params, serial in f.functions:
                    for k, (param, written) in enumerate(params):
                        definers = self.params.setdefault((name, k), set())
                        if self.has(f, serial, param) and f.path not in definers:
                            definers.add(f.path)
                            changed = True
                        if written and not self.has(f, serial, param) and any(
                                self.headers.visible(caller, f.path, name) for caller in self.passed.get((name, k), ())):
                            self.local.add((f.path, serial, param))
                            changed = True

    def has(self, f, scope, name):
        return name in self.shared or (f.path, scope, name) in self.local or (f.path, None, name) in self.local

    def shows_parameter(self, f, call, k):
        return any(self.headers.visible(f.path, definer, call.callee)
                   for definer in self.params.get((call.callee, k), ()))

    def flows_of(self, f):
        """(statement, scope, flow, how it reaches the user) of the file's flows that currently do."""
        for stmt in f.statements:
            if stmt.flow is None:
                continue
            if stmt.returns and stmt.target in self.functions:
                yield stmt.serial, stmt.scope, stmt.flow, f"returned by {stmt.target}()"
            elif not stmt.returns and self.has(f, stmt.scope, stmt.target):
                yield stmt.serial, stmt.scope, stmt.flow, f"put in {stmt.target}"
        for call in f.calls:
            if call.declaration:
                continue
            for k, arg in enumerate(call.args):
                if call.sink or self.shows_parameter(f, call, k):
                    yield call.stmt, call.scope, arg, f"passed to {call.callee}()"
                elif call.receiver is not None and self.has(f, call.scope, call.receiver):
                    yield call.stmt, call.scope, arg, f"added to {call.receiver}"

    def take(self, f, scope, flow):
        if id(flow) in self.taken:
            return False
        self.taken.add(id(flow))
        for name in flow.names:
            if shared_name(name):
                self.shared.add(name)
            else:
                self.local.add((f.path, None if name in self.file_level[f.path] else scope, name))
        self.functions |= flow.calls - SINKS
        return True


def is_file_name(text, flow):
    """A single word that names a file or folder: with a slash or an extension, or joined to a folder or
    path."""
    if re.search(r"\s", text):
        return False
    return re.search(r"[/\\]|\.\w", text) is not None or any(re.search(r"(?i)folder|path|dir|root", w)
                                                            for w in flow.words)


def check_code(root):
    """One fault per literal text shown to the user and per marker that covers none."""
    files = []
    for folder in CODE_FOLDERS:
        for dirpath, dirs, names in os.walk(os.path.join(root, folder)):
            dirs.sort()
            for name in sorted(names):
                if name.endswith((".cpp", ".h")):
                    path = os.path.join(dirpath, name)
                    with open(path, encoding="utf-8") as fh:
                        files.append(SourceFile(os.path.relpath(path, root), fh.read()))
    headers = Headers(root, files)
    # What a marked line shows goes no further; a marker is needed where something would be shown
    # with every marker taken away.
    taint = Taint(root, files, headers, stop_at_markers=True)
    unmarked = Taint(root, files, headers, stop_at_markers=False)
    errors = []
    for f in files:
        shown = {}
        used = {stmt for stmt, _, _, _ in unmarked.flows_of(f) if stmt in f.marked}
        for stmt, _, flow, how in taint.flows_of(f):
            if stmt in f.marked:
                continue
            for literal in flow.literals:
                if shows_words(literal.value) and not is_file_name(literal.value, flow):
                    shown.setdefault((literal.line, literal.value), how)
        for (line, text), how in sorted(shown.items()):
            brief = text if len(text) <= 50 else text[:47] + "..."
            errors.append(f"{f.path}:{line}: literal text {brief!r} reaches the user ({how}): give it an id "
                          f"in the language tables and load it, or mark the line '// untranslated: <why>'")
        for line, covered in sorted(f.covered.items(), key=lambda item: item[0] or 0):
            if not covered & used:
                errors.append(f"{f.path}:{line}: '// untranslated:' marks nothing shown to the user")
    return errors


def main(argv):
    args = argv[1:]
    if args[:1] in (["-h"], ["--help"]) or len(args) > 2 or (len(args) == 2 and args[0] != "--code"):
        print(__doc__.strip())
        return 0 if args[:1] in (["-h"], ["--help"]) else 2
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    errors = []
    if args[:1] != ["--code"]:
        folder = args[0] if args else os.path.join(root, "resources", "LANGUAGE")
        tables, faults = check(folder)
        errors += faults
        if not faults:
            print(f"langcheck: {len(tables)} tables, {len(tables[REFERENCE].strings)} ids each, all sound")
    if not args or args[0] == "--code":
        code_root = args[1] if len(args) == 2 else root
        faults = check_code(code_root)
        errors += faults
        if not faults:
            print(f"langcheck: no literal text shown to the user in the code under {code_root}")
    for message in errors:
        print(f"langcheck: {message}", file=sys.stderr)
    if errors:
        print(f"langcheck: {len(errors)} fault(s)", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
