#!/usr/bin/env bash
# Configures and builds into BUILD_DIR (default build/). Pass --sanitize for
# an AddressSanitizer + UndefinedBehaviorSanitizer build (default build-sanitize/),
# --tsan for a ThreadSanitizer build (default build-tsan/).
set -euo pipefail
cd "$(dirname "$0")/.."
sanitize=OFF
tsan=OFF
build_dir=build
if [ "${1:-}" = "--sanitize" ]; then
    sanitize=ON
    build_dir=build-sanitize
fi
if [ "${1:-}" = "--tsan" ]; then
    tsan=ON
    build_dir=build-tsan
fi
build_dir="${BUILD_DIR:-$build_dir}"
build_type=Release
[ "$sanitize" = ON ] && build_type=RelWithDebInfo
[ "$tsan" = ON ] && build_type=RelWithDebInfo
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE="$build_type" -DZUVAN_SANITIZE="$sanitize" \
    -DZUVAN_TSAN="$tsan" >/dev/null
cmake --build "$build_dir" -j "$(nproc)"
