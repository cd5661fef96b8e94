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
    if ./build/ZuvanFatigue -d "$data" -c examples/context.ctx -o "$out" 2>"$out/$name.console"; then
        echo "   ended normally; console in $out/$name.console" >&2
    else
        rc=$?
        echo "   ended with exit status $rc; see $out/$name.console" >&2
        status=1
    fi
done
echo "Reports written in $out/" >&2
ls -1 "$out" >&2
exit $status
