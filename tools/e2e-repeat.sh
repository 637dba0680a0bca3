#!/usr/bin/env bash
# Runs the whole-program tests RUNS times in a row while OTHERS foreign X servers run beside them, to show that no
# test depends on a display it did not make itself:
#
#   tools/e2e-repeat.sh [RUNS] [OTHERS] [CTEST_ARGS...]     # default 20 runs beside 3 other Xvfb servers
#
# The foreign servers take the lowest free display numbers (:0 first, where a test that guessed would land). Prints
# each run's result and, at the end, how often each test failed; exits 1 when any run failed. Uses build/.
set -uo pipefail
runs=${1:-20}
others=${2:-3}
shift 2 2> /dev/null || shift $#
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d /tmp/pixolo-e2e-repeat.XXXXXX)
servers=()
trap 'kill "${servers[@]}" 2> /dev/null; wait 2> /dev/null' EXIT
for i in $(seq 1 "$others"); do
    Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp -noreset 3>"$work/other$i" 2> /dev/null &
    servers+=($!)
    for _ in $(seq 1 50); do
        [ -s "$work/other$i" ] && break
        sleep 0.1
    done
    echo "foreign X server on :$(head -n 1 "$work/other$i")"
done
failures=0
for run in $(seq 1 "$runs"); do
    if ctest --test-dir "$root/build" -L e2e --output-on-failure "$@" > "$work/run$run.log" 2>&1; then
        echo "run $run: passed"
    else
        failures=$((failures + 1))
        echo "run $run: FAILED: $(grep -E '^\s+[0-9]+ - ' "$work/run$run.log" | sed 's/^ *[0-9]* - //' | tr '\n' ' ')"
    fi
done
echo "$((runs - failures)) of $runs runs passed; logs in $work"
if [ $failures -gt 0 ]; then
    echo "failed tests, by count:"
    cat "$work"/run*.log | grep -E '^\s+[0-9]+ - ' | sed 's/^ *[0-9]* - //' | sort | uniq -c | sort -rn
fi
[ $failures = 0 ]
