#!/usr/bin/env bash
# Builds the skin fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) in build-fuzz/
# and runs each for SECONDS seconds (default 60). Exits non-zero when a target crashes; the input that did it is
# kept as build-fuzz/<target>-crash-… and replays with build-fuzz/<target>_fuzzer FILE.
set -euo pipefail
seconds=${1:-60}
root=$(cd "$(dirname "$0")/../../.." && pwd)
build="$root/build-fuzz"

cmake -S "$root/tests/skin/fuzz" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ > /dev/null
cmake --build "$build" -j 2

export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
if [ -z "${LSAN_OPTIONS:-}" ] && [ -f "$root/tests/support/lsan.supp" ]; then
    export LSAN_OPTIONS="suppressions=$root/tests/support/lsan.supp:print_suppressions=0"
fi

corpus="$build/corpus"
"$build/make_seeds" "$corpus" "$root/skins/pixolo/skin.ini"
for target in container description; do
    echo "== Fuzzing the $target reader for $seconds s"
    "$build/${target}_fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
        -print_final_stats=1 -artifact_prefix="$build/$target-" "$corpus/$target"
done
