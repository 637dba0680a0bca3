#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) in build-fuzz/ (or
# takes them from PIXOLO_FUZZ_BUILD, a folder that holds them built), replays
# every kept finding (tests/fuzz/regressions/TARGET/) and then fuzzes each target for SECONDS seconds (default 60):
#
#   tests/fuzz/run.sh SECONDS [TARGET...]     # all targets when none is named
#
# PIXOLO_FUZZ_JOBS=N runs N targets side by side. Exits non-zero when a target crashes or breaks one of its checks; the input that did it is kept as
# build-fuzz/TARGET-crash-… and replays with build-fuzz/TARGET_fuzzer FILE. Copy it into regressions/TARGET/ once
# the fault is fixed. The corpus grows in build-fuzz/corpus/TARGET between runs.
set -euo pipefail
seconds=${1:-60}
shift || true
root=$(cd "$(dirname "$0")/../.." && pwd)
build="$root/build-fuzz"
all=(container description bmp mask_region ini scrambler device_identity)
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=("${all[@]}")

# A build that holds the fuzz targets already (the project's build with PIXOLO_BUILD_FUZZ, as ./test.sh makes it)
# is used as it stands; otherwise they are built here.
if [ -n "${PIXOLO_FUZZ_BUILD:-}" ]; then
    build=$PIXOLO_FUZZ_BUILD
else
    cmake -S "$root/tests/fuzz" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ > /dev/null
    cmake --build "$build" -j 2
fi

export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
if [ -z "${LSAN_OPTIONS:-}" ] && [ -f "$root/tests/support/lsan.supp" ]; then
    export LSAN_OPTIONS="suppressions=$root/tests/support/lsan.supp:print_suppressions=0"
fi

corpus="$build/corpus"
"$build/make_seeds" "$corpus" "$root/skins/pixolo"
fuzz_one() {
    local target=$1
    local kept="$root/tests/fuzz/regressions/$target"
    if [ -d "$kept" ] && [ -n "$(ls -A "$kept")" ]; then
        echo "== Replaying the kept findings of the $target target"
        "$build/${target}_fuzzer" -runs=1 "$kept"/*
    fi
    echo "== Fuzzing the $target target for $seconds s"
    "$build/${target}_fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
        -print_final_stats=1 -artifact_prefix="$build/$target-" "$corpus/$target"
}

# PIXOLO_FUZZ_JOBS targets at a time (default one); each one's output is kept and shown whole when it ends.
jobs=${PIXOLO_FUZZ_JOBS:-1}
if [ "$jobs" -le 1 ]; then
    for target in "${targets[@]}"; do
        fuzz_one "$target"
    done
    exit 0
fi
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
failed=0
running=()
finish_one() {
    local pid=${running[0]%%:*} target=${running[0]#*:}
    running=("${running[@]:1}")
    if ! wait "$pid"; then
        failed=1
        echo "== The $target target failed:"
    fi
    cat "$logs/$target"
}
for target in "${targets[@]}"; do
    if [ ${#running[@]} -ge "$jobs" ]; then
        finish_one
    fi
    fuzz_one "$target" > "$logs/$target" 2>&1 &
    running+=("$!:$target")
done
while [ ${#running[@]} -gt 0 ]; do
    finish_one
done
exit "$failed"
