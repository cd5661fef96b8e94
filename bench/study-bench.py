#!/usr/bin/python3
"""A whole-component study against one plain run of the same deck.

    bench/study-bench.py [--locations 200] [--records 50] [-j 2] [--program PATH]

Makes a CSV of LOCATIONS locations x RECORDS records (seeded random
transients; unwelded zones and weld seams in turn), turns it into one data
deck with scripts/zuvan-csv2deck --by, then times

  plain   ZuvanFatigue --json on the whole deck with ZUVAN_THREADS=J
  study   scripts/zuvan-study -j J --json on the same deck

and checks that the study's reports are byte for byte those of the plain run.
Prints both wall times, their ratio (the study's overhead: processes, deck
reading, splitting, merging, the summary and its plot) and the peak memory
(largest resident set of any one process of each). Exits 1 when the ratio is
above 1.15. The program is build/ZuvanFatigue unless --program is given.
"""

import argparse
import csv
import filecmp
import json
import os
import random
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
LIMIT = 1.15
COMPONENTS = ("XX", "YY", "ZZ", "XY", "YZ", "XZ")

STRUCTURE = """*COMPOSANT          VIROLE-A
*TYPE               TOLE_CYLINDRE
*PARAMETRE          20 12.5 0.5
*COMPOSANT_MATERIAU P265GH
*FIN_COMPOSANT

*COMPOSANT          VIROLE-B
*TYPE               TOLE_CYLINDRE
*PARAMETRE          24 12.5 0.6
*COMPOSANT_MATERIAU P265GH
*FIN_COMPOSANT

*UWZONE             VIROLE-A-INT
*UWZONE_COMPOSANT   VIROLE-A
*FIN_UWZONE

*CORDON             SOUDURE-LONGI
*CORDON_TYPE        BOUT-A-BOUT
*COMPOSANT_1        VIROLE-A
*COMPOSANT_2        VIROLE-B
*LONGITUDINAL
*IMPERFECTION       Tolerances de fabrication
*DIAMETRE           2020 2030 2010
*PARAMETRE          1.5 0 0 2
*FIN_IMPERFECTION
*FIN_CORDON

"""


def make_study(folder, locations, records):
    rng = random.Random(15)
    names = ["location", "pressure", "temperature"]
    for tensor in ("SIJ", "SIJM", "SIJLM", "SIJLT"):
        names += ["%s_%s" % (tensor, c) for c in COMPONENTS]
    path = os.path.join(folder, "study.csv")
    zones = os.path.join(folder, "zones.csv")
    with open(path, "w", newline="") as f, open(zones, "w", newline="") as z:
        w, zw = csv.writer(f, lineterminator="\n"), csv.writer(z, lineterminator="\n")
        rows = []
        for n in range(locations):
            name = "L%04d" % (n + 1)
            zw.writerow([name] + (["uwzone", "VIROLE-A-INT"] if n % 2 == 0
                                  else ["seam", "SOUDURE-LONGI"]))
            scale = rng.uniform(0.3, 1.0)
            for r in range(records):
                temperature = 20 + 260 * rng.random()
                mech = [scale * rng.uniform(-150, 250) for _ in COMPONENTS]
                thermal = [scale * rng.uniform(-80, 80) for _ in COMPONENTS]
                membrane = [0.8 * m for m in mech]
                total = [m + t for m, t in zip(mech, thermal)]
                rows.append((r, n, [name, "%.3f" % (3 * scale), "%.1f" % temperature]
                             + ["%.3f" % v for v in total + membrane + mech + thermal]))
        w.writerow(names)
        for _, _, row in sorted(rows, key=lambda x: (x[0], x[1])):  # time step, then node
            w.writerow(row)
    blocks = subprocess.run([sys.executable, os.path.join(ROOT, "scripts", "zuvan-csv2deck"), path,
                             "--by", "location", "--zones", zones, "--requests", "rainflow"],
                            capture_output=True, check=True).stdout
    deck = os.path.join(folder, "study.data")
    with open(deck, "wb") as f:
        f.write(STRUCTURE.encode() + blocks)
    return deck


MEASURE = """import resource, subprocess, sys
r = subprocess.run(sys.argv[2:], stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
with open(sys.argv[1], "w") as f:
    f.write("%d %d\\n" % (r.returncode, resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss))
sys.stderr.buffer.write(r.stderr[-800:])
"""


def same_results(plain, study):
    """Reports byte for byte; JSON lines apart from their run object (time, threads)."""
    if not plain.endswith(".jsonl"):
        return filecmp.cmp(plain, study, shallow=False)
    with open(plain, encoding="utf-8") as a, open(study, encoding="utf-8") as b:
        lines = [[json.loads(line) for line in f] for f in (a, b)]
    for line in lines[0] + lines[1]:
        line.pop("run", None)
    return lines[0] == lines[1]


def timed(command, env, folder):
    """Wall seconds and the largest resident set (MiB) of any one process of command.

    Measured in a child of its own, so that each command's peak is its own."""
    result = os.path.join(folder, "measure")
    start = time.monotonic()
    r = subprocess.run([sys.executable, "-c", MEASURE, result] + command, env=env,
                       capture_output=True)
    wall = time.monotonic() - start
    with open(result) as f:
        status, peak = (int(v) for v in f.read().split())
    if status != 0 or r.returncode != 0:
        sys.exit("bench: %s ended with %d: %s" % (command[0], status, r.stderr.decode()))
    return wall, peak / 1024.0


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[1])
    parser.add_argument("--locations", type=int, default=200)
    parser.add_argument("--records", type=int, default=50)
    parser.add_argument("-j", "--jobs", type=int, default=2)
    parser.add_argument("--program", default=os.path.join(ROOT, "build", "ZuvanFatigue"))
    args = parser.parse_args()
    exe = os.path.abspath(args.program)
    context = os.path.join(ROOT, "examples", "context.ctx")
    with tempfile.TemporaryDirectory() as folder:
        deck = make_study(folder, args.locations, args.records)
        plain_out, study_out = os.path.join(folder, "plain"), os.path.join(folder, "study")
        os.mkdir(plain_out)
        env = dict(os.environ, LANG="C", LC_ALL="C", ZUVAN_EXE=exe)
        # Both measured one after the other from a warm page cache; the plain run
        # measured first and last, its faster time kept.
        plain_env = dict(env, ZUVAN_THREADS=str(args.jobs))
        plain_command = [exe, "--json", "-d", deck, "-c", context, "-o", plain_out]
        plain, plain_peak = timed(plain_command, plain_env, folder)
        study, study_peak = timed([sys.executable, os.path.join(ROOT, "scripts", "zuvan-study"),
                                   "-j", str(args.jobs), "--json", "-d", deck, "-c", context,
                                   "-o", study_out], env, folder)
        for name in sorted(os.listdir(plain_out)):
            if not same_results(os.path.join(plain_out, name), os.path.join(study_out, name)):
                sys.exit("bench: %s of the study differs from the plain run" % name)
        second = os.path.join(folder, "plain-2")
        os.mkdir(second)
        plain_command[-1] = second
        plain = min(plain, timed(plain_command, plain_env, folder)[0])
    ratio = study / plain
    print("%d locations x %d records (uwzone and seam in turn), %d cores"
          % (args.locations, args.records, os.cpu_count() or 1))
    print("plain run, ZUVAN_THREADS=%d : %8.2f s   peak %6.1f MiB"
          % (args.jobs, plain, plain_peak))
    print("zuvan-study -j %d          : %8.2f s   peak %6.1f MiB (largest process)"
          % (args.jobs, study, study_peak))
    print("study / plain              : %8.3f   (limit %.2f)" % (ratio, LIMIT))
    return 0 if ratio <= LIMIT else 1


if __name__ == "__main__":
    sys.exit(main())
