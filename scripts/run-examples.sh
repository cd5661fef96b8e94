#!/usr/bin/env bash
# Installs what is missing, builds, and runs ZuvanFatigue on every example deck
# pair of examples/ (NAME.data with context.ctx). Reports go to examples/out/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
out=examples/out
# Reports are appended to: start each run of the examples from an empty folder.
rm -rf "$out"
mkdir -p "$out"
status=0
shopt -s nullglob
for data in examples/*.data; do
    name=$(basename "$data" .data)
    echo "== $name" >&2
    if ./build/ZuvanFatigue --json -d "$data" -c examples/context.ctx -o "$out" 2>"$out/$name.console"; then
        echo "   ended normally; console in $out/$name.console" >&2
    else
        rc=$?
        echo "   ended with exit status $rc; see $out/$name.console" >&2
        status=1
    fi
done
# A history imported from a CSV of finite-element stresses (examples/
# shell-transient.csv): the structure, the generated *HISTORIQUE block, the
# request. Its report is the one of uwzone-shell, whose history is hand-written.
name=shell-transient
echo "== $name (history from examples/$name.csv)" >&2
{ cat "examples/$name.head"
  scripts/zuvan-csv2deck "examples/$name.csv" --history H-TRANSITOIRE --uwzone VIROLE-1-INT
  cat "examples/$name.tail"; } >"$out/$name.data"
if ./build/ZuvanFatigue --json -d "$out/$name.data" -c examples/context.ctx -o "$out" 2>"$out/$name.console"; then
    echo "   ended normally; deck in $out/$name.data" >&2
else
    echo "   ended with exit status $?; see $out/$name.console" >&2
    status=1
fi
# Plots of the JSON results (written by the runs with --json).
jsonl=("$out"/*.jsonl)
if [ "${#jsonl[@]}" -gt 0 ]; then
    for results in "${jsonl[@]}"; do
        scripts/zuvan-plot "$results" -o "$out/plots" >/dev/null || status=1
    done
    echo "Plots written in $out/plots/" >&2
fi
echo "Reports written in $out/" >&2
ls -1 "$out" >&2
exit $status
