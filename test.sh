#!/usr/bin/env bash
# Installs what is missing, builds Pixolo and runs every test: unit and widget tests, whole-program tests under
# Xvfb, the install and package checks, a short fuzzing run, then the unit tests and the whole-program snapshot,
# settings and start-up cases under AddressSanitizer and UndefinedBehaviorSanitizer, and the capture tests under
# ThreadSanitizer. The long runs (ten-minute fuzzing, 200 starts, 20 repeated runs) are documented in README.md.
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

# Every C++ file follows the house format (.clang-format); tools/check-format.sh --fix mends the ones that do not.
echo "== Format"
tools/check-format.sh

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

echo "== Whole-program tests against the AddressSanitizer build: snapshots, cameras pulled and plugged, settings, start-up"
(cd build-asan && ctest -L e2e -R 'SnapshotTest|CamerasTest|InstalledProgramTest|StartupTest|DisplayTest' --output-on-failure \
    -j "$jobs")

echo "== Capture tests under ThreadSanitizer"
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPIXOLO_TSAN=ON -DPIXOLO_BUILD_BENCH=OFF
cmake --build build-tsan -j "$jobs" --target capture_tests
tests/support/tsan-check.sh build-tsan/tests/capture_tests

echo "== All tests passed"
