#!/usr/bin/env bash
# Installs what is missing, builds Pixolo and runs every test: unit and widget tests, whole-program tests under
# Xvfb, a short fuzzing run, then the unit tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")"

./tools/install-deps.sh

jobs=$(nproc)
# Qt wants a private runtime folder; tests also keep the single-instance lock there.
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR
chmod 700 "$XDG_RUNTIME_DIR"
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
export QT_QPA_PLATFORM=offscreen
export LSAN_OPTIONS="suppressions=$PWD/tests/support/lsan.supp:print_suppressions=0"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

# The house format (.clang-format) is checked when asked for, until the tree has been formatted once.
if [ "${PIXOLO_CHECK_FORMAT:-0}" = 1 ]; then
    echo "== Format"
    tools/check-format.sh
fi

echo "== Build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"

echo "== Tests"
(cd build && ctest --output-on-failure -j "$jobs")

echo "== Fuzzing (short run: each target replays its kept findings, then runs ten seconds)"
tests/fuzz/run.sh 10

echo "== Unit tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPIXOLO_SANITIZE=ON -DPIXOLO_BUILD_BENCH=OFF
cmake --build build-asan -j "$jobs"
(cd build-asan && ctest -L unit --output-on-failure -j "$jobs")

echo "== All tests passed"
