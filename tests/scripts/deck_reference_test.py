#!/usr/bin/python3
"""doc/deck-reference.md, the editor files and the readers cannot drift apart.

The keywords that the readers accept are the "*KEYWORD" string literals of
the reader sources (deck/, model/, stress/, damage/); the keywords of the
reference are the first cells of its card tables. The error codes and their
console messages are those of the end report's table.
"""

import os
import re
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
REFERENCE = os.path.join(ROOT, "doc", "deck-reference.md")
READER_DIRS = ("deck", "model", "stress", "damage")
END_REPORT = os.path.join(ROOT, "driver", "ZuvanFatigueMessages.cpp")
VIM_SYNTAX = os.path.join(ROOT, "editors", "vim", "syntax", "zuvan.vim")
NOTEPAD_UDL = os.path.join(ROOT, "editors", "notepad++", "ZuvanFatigue.udl.xml")

KEYWORD_LITERAL = re.compile(r'"(\*[A-Z][A-Z0-9_]*)"')
TABLE_KEYWORD = re.compile(r"^\| `(\*[A-Z][A-Z0-9_]*)` \|")


def read(path):
    with open(path, encoding="utf-8") as f:
        return f.read()


def without_comments(source):
    source = re.sub(r"/\*.*?\*/", "", source, flags=re.S)
    return re.sub(r"//[^\n]*", "", source)


def reader_keywords():
    found = set()
    for directory in READER_DIRS:
        for name in sorted(os.listdir(os.path.join(ROOT, directory))):
            if name.endswith((".cpp", ".h")):
                source = without_comments(read(os.path.join(ROOT, directory, name)))
                found |= set(KEYWORD_LITERAL.findall(source))
    return found


def reference_keywords():
    return {m.group(1) for line in read(REFERENCE).splitlines()
            for m in [TABLE_KEYWORD.match(line)] if m}


def unescape(literal):
    return re.sub(r"\\(.)", r"\1", literal)


def end_report_table():
    """Code -> message lines, as the end report prints them (the message table)."""
    source = without_comments(read(END_REPORT))
    table = {}
    for code, body in re.findall(r"\{(\d+),\s*\{(.*?)\}\}", source, flags=re.S):
        lines, current = [], None
        for literal, comma in re.findall(r'"((?:[^"\\]|\\.)*)"|(,)', body):
            if comma:
                lines.append(current)
                current = None
            else:
                current = (current or "") + unescape(literal)
        if current is not None:
            lines.append(current)
        table[int(code)] = lines
    return table


def reference_codes():
    """Code -> (shell status cell, message cell) of the reference's code table."""
    rows = {}
    for line in read(REFERENCE).splitlines():
        cells = [c.strip() for c in line.strip().strip("|").split("|")]
        if len(cells) >= 3 and cells[0].isdigit() and cells[1].isdigit():
            rows[int(cells[0])] = (int(cells[1]), cells[2])
    return rows


def vim_words():
    """The capital words of the Vim syntax patterns (keywords without their star)."""
    patterns = [line for line in read(VIM_SYNTAX).splitlines() if line.startswith("syn ")]
    return set(re.findall(r"[A-Z][A-Z0-9_]*[A-Z0-9]", "\n".join(patterns)))


def notepad_keywords():
    return set(re.findall(r"\*[A-Z][A-Z0-9_]*", " ".join(
        re.findall(r"<Keywords name=\"(?:Keywords\d|Folders in code1, \w+)\">([^<]*)<",
                   read(NOTEPAD_UDL)))))


class DeckReferenceTest(unittest.TestCase):
    def test_editor_files_know_every_keyword(self):
        readers = reader_keywords()
        self.assertEqual(sorted(notepad_keywords() ^ readers), [], NOTEPAD_UDL)
        words = vim_words()
        for keyword in sorted(readers):
            word = keyword[1:]
            with self.subTest(keyword):
                if word.startswith("FIN_"):
                    self.assertTrue("FIN_" in read(VIM_SYNTAX) and word[4:] in words)
                else:
                    self.assertIn(word, words)

    def test_reference_lists_exactly_the_keywords_the_readers_accept(self):
        readers, reference = reader_keywords(), reference_keywords()
        self.assertGreater(len(readers), 50)  # the extraction itself works
        self.assertEqual(sorted(readers - reference), [], "accepted but not in the reference")
        self.assertEqual(sorted(reference - readers), [], "in the reference but not accepted")

    def test_reference_gives_every_error_code_with_its_message_and_shell_status(self):
        table, rows = end_report_table(), reference_codes()
        self.assertGreater(len(table), 40)
        self.assertEqual(sorted(table), sorted(rows))
        for code, lines in table.items():
            with self.subTest(code=code):
                status, message = rows[code]
                self.assertEqual(status, code % 256)
                self.assertEqual(message, " / ".join(line.strip() for line in lines))


if __name__ == "__main__":
    unittest.main()
