#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole test suite through CTest.
# --sanitize runs the same tests built with AddressSanitizer and UBSan; --tsan
# with ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh "$@"
build_dir=build
[ "${1:-}" = "--sanitize" ] && build_dir=build-sanitize
[ "${1:-}" = "--tsan" ] && build_dir=build-tsan
build_dir="${BUILD_DIR:-$build_dir}"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export TSAN_OPTIONS="${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1}"
ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)"
