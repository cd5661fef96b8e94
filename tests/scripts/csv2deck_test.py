#!/usr/bin/python3
"""scripts/zuvan-csv2deck: the block it writes and what it refuses.

Run by CTest; ZUVAN_EXE (the built program) enables the end-to-end case.
"""

import csv
import json
import os
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SCRIPT = os.path.join(ROOT, "scripts", "zuvan-csv2deck")
DECKS = os.path.join(ROOT, "tests", "decks")
EXAMPLES = os.path.join(ROOT, "examples")

COMPONENTS = ("XX", "YY", "ZZ", "XY", "YZ", "XZ")


def header(points=("",), extra=()):
    names = ["name", "pressure", "temperature"]
    for point in points:
        for tensor in ("SIJ", "SIJM", "SIJLM", "SIJLT"):
            names += ["%s%s_%s" % (tensor, point, c) for c in COMPONENTS]
    return list(extra) + names


def row(name, values, count):
    return [name] + [str(v) for v in values] + ["0"] * (count - 1 - len(values))


def table(names, rows, delimiter=","):
    return "".join(delimiter.join(r) + "\n" for r in [names] + rows)


def plain_csv(rows=3, points=("",)):
    names = header(points)
    return names, [row("r%d" % i, [1.5, 20 + i, 100 * i], len(names)) for i in range(rows)]


def run(args, cwd=None):
    return subprocess.run([sys.executable, SCRIPT] + args, capture_output=True, cwd=cwd)


class Csv2DeckTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.addCleanup(self.dir.cleanup)

    def write(self, name, text):
        path = os.path.join(self.dir.name, name)
        with open(path, "w", encoding="utf-8", newline="") as f:
            f.write(text)
        return path

    def test_finite_element_order_gives_the_hand_written_block(self):
        # Columns in finite-element order, mixed case, YX/ZY/ZX and 11..13
        # names, an ignored column first (named on standard error), no name
        # column (t0, t1, ...).
        path = os.path.join(DECKS, "csv-fe-order.csv")
        r = run([path, "--history", "H-CSV", "--uwzone", "ZONE 1"])
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertEqual(r.stderr.decode(), "zuvan-csv2deck: %s: ignored column 1 (step)\n" % path)
        with open(os.path.join(DECKS, "csv-fe-order.blk"), "rb") as f:
            self.assertEqual(r.stdout, f.read())

    def test_output_file_holds_what_standard_output_would(self):
        csv_path = os.path.join(DECKS, "csv-fe-order.csv")
        out = os.path.join(self.dir.name, "h.blk")
        r = run([csv_path, "--history", "H-CSV", "--uwzone", "ZONE 1", "-o", out])
        self.assertEqual((r.returncode, r.stdout), (0, b""))
        self.assertEqual(r.stderr.decode(), "zuvan-csv2deck: %s: ignored column 1 (step)\n"
                         % csv_path)
        with open(out, "rb") as f, open(os.path.join(DECKS, "csv-fe-order.blk"), "rb") as g:
            self.assertEqual(f.read(), g.read())

    def test_zone_option_and_points_choose_the_cards(self):
        cases = [
            # zone option, points, zone card, record header and end cards, first tensor cards
            ("--seam", ("",), "*HISTORIQUE_CORDON", "*RELEVE ", "*FIN_RELEVE", ["*SIJ "]),
            ("--throat", ("A", "B"), "*HISTORIQUE_GORGE", "*RELEVELIN ", "*FIN_RELEVELIN",
             ["*SIJA ", "*SIJMA ", "*SIJLMA ", "*SIJLTA ", "*SIJB "]),
            ("--uwzone", ("A", "B", "C"), "*HISTORIQUE_UWZONE", "*RELEVEQUAD ",
             "*FIN_RELEVEQUAD", ["*SIJA ", "*SIJMA ", "*SIJLMA ", "*SIJLTA ", "*SIJB "]),
        ]
        for option, points, zone_card, opening, closing, first in cases:
            with self.subTest(option=option, points=points):
                names, rows = plain_csv(points=points)
                path = self.write("h.csv", table(names, rows))
                r = run([path, "--history", "H", option, "Z"])
                self.assertEqual(r.returncode, 0, r.stderr)
                lines = r.stdout.decode().splitlines()
                self.assertEqual(lines[0], "*HISTORIQUE".ljust(20) + "H")
                self.assertEqual(lines[1], zone_card.ljust(20) + "Z")
                self.assertTrue(lines[2].startswith(opening))
                self.assertEqual(lines[3], "*PARAMETRE".ljust(20) + "1.5 20.0")
                tensors = 4 * len(points)
                for expected, line in zip(first, lines[4:]):
                    self.assertTrue(line.startswith(expected), line)
                self.assertEqual(lines[4 + tensors], closing)
                self.assertEqual(sum(line.startswith(opening) for line in lines), 3)
                self.assertEqual(lines[-1], "*FIN_HISTORIQUE")

    def test_map_renames_columns(self):
        names, rows = plain_csv()
        names[names.index("SIJ_XX")] = "S11 total"
        path = self.write("h.csv", table(names, rows))
        mapping = self.write("map.csv", "# solver names\nS11 total,SIJ_XX\n")
        r = run([path, "--history", "H", "--uwzone", "Z", "--map", mapping])
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertIn(b"*SIJ                100.0 ", r.stdout)
        bad = self.write("bad.csv", "S11 total,SIJ_XXX\n")
        r = run([path, "--history", "H", "--uwzone", "Z", "--map", bad])
        self.assertEqual((r.returncode, r.stdout), (1, b""))
        self.assertIn("bad.csv, row 1, column 2: 'SIJ_XXX' is not a column", r.stderr.decode())

    def test_refusals_name_the_row_and_column_and_write_nothing(self):
        names, rows = plain_csv()
        n = len(names)
        col = {name: i for i, name in enumerate(names)}

        def with_value(name, text, at=1):
            changed = [list(r) for r in rows]
            changed[at][col[name]] = text
            return table(names, changed)

        renamed = list(names)
        renamed[col["SIJ_XZ"]] = "SIJ_ZX"
        renamed[col["SIJ_YZ"]] = "SIJ_XZ"
        cases = [
            ("missing column", table(names[:-1], [r[:-1] for r in rows]),
             "row 1: missing column SIJLT_XZ"),
            ("duplicate column", table(renamed, rows),
             "row 1, column %d (SIJ_ZX): duplicate of column %d (SIJ_XZ)"
             % (col["SIJ_XZ"] + 1, col["SIJ_YZ"] + 1)),
            ("too few fields", table(names, [rows[0], rows[1][:-1], rows[2]]),
             "row 3: %d fields, the header has %d" % (n - 1, n)),
            ("too many fields", table(names, [rows[0], rows[1], rows[2] + ["7"]]),
             "row 4: %d fields, the header has %d" % (n + 1, n)),
            ("not a number", with_value("SIJM_ZZ", "abc"),
             "row 3, column %d (SIJM_ZZ): 'abc' is not a number" % (col["SIJM_ZZ"] + 1)),
            ("empty field", with_value("pressure", ""),
             "row 3, column 2 (pressure): '' is not a number"),
            ("partly a number", with_value("SIJ_XY", "12MPa"),
             "row 3, column %d (SIJ_XY): '12MPa' is not a number" % (col["SIJ_XY"] + 1)),
            ("digit separator", with_value("SIJ_XY", "1_000"), "'1_000' is not a number"),
            ("not finite", with_value("SIJ_XY", "nan"), "'nan' is not a number"),
            ("overflow", with_value("SIJ_XY", "1e999"), "'1e999' is out of range"),
            ("comma decimal", table(names, [r[:] for r in rows[:1]] +
                                    [rows[1][:col["SIJ_YY"]] + ["2,5"] +
                                     rows[1][col["SIJ_YY"] + 1:], rows[2]], ";"),
             "row 3, column %d (SIJ_YY): '2,5' has a decimal comma" % (col["SIJ_YY"] + 1)),
            ("two rows", table(names, rows[:2]), "2 data rows; a history needs at least 3"),
            ("header only", table(names, []), "0 data rows"),
            ("empty file", "", "row 1: no header row"),
            ("unknown tensor column", table(names + ["SIJ_XXX"], [r + ["0"] for r in rows]),
             "row 1, column %d (SIJ_XXX): not a tensor column" % (n + 1)),
            ("point A alone", table(header(("A",)), [row("a", [], len(header(("A",))))] * 3),
             "row 1: stress columns for points A"),
            ("no stress column", "name,pressure,temperature\nx,0,0\n", "row 1: no stress column"),
            ("name on two lines", with_value("name", '"a\nb"'),
             "column 1 (name): a name on more than one line"),
        ]
        for label, text, message in cases:
            with self.subTest(label):
                path = self.write("in.csv", text)
                out = os.path.join(self.dir.name, "out.blk")
                kept = os.path.join(self.dir.name, "kept.blk")
                with open(kept, "w") as f:
                    f.write("earlier block\n")
                for target in ([], ["-o", out], ["-o", kept]):
                    r = run([path, "--history", "H", "--uwzone", "Z"] + target)
                    self.assertEqual(r.returncode, 1, r.stderr)
                    self.assertEqual(r.stdout, b"")
                    self.assertIn(message, r.stderr.decode())
                    self.assertIn(path, r.stderr.decode())
                self.assertFalse(os.path.exists(out))
                with open(kept) as f:
                    self.assertEqual(f.read(), "earlier block\n")
                self.assertEqual(sorted(os.listdir(self.dir.name)), ["in.csv", "kept.blk"])

    def test_names_unfit_for_a_header_card_are_refused(self):
        names, rows = plain_csv()
        path = self.write("h.csv", table(names, rows))
        cases = [
            (["--history", " ", "--uwzone", "Z"], "--history: a blank name"),
            (["--history", "H" * 181, "--uwzone", "Z"], "--history: a name longer than 180"),
            (["--history", "H", "--seam", "a\nb"], "--seam: a name on more than one line"),
        ]
        for args, message in cases:
            with self.subTest(message):
                r = run([path] + args)
                self.assertEqual((r.returncode, r.stdout), (1, b""))
                self.assertIn(message, r.stderr.decode())

    def mixed_csv(self, locations=(("N1", 3), ("S1", 4), ("T1", 3)), extra=("time",)):
        """Rows of several locations interleaved, as a solver exports them."""
        names = header(extra=("node",) + tuple(extra))
        rows = []
        for step in range(max(count for _, count in locations)):
            for location, count in locations:
                if step < count:
                    rows.append([location] + [str(step)] * len(extra) + row("%s-r%d" % (location, step),
                                [1.0, 20 + step, 10 * step], len(names) - 1 - len(extra)))
        return self.write("mixed.csv", table(names, rows))

    def test_by_writes_one_history_per_location_with_its_zone(self):
        path = self.mixed_csv()
        zones = self.write("zones.csv", "location,kind,zone\nT1,throat,CORDON-2\n"
                                        "N1,uwzone,VIROLE-1-INT\nS1,seam,CORDON-1\n")
        r = run([path, "--by", "node", "--zones", zones, "--requests", "both"])
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertEqual(r.stderr.decode(), "zuvan-csv2deck: %s: ignored column 2 (time)\n" % path)
        lines = r.stdout.decode().splitlines()
        cards = [line for line in lines if line.startswith(("*HISTORIQUE", "*RELEVE ",
                                                            "*POINT", "*FICHIER", "*RAIN",
                                                            "*RESERV"))]
        expected = []
        for location, zone_card, zone, count in (
                ("N1", "*HISTORIQUE_UWZONE", "VIROLE-1-INT", 3),
                ("S1", "*HISTORIQUE_CORDON", "CORDON-1", 4),
                ("T1", "*HISTORIQUE_GORGE", "CORDON-2", 3)):
            expected += ["*HISTORIQUE".ljust(20) + location, zone_card.ljust(20) + zone]
            expected += ["*RELEVE".ljust(20) + "%s-r%d" % (location, i) for i in range(count)]
            for method in ("*RAINFLOW", "*RESERVOIR"):
                expected += ["*POINT_HISTORIQUE".ljust(20) + location,
                             "*FICHIER_SORTIE".ljust(20) + location + ".txt", method]
        self.assertEqual(cards, expected)
        # Each location's records keep the order of their rows.
        self.assertEqual(lines.count("*FIN_HISTORIQUE"), 3)
        self.assertEqual(lines.count("*DOMMAGE"), 6)

    def test_one_zone_option_applies_to_every_location(self):
        path = self.mixed_csv(extra=())
        r = run([path, "--by", "NODE", "--seam", "CORDON-1"])
        self.assertEqual((r.returncode, r.stderr), (0, b""))
        lines = r.stdout.decode().splitlines()
        self.assertEqual([l for l in lines if l.startswith("*HISTORIQUE")],
                         ["*HISTORIQUE         N1", "*HISTORIQUE_CORDON  CORDON-1",
                          "*HISTORIQUE         S1", "*HISTORIQUE_CORDON  CORDON-1",
                          "*HISTORIQUE         T1", "*HISTORIQUE_CORDON  CORDON-1"])
        self.assertNotIn("*DOMMAGE", lines)

    def test_location_refusals_name_the_file_row_and_value(self):
        def zones_file(text):
            return self.write("zones.csv", text)

        good_zones = "N1,uwzone,Z1\nS1,seam,C1\nT1,throat,C1\n"
        cases = [
            # label, locations of the CSV, extra arguments, message
            ("location column without --by", None, ["--history", "H", "--uwzone", "Z"],
             "row 1, column 1 (node): a location column; give --by node"),
            ("no such --by column", None, ["--by", "scl", "--uwzone", "Z"],
             "row 1: no column scl (--by)"),
            ("too few rows", (("N1", 3), ("S1", 2)), ["--by", "node", "--uwzone", "Z"],
             "location 'S1': 2 data rows (rows 3, 5); a history needs at least 3"),
            ("name too long", (("N" * 181, 3),), ["--by", "node", "--uwzone", "Z"],
             "row 2, column 1 (node): '%s': a name longer than 180 bytes" % ("N" * 181)),
            ("blank name", (("  ", 3),), ["--by", "node", "--uwzone", "Z"],
             "row 2, column 1 (node): '  ': a blank name"),
            ("slash in a report name", (("a/b", 3),),
             ["--by", "node", "--uwzone", "Z", "--requests", "rainflow"],
             "'a/b': a name with a '/' cannot name a report file"),
            ("control byte in a report name", (("a\tb", 3),),
             ["--by", "node", "--uwzone", "Z", "--requests", "rainflow"],
             "a name with a control character cannot name a report file"),
            ("location missing from the zones file", None,
             ["--by", "node", "--zones", ("zones", "N1,uwzone,Z1\nS1,seam,C1\n")],
             "row 4, column 1 (node): location 'T1' (row 4) has no zone in the zones file"),
            ("unknown kind", None,
             ["--by", "node", "--zones", ("zones", good_zones.replace("seam", "weld"))],
             "zones.csv, row 2, column 2: 'weld' is not a kind (uwzone, seam, throat)"),
            ("location given twice", None,
             ["--by", "node", "--zones", ("zones", good_zones + "N1,seam,C1\n")],
             "zones.csv, row 4, column 1: 'N1' is given a zone on row 1 already"),
            ("short zones row", None, ["--by", "node", "--zones", ("zones", "N1,uwzone\n")],
             "zones.csv, row 1: 2 fields; a zones row is location,kind,zone"),
            ("blank zone", None, ["--by", "node", "--zones", ("zones", "N1,seam, \n")],
             "zones.csv, row 1, column 3: ' ': a blank name"),
        ]
        for label, locations, args, message in cases:
            with self.subTest(label):
                path = self.mixed_csv(locations) if locations else self.mixed_csv()
                args = [zones_file(a[1]) if isinstance(a, tuple) else a for a in args]
                out = os.path.join(self.dir.name, "out.blk")
                r = run([path] + args + ["-o", out])
                self.assertEqual((r.returncode, r.stdout), (1, b""), r.stderr)
                self.assertIn(message, r.stderr.decode())
                self.assertFalse(os.path.exists(out))

    def test_zones_without_by_is_a_usage_error(self):
        path = self.mixed_csv()
        zones = self.write("zones.csv", "N1,uwzone,Z1\n")
        r = run([path, "--history", "H", "--zones", zones])
        self.assertEqual((r.returncode, r.stdout), (2, b""))
        self.assertIn("--zones needs --by", r.stderr.decode())

    def test_units_are_converted_to_the_decks(self):
        names, rows = plain_csv()
        col = {name: i for i, name in enumerate(names)}
        cases = [
            # --units, column, value in the CSV, its text in the deck (hand conversion)
            ("stress=kPa", "SIJ_XX", "152000", "152.0"),
            ("stress=Pa", "SIJ_XX", "1.52e8", "152.0"),
            ("stress=GPa", "SIJLT_YY", "-0.18", "-180.0"),
            ("stress=psi", "SIJM_XY", "1000", "6.894757293168"),  # 1 psi = 6894.757293168 Pa
            ("stress=ksi", "SIJ_XZ", "0.5", "3.447378646584"),
            ("pressure=bar", "pressure", "30", "3.0"),
            ("pressure=kPa", "pressure", "2500", "2.5"),
            ("pressure=psi", "pressure", "100", "0.6894757293168"),
            ("temperature=K", "temperature", "293.15", "20.0"),
            ("temperature=K", "temperature", "0", "-273.15"),
            ("stress=MPa,pressure=MPa,temperature=C", "SIJ_XX", "152", "152.0"),
        ]
        for units, column, value, expected in cases:
            with self.subTest(units=units, value=value):
                changed = [list(r) for r in rows]
                changed[0][col[column]] = value
                path = self.write("u.csv", table(names, changed))
                r = run([path, "--history", "H", "--uwzone", "Z", "--units", units])
                self.assertEqual(r.returncode, 0, r.stderr)
                lines = r.stdout.decode().splitlines()
                self.assertTrue(lines[0].startswith("/ Converted from the CSV's units: "), lines[0])
                self.assertEqual(lines[1], "*HISTORIQUE".ljust(20) + "H")
                first = lines[3:9]
                if column in ("pressure", "temperature"):
                    values = first[1][20:].split()
                    self.assertEqual(values[0 if column == "pressure" else 1], expected)
                else:
                    tensor, component = column.split("_")
                    card = [l for l in first if l.startswith("*%s " % tensor)][0]
                    order = ("XX", "XY", "XZ", "YY", "YZ", "ZZ")  # the deck's order
                    self.assertEqual(card[20:].split()[order.index(component)], expected)
        # Without --units the block is as before: no comment line.
        r = run([self.write("u.csv", table(names, rows)), "--history", "H", "--uwzone", "Z"])
        self.assertTrue(r.stdout.startswith(b"*HISTORIQUE "))

    def test_an_unknown_unit_is_refused_with_the_known_ones(self):
        names, rows = plain_csv()
        path = self.write("u.csv", table(names, rows))
        cases = [
            ("stress=bar", "'bar' is not a unit of stress; the known ones are "
                           "MPa, kPa, Pa, GPa, psi, ksi"),
            ("pressure=atm", "'atm' is not a unit of pressure; the known ones are "
                             "MPa, bar, kPa, psi"),
            ("temperature=F", "'F' is not a unit of temperature; the known ones are C, K"),
            ("strain=1", "'strain=1' is not quantity=unit; the quantities are "
                         "stress, pressure, temperature"),
            ("MPa", "'MPa' is not quantity=unit"),
        ]
        for units, message in cases:
            with self.subTest(units):
                r = run([path, "--history", "H", "--uwzone", "Z", "--units", units])
                self.assertEqual((r.returncode, r.stdout), (2, b""))
                self.assertIn(message, r.stderr.decode())

    @unittest.skipUnless(os.environ.get("ZUVAN_EXE"), "ZUVAN_EXE not set")
    def test_pressure_in_bar_gives_the_damage_of_the_mpa_deck(self):
        # The example's CSV with its pressures in bar (x 10), its stresses in kPa
        # (x 1000) and its temperatures in K: converted, the report is the MPa one.
        with open(os.path.join(EXAMPLES, "shell-transient.csv"), newline="") as f:
            rows = list(csv.reader(f))
        head = rows[0]
        for r in rows[1:]:
            for i, name in enumerate(head):
                if name == "pressure":
                    r[i] = repr(float(r[i]) * 10)
                elif name == "temperature":
                    r[i] = repr(float(r[i]) + 273.15)
                elif name.startswith("SIJ"):
                    r[i] = str(int(r[i]) * 1000)
        path = os.path.join(self.dir.name, "bar.csv")
        with open(path, "w", newline="") as f:
            csv.writer(f, lineterminator="\n").writerows(rows)
        exe = os.environ["ZUVAN_EXE"]
        with open(os.path.join(EXAMPLES, "shell-transient.head"), "rb") as f:
            head_deck = f.read()
        with open(os.path.join(EXAMPLES, "shell-transient.tail"), "rb") as f:
            tail_deck = f.read()
        reports = []
        for label, csv_path, units in (("mpa", os.path.join(EXAMPLES, "shell-transient.csv"), []),
                                       ("bar", path, ["--units",
                                                      "pressure=bar,stress=kPa,temperature=K"])):
            block = run([csv_path, "--history", "H-TRANSITOIRE", "--uwzone", "VIROLE-1-INT"]
                        + units)
            self.assertEqual(block.returncode, 0, block.stderr)
            out = os.path.join(self.dir.name, label)
            os.mkdir(out)
            deck = os.path.join(out, "deck.data")
            with open(deck, "wb") as f:
                f.write(head_deck + block.stdout + tail_deck)
            r = subprocess.run([exe, "--json", "-d", deck, "-c", os.path.join(EXAMPLES, "context.ctx"),
                                "-o", out], capture_output=True, env=dict(os.environ, LC_ALL="C"))
            self.assertEqual(r.returncode, 0, r.stderr[-400:])
            with open(os.path.join(out, "shell-transient.txt"), "rb") as f:
                reports.append(f.read())
            with open(os.path.join(out, "shell-transient.txt.jsonl"), "rb") as f:
                reports.append(json.loads(f.read())["result"]["total_damage"])
        self.assertEqual(reports[0], reports[2])
        self.assertEqual(reports[1], reports[3])
        self.assertGreater(reports[1], 0)

    @unittest.skipUnless(os.environ.get("ZUVAN_EXE"), "ZUVAN_EXE not set")
    def test_example_csv_gives_the_report_of_the_hand_written_example(self):
        exe = os.environ["ZUVAN_EXE"]
        block = run([os.path.join(EXAMPLES, "shell-transient.csv"), "--history",
                     "H-TRANSITOIRE", "--uwzone", "VIROLE-1-INT"])
        self.assertEqual(block.returncode, 0, block.stderr)
        with open(os.path.join(EXAMPLES, "shell-transient.head"), "rb") as f:
            head = f.read()
        with open(os.path.join(EXAMPLES, "shell-transient.tail"), "rb") as f:
            tail = f.read()
        deck = os.path.join(self.dir.name, "shell-transient.data")
        with open(deck, "wb") as f:
            f.write(head + block.stdout + tail)
        context = os.path.join(EXAMPLES, "context.ctx")
        env = dict(os.environ, LANG="C", LC_ALL="C")
        for data in (deck, os.path.join(EXAMPLES, "uwzone-shell.data")):
            r = subprocess.run([exe, "-d", data, "-c", context, "-o", self.dir.name],
                               capture_output=True, env=env)
            self.assertEqual(r.returncode, 0, r.stderr[-400:])
        with open(os.path.join(self.dir.name, "shell-transient.txt"), "rb") as f:
            imported = f.read()
        with open(os.path.join(self.dir.name, "uwzone-shell.txt"), "rb") as f:
            self.assertEqual(imported, f.read())


if __name__ == "__main__":
    unittest.main()
