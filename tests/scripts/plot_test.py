#!/usr/bin/python3
"""scripts/zuvan-plot: valid PNG files from JSON results, refusal of other files.

Exits with 77 (skipped for CTest) where matplotlib is absent. With ZUVAN_EXE
set to a program that writes JSON results (--json), a critical-plane results
file is made from a test deck as well.
"""

import json
import os
import struct
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SCRIPT = os.path.join(ROOT, "scripts", "zuvan-plot")
DECKS = os.path.join(ROOT, "tests", "decks")
EXAMPLES = os.path.join(ROOT, "examples")
THROAT = os.path.join(DECKS, "plot-throat.jsonl")  # made by ZuvanFatigue --json
# The line of uw-uniaxial.dat as ZuvanFatigue 1.0.0 wrote it (schema 1: one
# object per plane), its grid thinned to every 12th Theta and Phi to stay small.
OLD_UW = os.path.join(DECKS, "plot-uw-schema1.jsonl")
GRID_KEYS = ("theta_deg", "phi_deg", "origin", "damage", "normal_stress_sum")
CRITICAL_PLANE_PLOTS = ["input", "dsigma-eq", "damage", "curve", "search"]


def as_columns(record):
    """A schema-1 line in the shape of schema 2: the grid as one array per field."""
    record = json.loads(json.dumps(record))
    search = record["result"]["search"]
    search["planes"] = {k: [p[k] for p in search["planes"]] for k in GRID_KEYS}
    record["schema_version"] = 2
    return record


def as_summary(record):
    """A schema-2 line as --json=summary writes it: no grid, no plane stresses."""
    record = json.loads(json.dumps(record))
    del record["result"]["search"]["planes"]
    del record["result"]["plane_stresses"]
    return record

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def run(args):
    return subprocess.run([sys.executable, SCRIPT] + args, capture_output=True)


class ZuvanPlotTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.addCleanup(self.dir.cleanup)

    def assertValidPng(self, path):
        with open(path, "rb") as f:
            data = f.read()
        self.assertEqual(data[:8], PNG_SIGNATURE, path)
        self.assertEqual(data[12:16], b"IHDR", path)
        width, height = struct.unpack(">II", data[16:24])
        self.assertGreater(width, 100)
        self.assertGreater(height, 100)
        self.assertEqual(data[-8:-4], b"IEND", path)
        import matplotlib.image
        self.assertEqual(matplotlib.image.imread(path).shape[:2], (height, width))

    def write(self, name, records):
        path = os.path.join(self.dir.name, name)
        with open(path, "w", encoding="utf-8") as f:
            f.writelines(json.dumps(r) + "\n" for r in records)
        return path

    def plot(self, results, expected_kinds, stderr=b""):
        out = os.path.join(self.dir.name, "plots")
        r = run([results, "-o", out])
        self.assertEqual(r.returncode, 0, r.stderr.decode())
        self.assertEqual(r.stderr, stderr)
        written = r.stdout.decode().split()
        kinds = [k for p in written for k in set(expected_kinds) if p.endswith("-%s.png" % k)]
        self.assertEqual(sorted(kinds), sorted(expected_kinds), written)
        for path in written:
            self.assertValidPng(path)
        return written

    def test_weld_throat_results_give_series_damage_and_origin_plots(self):
        written = self.plot(THROAT, ["input", "dsigma-eq", "damage", "curve", "origins"])
        # Named after the report file first: two studies in one folder never collide.
        self.assertTrue(all(os.path.basename(p).startswith("weld-throat.txt-01-H-GORGE-")
                            for p in written), written)

    def test_a_torn_line_is_skipped_with_a_warning_and_the_others_are_drawn(self):
        with open(THROAT, "rb") as f:
            line = f.readline()
        path = os.path.join(self.dir.name, "torn.jsonl")
        with open(path, "wb") as f:
            f.write(line[: len(line) // 2] + line)  # a fragment without its newline, joined
            f.write(line)
        out = os.path.join(self.dir.name, "plots")
        r = run([path, "-o", out])
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertEqual(r.stderr.decode(), "zuvan-plot: %s, line 1: not ZuvanFatigue JSON "
                         "results (not a JSON line), skipped\n" % path)
        written = [os.path.basename(p) for p in r.stdout.decode().split()]
        self.assertTrue(all(p.startswith("weld-throat.txt-02-") for p in written), written)

    def test_search_map_from_either_grid_shape_and_none_from_a_summary_line(self):
        with open(OLD_UW, encoding="utf-8") as f:
            old = json.loads(f.readline())
        new = as_columns(old)
        summary = as_summary(new)
        self.plot(OLD_UW, CRITICAL_PLANE_PLOTS)
        self.plot(self.write("new.jsonl", [new]), CRITICAL_PLANE_PLOTS)
        # Lines of both shapes and a summary line in one file, as appended by
        # runs before and after the change, with and without --json=summary.
        path = self.write("mixed.jsonl", [old, new, summary])
        written = self.plot(path, CRITICAL_PLANE_PLOTS * 2 + CRITICAL_PLANE_PLOTS[:-1],
                            stderr=("zuvan-plot: %s, line 3: a summary line (--json=summary) "
                                    "holds no search grid; no search map\n" % path).encode())
        self.assertFalse(any("-03-" in p and p.endswith("-search.png") for p in written))

    def test_a_bad_search_grid_is_refused(self):
        with open(OLD_UW, encoding="utf-8") as f:
            old = json.loads(f.readline())
        no_grid = json.loads(json.dumps(old))
        del no_grid["result"]["search"]["planes"]  # schema 1 always has its grid
        ragged = as_columns(old)
        ragged["result"]["search"]["planes"]["damage"].pop()
        objects_as_2 = dict(old, schema_version=2)
        cases = [
            ("schema 1 without grid", no_grid, "no result.search.planes"),
            ("columns of different lengths", ragged, "columns of different lengths"),
            ("objects under schema 2", objects_as_2, "no result.search.planes columns"),
        ]
        for label, record, message in cases:
            with self.subTest(label):
                out = os.path.join(self.dir.name, "plots")
                r = run([self.write("bad.jsonl", [record]), "-o", out])
                self.assertEqual(r.returncode, 1)
                self.assertIn(message, r.stderr.decode())
                self.assertFalse(os.path.exists(out))

    @unittest.skipUnless(os.environ.get("ZUVAN_EXE"), "ZUVAN_EXE not set")
    def test_critical_plane_results_give_the_search_map(self):
        out = os.path.join(self.dir.name, "run")
        os.mkdir(out)
        r = subprocess.run([os.environ["ZUVAN_EXE"], "--json", "-d",
                            os.path.join(DECKS, "uw-uniaxial.dat"), "-c",
                            os.path.join(DECKS, "uw.ctx"), "-o", out], capture_output=True)
        results = os.path.join(out, "uw.txt.jsonl")
        if r.returncode != 0 or not os.path.exists(results):
            self.skipTest("this ZuvanFatigue writes no JSON results (--json)")
        self.plot(results, CRITICAL_PLANE_PLOTS)
        os.remove(results)
        r = subprocess.run([os.environ["ZUVAN_EXE"], "--json=summary", "-d",
                            os.path.join(DECKS, "uw-uniaxial.dat"), "-c",
                            os.path.join(DECKS, "uw.ctx"), "-o", out], capture_output=True)
        self.assertEqual(r.returncode, 0, r.stderr[-400:])
        self.plot(results, CRITICAL_PLANE_PLOTS[:-1], stderr=(
            "zuvan-plot: %s, line 1: a summary line (--json=summary) holds no search grid; "
            "no search map\n" % results).encode())

    @unittest.skipUnless(os.environ.get("ZUVAN_EXE"), "ZUVAN_EXE not set")
    def test_each_example_gives_every_plot_with_its_decks(self):
        out = os.path.join(self.dir.name, "run")
        os.mkdir(out)
        context = os.path.join(EXAMPLES, "context.ctx")
        kinds = {"uwzone-shell": "search", "weld-seam": "search", "weld-throat": "origins"}
        for name, last in kinds.items():
            with self.subTest(name):
                data = os.path.join(EXAMPLES, name + ".data")
                r = subprocess.run([os.environ["ZUVAN_EXE"], "--json", "-d", data, "-c", context,
                                    "-o", out], capture_output=True)
                self.assertEqual(r.returncode, 0, r.stderr[-400:])
                results = os.path.join(out, name + ".txt.jsonl")
                plots = os.path.join(self.dir.name, "plots-" + name)
                r = run([results, "-o", plots, "--data", data, "--context", context])
                self.assertEqual((r.returncode, r.stderr), (0, b""))
                written = r.stdout.decode().split()
                self.assertEqual(sorted(os.path.basename(p) for p in written), sorted(
                    "%s.txt-01-%s-%s.png" % (name, history, kind)
                    for history in [{"uwzone-shell": "H-TRANSITOIRE", "weld-seam": "H-SOUDURE",
                                     "weld-throat": "H-GORGE"}[name]]
                    for kind in ("input", "dsigma-eq", "damage", "curve", last)))
                for path in written:
                    self.assertValidPng(path)

    def test_cycles_that_do_no_damage_are_drawn_apart(self):
        with open(THROAT, encoding="utf-8") as f:
            record = json.loads(f.readline())
        # A second copy of each cycle below the truncation limit (N = 1e9).
        spared = [dict(c, n=1000000000, damage=1e-9) for c in record["result"]["cycles"]]
        record["result"]["cycles"] += spared * 5  # many cycles: the legend stays short
        path = os.path.join(self.dir.name, "spared.jsonl")
        with open(path, "w", encoding="utf-8") as f:
            f.write(json.dumps(record) + "\n")
        written = self.plot(path, ["input", "dsigma-eq", "damage", "curve", "origins"])
        self.assertEqual(len(written), 5)

    def test_help_lists_what_it_draws(self):
        r = run(["--help"])
        self.assertEqual(r.returncode, 0)
        for kind in ("input", "dsigma-eq", "damage", "curve", "search", "origins"):
            self.assertIn(kind, r.stdout.decode())

    def test_files_that_are_not_the_results_are_refused_and_nothing_is_drawn(self):
        with open(THROAT, encoding="utf-8") as f:
            record = json.loads(f.readline())
        other = dict(record, program="Other")
        newer = dict(record, schema_version=99)
        no_cycles = json.loads(json.dumps(record))
        del no_cycles["result"]["cycles"]
        cases = [
            ("empty", "", "no results"),
            ("report text", "\n* Calcul du taux d'endommagement *\n", "line 2: not ZuvanFatigue"),
            ("other program", json.dumps(other) + "\n", "line 1: not ZuvanFatigue JSON results"),
            ("newer layout", json.dumps(newer) + "\n", "schema_version 99 is newer"),
            ("missing key", json.dumps(record) + "\n" + json.dumps(no_cycles) + "\n",
             "line 2: not ZuvanFatigue JSON results (no result.cycles)"),
            ("JSON array", "[1, 2]\n", "line 1: not ZuvanFatigue JSON results"),
        ]
        for label, text, message in cases:
            with self.subTest(label):
                path = os.path.join(self.dir.name, "in.jsonl")
                with open(path, "w", encoding="utf-8") as f:
                    f.write(text)
                out = os.path.join(self.dir.name, "plots")
                r = run([path, "-o", out])
                self.assertEqual(r.returncode, 1)
                self.assertEqual(r.stdout, b"")
                self.assertIn(message, r.stderr.decode())
                self.assertFalse(os.path.exists(out))
        r = run([os.path.join(self.dir.name, "none.jsonl"), "-o", out])
        self.assertEqual(r.returncode, 1)
        self.assertIn("cannot be read", r.stderr.decode())


if __name__ == "__main__":
    try:
        import matplotlib  # noqa: F401
    except ImportError:
        print("skipped: matplotlib is not installed (scripts/setup.sh installs "
              "python3-matplotlib)")
        sys.exit(77)
    unittest.main()
