#!/usr/bin/env bash
# cmake --install into a temporary prefix, then the installed program on an
# installed example: what a user gets from the install, without the sources.
# Arguments: the build directory, the Python 3 to run the scripts with.
set -euo pipefail
build_dir=$1
python=${2:-/usr/bin/python3}
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build_dir" --prefix "$prefix" >/dev/null

fail() { echo "install test: $*" >&2; exit 1; }
for f in bin/ZuvanFatigue bin/zuvan-csv2deck bin/zuvan-plot bin/zuvan-study \
         share/man/man1/ZuvanFatigue.1 share/zuvanfatigue/examples/vessel.data \
         share/zuvanfatigue/examples/vessel-locations.csv \
         share/doc/zuvanfatigue/copyright share/doc/zuvanfatigue/deck-reference.md share/doc/zuvanfatigue/json-results.md \
         share/doc/zuvanfatigue/doc/study-summary.png share/zuvanfatigue/examples/context.ctx \
         share/zuvanfatigue/examples/uwzone-shell.data share/zuvanfatigue/examples/shell-transient.csv \
         share/zuvanfatigue/editors/vim/syntax/zuvan.vim; do
    [ -e "$prefix/$f" ] || fail "$f is not installed"
done
for script in zuvan-csv2deck zuvan-plot zuvan-study; do
    [ -x "$prefix/bin/$script" ] || fail "$script not executable"
done
# Tests and benchmarks stay in the build tree.
installed=$(cd "$prefix" && find . -type f | sort)
if grep -E 'zuvan_tests|zuvan_bench|/tests/|\.a$' <<<"$installed"; then
    fail "tests, benchmarks or libraries installed"
fi

[ "$("$prefix/bin/ZuvanFatigue" --version)" = "$("$build_dir/ZuvanFatigue" --version)" ] \
    || fail "--version of the installed program"

examples="$prefix/share/zuvanfatigue/examples"
out="$prefix/out"
mkdir -p "$out"
LANG=C LC_ALL=C "$prefix/bin/ZuvanFatigue" -d "$examples/uwzone-shell.data" \
    -c "$examples/context.ctx" -o "$out" 2>"$out/console" || fail "example run ended with $?"
grep -q "Fin normale du travail" "$out/console" || fail "no normal end"
[ -s "$out/uwzone-shell.txt" ] || fail "no report"

# The installed importer on the installed example CSV, run by the installed program.
{ cat "$examples/shell-transient.head"
  "$python" "$prefix/bin/zuvan-csv2deck" "$examples/shell-transient.csv" \
      --history H-TRANSITOIRE --uwzone VIROLE-1-INT
  cat "$examples/shell-transient.tail"; } >"$out/shell-transient.data"
LANG=C LC_ALL=C "$prefix/bin/ZuvanFatigue" -d "$out/shell-transient.data" \
    -c "$examples/context.ctx" -o "$out" 2>/dev/null || fail "imported example ended with $?"
cmp -s "$out/shell-transient.txt" "$out/uwzone-shell.txt" || fail "imported example differs"
# The installed study runner finds the installed program beside it.
if command -v parallel >/dev/null; then
    { cat "$examples/vessel.data"
      "$python" "$prefix/bin/zuvan-csv2deck" "$examples/vessel-locations.csv" --by node \
          --zones "$examples/vessel-zones.csv" --requests rainflow 2>/dev/null; } >"$out/vessel.data"
    (unset ZUVAN_EXE; PATH=/usr/bin:/bin LANG=C LC_ALL=C "$python" "$prefix/bin/zuvan-study" \
        -d "$out/vessel.data" -c "$examples/context.ctx" -o "$out/study" >/dev/null) \
        || fail "the installed study ended with $?"
    [ -s "$out/study/locations.csv" ] || fail "the installed study wrote no locations.csv"
fi
echo "installed into $prefix and ran the examples"
