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
for f in bin/ZuvanFatigue bin/zuvan-csv2deck bin/zuvan-plot share/man/man1/ZuvanFatigue.1 \
         share/doc/zuvanfatigue/deck-reference.md share/zuvanfatigue/examples/context.ctx \
         share/zuvanfatigue/examples/uwzone-shell.data share/zuvanfatigue/examples/shell-transient.csv \
         share/zuvanfatigue/editors/vim/syntax/zuvan.vim; do
    [ -e "$prefix/$f" ] || fail "$f is not installed"
done
[ -x "$prefix/bin/zuvan-csv2deck" ] && [ -x "$prefix/bin/zuvan-plot" ] || fail "scripts not executable"
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
echo "installed into $prefix and ran the examples"
