#!/usr/bin/env bash
# tsan-check.sh PROGRAM [ARGS...]: runs a test program built with ThreadSanitizer and fails when a report touches our
# own code.
#
# GLib, GStreamer and Qt are not built with the sanitizer: their atomics and futex-based locks are invisible to it, so
# it reports races and lock-order inversions inside them that are none, and suppressing those libraries by name would
# also hide a real race of ours that has them lower in its stack. Instead every report is kept in a log, and a report
# counts when one of its accesses (or a lock acquisition of a lock-order inversion) happens in the program's own code:
# the first frame below the sanitizer's interceptor lies in the program itself, not in a library. Those reports are
# printed and make the run fail, as does a failing test.
set -uo pipefail
program=$1
name=$(basename "$program")
log=$(mktemp -d)
trap 'rm -rf "$log"' EXIT
TSAN_OPTIONS="halt_on_error=0 exitcode=0 second_deadlock_stack=1 log_path=$log/tsan ${TSAN_OPTIONS:-}" "$@"
status=$?
ours=$(cat "$log"/tsan.* 2> /dev/null | awk -v program="$name" '
    function flush() { if (report != "" && flagged) { printf "%s\n", report; count++ } report = ""; flagged = 0 }
    /^WARNING: ThreadSanitizer:/ { flush(); report = $0; inreport = 1; next }
    /^SUMMARY: ThreadSanitizer/ { if (inreport) report = report "\n" $0; flush(); inreport = 0; next }
    !inreport { next }
    { report = report "\n" $0 }
    # Which stacks are accesses: the sections that say what was read, written or locked; not where a block, a mutex
    # or a thread was made.
    /^  [A-Z]/ {
        considered = ($0 ~ /(Read|Write|read|write) of size|acquired here|Atomic|atomic|unlock/) ? 1 : 0
        looking = considered
        next
    }
    /^ +#[0-9]+ / && looking {
        module = $NF
        sub(/^\(/, "", module); sub(/\+0x[0-9a-f]+\)$/, "", module)
        if (module ~ /^libtsan/) next        # the interceptor itself
        looking = 0
        if (module == program) flagged = 1
    }
    END { flush(); if (count) printf "%d reports touch %s itself\n", count, program > "/dev/stderr" }
')
total=$(cat "$log"/tsan.* 2> /dev/null | grep -c '^WARNING: ThreadSanitizer:')
echo "tsan-check: $total reports, all inside uninstrumented libraries unless listed below"
if [ -n "$ours" ]; then
    printf '%s\n' "$ours"
    exit 1
fi
exit $status
