#!/usr/bin/env python3
"""The code check of tools/langcheck.py: what it flags in small sources, and that it flags a literal put
back into the real tree. Usage: LangcheckTest.py SOURCE-ROOT"""

import os
import shutil
import sys
import tempfile
import unittest

SOURCE = os.path.abspath(sys.argv.pop(1)) if len(sys.argv) > 1 else None
sys.path.insert(0, os.path.join(SOURCE or ".", "tools"))
import langcheck  # noqa: E402

BOX_H = "#pragma once\n#include <string>\nint Box(const std::string& text);\n"
BOX_CPP = '#include "client/Box.h"\nint Box(const std::string& text) { return FrmMain->ShowMessageBox(text, "", 0); }\n'

# (case, files, faults expected as "path:line"); each source's line numbers are counted by hand.
CASES = [
    ("a literal in a message box", {"client/a.cpp": 'void F() {\n    ShowMessageBox("Disk full", Cap(), 0);\n}\n'},
     ["client/a.cpp:2"]),
    ("through a constant and a variable", {"client/a.cpp":
        'constexpr const char* kGone = "The disk is gone.";\nvoid F() {\n    std::string text = kGone;\n'
        '    text += " Attach it again.";\n    lbState->SetCaption(text);\n}\n'},
     ["client/a.cpp:1", "client/a.cpp:4"]),
    ("returned by a helper", {"client/a.cpp":
        'std::string Question() { return "Replace them?"; }\nvoid F() { ShowMessageBox(Question(), "", 4); }\n'},
     ["client/a.cpp:1"]),
    ("through a wrapper's parameter in another file",
     {"client/Box.h": BOX_H, "client/Box.cpp": BOX_CPP,
      "setup/b.cpp": '#include "client/Box.h"\nvoid G() {\n    Box(Format("Port %d refused", 5));\n}\n'},
     ["setup/b.cpp:3"]),
    ("into a list the caller shows", {"playback/d.cpp":
        'void Find(std::vector<std::string>& errors) {\n    errors.push_back("Cannot mount " + device);\n}\n'
        'void F() {\n    std::vector<std::string> errors;\n    Find(errors);\n'
        '    for (const std::string& e : errors) ListBox1->Items()->Add(e);\n}\n'},
     ["playback/d.cpp:2"]),
    ("traces, file names, keys, queries and table texts", {"client/a.cpp":
        'void F() {\n    DebugTrace("TFrmMain::F", "Entering F");\n'
        '    const std::string path = ProgramFolder + "Temporary";\n'
        '    const std::string name = Format("%d%02d%02d.fdx", y, m, d);\n'
        '    ShowMessageBox(LoadLangString(59880) + "\\n" + path + "/" + name, LoadLangString(59886), 0);\n'
        '    Ini->ReadString("config", "1_1_1", "");\n    db.query("SELECT year FROM daylist");\n'
        '    throw EConvertError("not a valid minute");\n}\n'},
     []),
    ("a marked literal and a marker over nothing", {"recdb/c.cpp":
        'void F() {\n    lbDebug->Items()->Add("TIME OUT:"); // untranslated: the hidden debug list\n'
        '    // untranslated: a fixed word\n    Label2->SetCaption("REC");\n'
        '    Trace("F", "done"); // untranslated: nothing shown here\n}\n'},
     ["recdb/c.cpp:5"]),
]


def faults(root):
    return [e.split(": ", 1)[0] for e in langcheck.check_code(root)]


class CodeCheck(unittest.TestCase):
    def test_cases(self):
        for case, files, expected in CASES:
            with self.subTest(case), tempfile.TemporaryDirectory() as root:
                for path, text in files.items():
                    os.makedirs(os.path.dirname(os.path.join(root, path)), exist_ok=True)
                    with open(os.path.join(root, path), "w", encoding="utf-8") as f:
                        f.write(text)
                self.assertEqual(sorted(faults(root)), sorted(expected))

    @unittest.skipIf(SOURCE is None, "no source tree given")
    def test_a_literal_put_back_into_the_tree(self):
        with tempfile.TemporaryDirectory() as root:
            for folder in langcheck.CODE_FOLDERS:
                shutil.copytree(os.path.join(SOURCE, folder), os.path.join(root, folder))
            self.assertEqual(faults(root), [])
            path = os.path.join(root, "setup", "SetupUpload.cpp")
            with open(path, encoding="utf-8") as f:
                lines = f.read().split("\n")
            # The upload refusal as it was before it had a table text.
            line = next(i for i, text in enumerate(lines) if "LangText(60114)" in text)
            lines[line] = lines[line].replace("LangText(60114)", '"The recorder refused the upload."')
            with open(path, "w", encoding="utf-8") as f:
                f.write("\n".join(lines))
            self.assertEqual(faults(root), [f"setup/SetupUpload.cpp:{line + 1}"])


if __name__ == "__main__":
    unittest.main()
