#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer (into build-fuzz/, or FUZZ_BUILD_DIR), replays the
# regression inputs of fuzz/regressions/, then runs each target for SECONDS
# (default 60) from the kept corpus of fuzz/corpus/ and a seed corpus made of
# the decks of examples/ and tests/decks/. Targets: run (a whole run), data (a
# data deck against fuzz/context.ctx) and read (both decks read and defined,
# nothing computed). Any crash, leak, sanitizer report or timeout fails; the
# input that failed is left in BUILD_DIR/artifacts/ (copy it into
# fuzz/regressions/).
# Usage: scripts/fuzz.sh [seconds per target]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
build_dir="${FUZZ_BUILD_DIR:-build-fuzz}"
bash scripts/setup.sh
CC=clang CXX=clang++ cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZUVAN_FUZZ=ON -DZUVAN_BUILD_TESTS=OFF -DZUVAN_BUILD_BENCH=OFF >/dev/null
cmake --build "$build_dir" -j "$(nproc)" --target zuvan_fuzz_run zuvan_fuzz_data zuvan_fuzz_read

# Seeds. run and read: context deck, the separator line "#####", data deck;
# data: the data deck alone (run against fuzz/context.ctx).
seeds="$build_dir/seeds"
rm -rf "$seeds"
mkdir -p "$seeds/run" "$seeds/data" "$seeds/read"
seed() {  # seed CONTEXT DATA: the decks as they are, and counted by the reservoir method
    local name
    name=$(basename "$2")
    { cat "$1"; printf '#####\n'; cat "$2"; } >"$seeds/run/$name"
    cp "$2" "$seeds/data/$name"
    if grep -q '^\*RAINFLOW' "$2"; then
        sed 's/^\*RAINFLOW/*RESERVOIR/' "$2" >"$seeds/data/reservoir-$name"
        { cat "$1"; printf '#####\n'; cat "$seeds/data/reservoir-$name"; } \
            >"$seeds/run/reservoir-$name"
    fi
}
for data in examples/*.data; do seed examples/context.ctx "$data"; done
seed tests/decks/uw.ctx tests/decks/uw-uniaxial.dat
for data in tests/decks/weld-*.dat; do seed tests/decks/weld.ctx "$data"; done
seed tests/decks/every-object.ctx tests/decks/every-object.dat
cp "$seeds"/run/* "$seeds/read/"

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
# -max_len: the largest seed is about 7 kB; -timeout: one input within the
# harness's caps (12 records, 2 requests) takes a few seconds at most.
options=(-dict=fuzz/decks.dict -max_len=8192 -timeout=30 -rss_limit_mb=2048
         -print_final_stats=1)
for target in run data read; do
    exe="$build_dir/fuzz/zuvan_fuzz_$target"
    artifacts="$build_dir/artifacts/$target/"
    corpus="$build_dir/corpus/$target"
    kept="fuzz/corpus/$target"  # the kept corpus, when the target has one
    mkdir -p "$artifacts" "$corpus" "fuzz/regressions/$target" "$kept"
    echo "== zuvan_fuzz_$target: replay of fuzz/regressions/$target" >&2
    "$exe" "${options[@]}" -artifact_prefix="$artifacts" -runs=0 "fuzz/regressions/$target"
    echo "== zuvan_fuzz_$target: ${seconds} s" >&2
    "$exe" "${options[@]}" -artifact_prefix="$artifacts" -max_total_time="$seconds" \
        "$corpus" "$kept" "$seeds/$target"
done
