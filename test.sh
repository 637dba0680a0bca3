#!/usr/bin/env bash
# Installs what is missing, builds Pixolo and runs every test. One build serves everything: clang with
# AddressSanitizer and UndefinedBehaviorSanitizer (build-test/) makes the program, the unit, widget and whole-program
# tests, the benchmarks and the fuzz targets; the tests, the install and package checks and a short fuzzing run go
# against it. The capture tests are built once more with ThreadSanitizer (build-tsan/) and run there. The long runs
# (ten-minute fuzzing, 200 starts, 20 repeated runs) are documented in README.md. Each stage says how long it took.
set -euo pipefail
cd "$(dirname "$0")"

started=$SECONDS
stage_started=$SECONDS
stage() {
    if [ -n "${stage_name:-}" ]; then
        echo "-- $stage_name: $((SECONDS - stage_started)) s"
    fi
    stage_name=$1
    stage_started=$SECONDS
    [ -z "$stage_name" ] || echo "== $stage_name"
}

stage "Installing what is missing"
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
stage "Format"
tools/check-format.sh

# Line tables are all a sanitizer's report needs, and -O1 keeps the program quick enough for the whole-program tests.
stage "Build (clang, AddressSanitizer and UndefinedBehaviorSanitizer)"
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_C_FLAGS_DEBUG="-gline-tables-only -O1" -DCMAKE_CXX_FLAGS_DEBUG="-gline-tables-only -O1" \
    -DPIXOLO_SANITIZE=ON -DPIXOLO_BUILD_FUZZ=ON > /dev/null
cmake --build build-test -j "$jobs"

# The unit and widget suites run whole, one process each; the whole-program tests and the package checks one by one.
stage "Tests: unit and widget, whole-program under Xvfb, install and package"
(cd build-test && ctest -L 'unit-suite|e2e|package' --output-on-failure -j "$jobs")

stage "Fuzzing (each target replays its kept findings, then runs ten seconds)"
PIXOLO_FUZZ_BUILD="$PWD/build-test/fuzz" PIXOLO_FUZZ_JOBS="$jobs" tests/fuzz/run.sh 10

stage "Capture tests under ThreadSanitizer"
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_C_FLAGS_DEBUG="-gline-tables-only -O1" -DCMAKE_CXX_FLAGS_DEBUG="-gline-tables-only -O1" -DPIXOLO_TSAN=ON \
    -DPIXOLO_BUILD_BENCH=OFF > /dev/null
cmake --build build-tsan -j "$jobs" --target capture_tests
tests/support/tsan-check.sh build-tsan/tests/capture_tests

stage ""
echo "== All tests passed in $((SECONDS - started)) s"
