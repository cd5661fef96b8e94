#!/usr/bin/python3
"""scripts/zuvan-study: merged results equal to one plain run, failures kept apart, bad input.

Run by CTest with ZUVAN_EXE, the built program (with --check and --split).
Skips (status 77) when GNU parallel is not installed: scripts/setup.sh installs it.
"""

import csv
import hashlib
import json
import os
import pty
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
STUDY = os.path.join(ROOT, "scripts", "zuvan-study")
CSV2DECK = os.path.join(ROOT, "scripts", "zuvan-csv2deck")
EXAMPLES = os.path.join(ROOT, "examples")
CONTEXT = os.path.join(EXAMPLES, "context.ctx")
EXE = os.environ.get("ZUVAN_EXE", "")
ENV = dict(os.environ, LANG="C", LC_ALL="C", ZUVAN_EXE=EXE)

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"
FAILING_480 = ("Matériau - la température d'entrée sort de l'intervalle des températures "
               "fournies")


def vessel_deck(path, requests="both"):
    """The bundled whole-component example: 13 locations, requests as asked."""
    blocks = subprocess.run(
        [sys.executable, CSV2DECK, os.path.join(EXAMPLES, "vessel-locations.csv"), "--by", "node",
         "--zones", os.path.join(EXAMPLES, "vessel-zones.csv"), "--requests", requests],
        capture_output=True, check=True).stdout
    with open(os.path.join(EXAMPLES, "vessel.data"), "rb") as f:
        structure = f.read()
    with open(path, "wb") as f:
        f.write(structure + b"\n" + blocks)
    return path


def plain_run(data, outdir, json_wanted=True):
    os.makedirs(outdir, exist_ok=True)
    args = [EXE] + (["--json"] if json_wanted else []) + ["-d", data, "-c", CONTEXT, "-o", outdir]
    r = subprocess.run(args, capture_output=True, env=ENV)
    assert r.returncode == 0, r.stderr[-600:]


def study(args, **kw):
    return subprocess.run([sys.executable, STUDY] + args, capture_output=True, env=ENV, **kw)


def files(folder):
    """Name -> bytes of the plain files of a folder (not its sub-folders)."""
    result = {}
    for name in sorted(os.listdir(folder)):
        path = os.path.join(folder, name)
        if os.path.isfile(path):
            with open(path, "rb") as f:
                result[name] = f.read()
    return result


def split_run(line):
    """(the JSON line without its "run" object, text for text; that object)."""
    text = line.decode("utf-8")
    start = text.index(',"run":') + len(',"run":')
    run, end = json.JSONDecoder().raw_decode(text, start)
    return text[:start - len(',"run":')] + text[end:], run


def read_csv(path):
    with open(path, newline="", encoding="utf-8") as f:
        return list(csv.DictReader(f))


class StudyTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.addCleanup(self.dir.cleanup)

    def path(self, *names):
        return os.path.join(self.dir.name, *names)

    def assertSameAsPlainRun(self, study_out, plain_out, study_data=None):
        """Every report byte for byte, every .jsonl line equal apart from the time and threads
        of its "run" object (which names the study's decks, as the plain run does: study_data
        when the plain run read another data deck); nothing else but the summary."""
        merged, plain = files(study_out), files(plain_out)
        summary = {"summary.csv", "locations.csv", "summary.png"}
        self.assertEqual(sorted(set(merged) - summary), sorted(plain))
        for name, data in plain.items():
            with self.subTest(file=name):
                if name.endswith(".jsonl"):
                    self.assertEqual([json.loads(l)["result"] for l in merged[name].splitlines()],
                                     [json.loads(l)["result"] for l in data.splitlines()])
                    pairs = [(split_run(m), split_run(p)) for m, p in
                             zip(merged[name].splitlines(), data.splitlines())]
                    self.assertEqual(len(pairs), len(data.splitlines()))
                    self.assertEqual(len(merged[name].splitlines()), len(pairs))
                    for (m_line, m_run), (p_line, p_run) in pairs:
                        self.assertEqual(m_line, p_line)
                        for key in ("time", "threads"):
                            del m_run[key], p_run[key]
                        if study_data:
                            with open(study_data, "rb") as f:
                                self.assertEqual(m_run.pop("data"), {
                                    "path": study_data,
                                    "sha256": hashlib.sha256(f.read()).hexdigest()})
                            del p_run["data"]
                        self.assertEqual(m_run, p_run)
                    continue
                self.assertEqual(merged[name], data)
        self.assertFalse([n for n in os.listdir(study_out) if n.startswith(".")],
                         "temporaries or the work folder left in OUTDIR")

    def test_merged_output_equals_a_plain_run_locally_and_over_hosts(self):
        data = vessel_deck(self.path("vessel.data"))  # 26 requests, two per report file
        plain_run(data, self.path("plain"))
        hosts = self.path("hosts")
        with open(hosts, "w") as f:
            f.write(":\n")  # GNU parallel's name of this machine, as a host of the list
        for label, extra in (("local", ["-j", "2"]), ("hosts", ["--sshloginfile", hosts])):
            with self.subTest(label):
                out = self.path("study-" + label)
                r = study(["-d", data, "-c", CONTEXT, "-o", out, "--json",
                           "--occurrences", os.path.join(EXAMPLES, "vessel-occurrences.csv")]
                          + extra)
                self.assertEqual(r.returncode, 0, r.stderr.decode())
                # The three throats' totals lack their thermal part: warned, and run.
                self.assertIn("zuvan-study: 3 plausibility warnings on the decks",
                              r.stderr.decode())
                self.assertSameAsPlainRun(out, self.path("plain"))
                rows = read_csv(os.path.join(out, "summary.csv"))
                self.assertEqual([r["index"] for r in rows], [str(i) for i in range(1, 27)])
                self.assertEqual({r["code"] for r in rows}, {"0"})
                # Usage is occurrences x damage, the damage that of the JSON line.
                first = json.loads(files(self.path("plain"))["V1-N1042.txt.jsonl"]
                                   .splitlines()[0])
                self.assertEqual((rows[0]["history"], rows[0]["analysis"], rows[0]["counting"]),
                                 ("V1-N1042", "uwzone", "rainflow"))
                self.assertEqual(float(rows[0]["damage"]), first["result"]["total_damage"])
                self.assertEqual(float(rows[0]["usage"]),
                                 8000 * first["result"]["total_damage"])
                self.assertEqual(rows[0]["theta"], str(first["result"]["critical_plane"]
                                                       ["theta_deg"]))
                throat = [r for r in rows if r["analysis"] == "throat"]
                self.assertEqual(len(throat), 6)
                self.assertTrue(all(r["occurrences"] == "12000" and r["theta"] == ""
                                    and r["n0"] != "" for r in throat))
                ranked = read_csv(os.path.join(out, "locations.csv"))
                self.assertEqual(len(ranked), 13)
                usages = [float(r["usage"]) for r in ranked]
                self.assertEqual(usages, sorted(usages, reverse=True))
                for entry in ranked:
                    summed = sum(float(r["usage"]) for r in rows
                                 if r["history"] == entry["history"])
                    self.assertAlmostEqual(float(entry["usage"]), summed, delta=1e-15)
                    self.assertEqual((entry["requests"], entry["failed"]), ("2", "0"))
                lines = r.stdout.decode().splitlines()
                self.assertEqual(lines[0], "Highest usage, 10 of 13 locations; "
                                           "0 of 26 requests failed")
                self.assertEqual(len(lines), 12)
                self.assertIn(ranked[0]["history"], lines[2])
                with open(os.path.join(out, "summary.png"), "rb") as f:
                    self.assertEqual(f.read(8), PNG_SIGNATURE)
                # Redirected: no progress line.
                self.assertNotIn(b"requests done", r.stderr)

    def test_a_failing_request_in_the_middle_leaves_the_others_whole(self):
        data = vessel_deck(self.path("vessel.data"), "rainflow")
        with open(data, "rb") as f:
            deck = f.read()
        # The seventh location's steady service is at 400 °C, above its material's
        # yield table: its request fails with 480. A deck without that request
        # gives the others' reports.
        start = deck.index(b"*HISTORIQUE         SL-N4410")
        end = deck.index(b"*FIN_HISTORIQUE", start)
        self.assertEqual(deck[start:end].count(b" 200.0\n"), 1)
        with open(data, "wb") as f:
            f.write(deck[:start] + deck[start:end].replace(b" 200.0\n", b" 400.0\n")
                    + deck[end:])
        request = deck.index(b"*DOMMAGE\n*POINT_HISTORIQUE   SL-N4410\n")
        request_end = deck.index(b"*FIN_DOMMAGE\n", request) + len(b"*FIN_DOMMAGE\n")
        without = self.path("without.data")
        with open(without, "wb") as f:
            f.write(deck[:request] + deck[request_end:])
        plain_run(without, self.path("plain"))
        out = self.path("study")
        r = study(["-d", data, "-c", CONTEXT, "-o", out, "--json", "-j", "2"])
        self.assertEqual(r.returncode, 1, r.stderr.decode())
        failed_dir = os.path.join(out, "failed")
        self.assertEqual(os.listdir(failed_dir), ["7"])
        self.assertSameAsPlainRun(out, self.path("plain"), study_data=data)
        with open(os.path.join(failed_dir, "7", "console"), "rb") as f:
            self.assertIn(b" Code d'erreur : 480 ", f.read())
        self.assertTrue(os.path.exists(os.path.join(failed_dir, "7", "SL-N4410.txt")))
        rows = read_csv(os.path.join(out, "summary.csv"))
        self.assertEqual([(r["code"], r["ending"]) for r in rows if r["code"] != "0"],
                         [("480", "failed")])
        self.assertEqual(rows[6]["message"], FAILING_480)
        self.assertEqual((rows[6]["history"], rows[6]["damage"], rows[6]["usage"]),
                         ("SL-N4410", "", ""))
        self.assertEqual(len([r for r in rows if r["code"] == "0"]), 12)
        ranked = {r["history"]: r for r in read_csv(os.path.join(out, "locations.csv"))}
        self.assertEqual(ranked["SL-N4410"]["failed"], "1")
        self.assertIn("1 of 13 requests failed", r.stdout.decode())
        self.assertIn("request 7 (SL-N4410) failed with code 480: " + FAILING_480,
                      r.stderr.decode())

    def test_a_torn_json_line_is_skipped_and_its_request_counted_failed(self):
        data = vessel_deck(self.path("vessel.data"), "rainflow")
        # A program whose third request leaves its JSON line torn (as a write that
        # failed midway did before appends were made whole).
        tearing = self.path("tearing-zuvan")
        # bash for ${@: -1}: the output folder is the last argument.
        with open(tearing, "w") as f:
            f.write("#!/bin/bash\n%s \"$@\"\nstatus=$?\n"
                    "if [[ \"$*\" == */3.data* ]]; then\n"
                    "    for j in \"${@: -1}\"/*.jsonl; do truncate -s 100 \"$j\"; done\n"
                    "fi\nexit $status\n" % EXE)
        os.chmod(tearing, 0o755)
        out = self.path("study")
        r = subprocess.run([sys.executable, STUDY, "-d", data, "-c", CONTEXT, "-o", out, "--json"],
                           capture_output=True, env=dict(ENV, ZUVAN_EXE=tearing))
        self.assertEqual(r.returncode, 1, r.stderr.decode())
        self.assertIn("zuvan-study: request 3: V1-N1320.txt.jsonl, line 1: not a JSON line "
                      "(torn?), skipped", r.stderr.decode())
        rows = read_csv(os.path.join(out, "summary.csv"))
        self.assertEqual([(r["index"], r["message"]) for r in rows if r["code"] != "0"],
                         [("3", "ended normally without a whole JSON line")])
        self.assertEqual(os.listdir(os.path.join(out, "failed")), ["3"])
        self.assertFalse(os.path.exists(os.path.join(out, "V1-N1320.txt.jsonl")))

    def test_bad_input_is_refused_before_anything_runs(self):
        data = vessel_deck(self.path("vessel.data"), "rainflow")
        with open(data, "rb") as f:
            deck = f.read()
        typo = self.path("typo.data")
        with open(typo, "wb") as f:
            f.write(deck.replace(b"*HISTORIQUE_CORDON  SOUDURE-CIRC",
                                 b"*HISTORIQUE_CORDON  SOUDURE-CIRK", 1))

        def occurrences(text):
            path = self.path("occ-%d.csv" % len(os.listdir(self.dir.name)))
            with open(path, "w") as f:
                f.write(text)
            return ["--occurrences", path]

        cases = [
            # label, arguments, status, message on standard error
            ("unknown history", occurrences("history,occurrences\nV1-N1042,10\nV9-N0,5\n"), 1,
             "csv, line 3: 'V9-N0' is not a history of the deck's damage requests"),
            ("not a number", occurrences("V1-N1042,10\nV1-N1187,ten\n"), 1,
             "csv, line 2: 'ten' is not a number of occurrences"),
            ("negative", occurrences("V1-N1042,-1\n"), 1,
             "csv, line 1: '-1' is not a number of occurrences"),
            ("given twice", occurrences("V1-N1042,1\nV1-N1042,2\n"), 1,
             "csv, line 2: 'V1-N1042' is given its occurrences twice"),
            ("three fields", occurrences("V1-N1042,1,2\n"), 1,
             "csv, line 1: 3 fields; a line is history,occurrences"),
            ("missing file", ["--occurrences", self.path("none.csv")], 1, "none.csv: cannot be read"),
            ("zone typo", ["-d", typo], 200, "Code d'erreur : 200"),
            # Where the check found it, as --check says it.
            ("zone typo named", ["-d", typo], 200,
             ": *FIN_HISTORIQUE: Mauvaise définition d'un historique de contraintes : "
             "cordon absent des données : SOUDURE-CIRK, bloc *HISTORIQUE "),
            ("no data deck", ["-d", self.path("none.data")], 240, "Code d'erreur : 240"),
            ("slurm with -j", ["--engine", "slurm", "-j", "2"], 2, "-j and --sshloginfile"),
            ("no such host file", ["--sshloginfile", self.path("none")], 1, "cannot be read"),
        ]
        for label, args, status, message in cases:
            with self.subTest(label):
                out = self.path("out-" + label.replace(" ", "-"))
                base = ["-c", CONTEXT, "-o", out]
                if "-d" not in args:
                    base += ["-d", data]
                r = study(base + args)
                console = r.stderr.decode("iso-8859-15")
                self.assertEqual(r.returncode, status, console)
                self.assertIn(message, console)
                self.assertEqual(r.stdout, b"")
                self.assertFalse(os.path.exists(out), "something ran")

    def test_interrupted_study_merges_nothing(self):
        data = vessel_deck(self.path("vessel.data"), "rainflow")
        # A program whose requests take long: the study is interrupted while they run.
        slow = self.path("slow-zuvan")
        with open(slow, "w") as f:
            f.write("#!/bin/sh\ncase \"$1\" in --check|--split) ;; *) sleep 60 ;; esac\n"
                    "exec %s \"$@\"\n" % EXE)
        os.chmod(slow, 0o755)
        out = self.path("study")
        os.mkdir(out)
        with open(os.path.join(out, "V1-N1042.txt"), "wb") as f:
            f.write(b"an earlier report\n")
        env = dict(ENV, ZUVAN_EXE=slow)
        process = subprocess.Popen([sys.executable, STUDY, "-d", data, "-c", CONTEXT, "-o", out,
                                    "-j", "2"], stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                   env=env, start_new_session=True)
        deadline = time.monotonic() + 60
        while time.monotonic() < deadline:
            work = [n for n in os.listdir(out) if n.startswith(".zuvan-study-")]
            if work and os.path.exists(os.path.join(out, work[0], "out", "2", "console")):
                break
            time.sleep(0.1)
        os.killpg(process.pid, signal.SIGINT)  # Ctrl-C reaches the whole process group
        _, err = process.communicate(timeout=60)
        self.assertEqual(process.returncode, 130, err.decode())
        self.assertIn(b"interrupted; nothing was merged", err)
        self.assertEqual(files(out), {"V1-N1042.txt": b"an earlier report\n"})
        self.assertEqual(os.listdir(out), ["V1-N1042.txt"])

    def test_progress_is_shown_on_a_terminal(self):
        data = vessel_deck(self.path("vessel.data"), "rainflow")
        master, slave = pty.openpty()
        process = subprocess.Popen([sys.executable, STUDY, "-d", data, "-c", CONTEXT,
                                    "-o", self.path("out")], stdout=subprocess.DEVNULL,
                                   stderr=slave, env=ENV)
        os.close(slave)
        seen = b""
        while True:
            try:
                chunk = os.read(master, 4096)
            except OSError:
                break
            if not chunk:
                break
            seen += chunk
        process.wait(timeout=120)
        os.close(master)
        self.assertEqual(process.returncode, 0, seen.decode())
        self.assertIn(b"13/13 requests done", seen)


if __name__ == "__main__":
    if not EXE:
        print("skipped: ZUVAN_EXE is not set")
        sys.exit(77)
    if shutil.which("parallel") is None:
        print("skipped: GNU parallel is not installed (scripts/setup.sh installs parallel)")
        sys.exit(77)
    unittest.main()
