#!/usr/bin/env bash
# Starts Pixolo many times in a row under load, to catch a start that fails:
#
#   tools/start-stress.sh [COUNT] [reset]      # default 200 starts
#
# All starts share one Xvfb (its own display, picked through -displayfd). Beside them run other GStreamer processes
# (a test picture pipeline and a device monitor, restarted as they end), and GStreamer's plugin registry is removed
# before every fifth start. Each start waits for the main window, then the program is ended (SIGTERM and SIGKILL in
# turn, so that the X server loses its last client). With "reset" the X server runs without -noreset, as a bare
# Xvfb does, and resets whenever its last client has gone. Core dumps are enabled; each start runs in its own
# folder, where a core would land. Prints one line per start and a summary; exits 1 when a start failed.
set -uo pipefail
count=${1:-200}
reset=${2:-}
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d /tmp/pixolo-starts.XXXXXX)
mkdir -p "$work/home" "$work/runtime" "$work/program"
chmod 700 "$work/runtime"
cp "$root/build/bin/pixolo" "$work/program/"
[ -f "$root/build/bin/Pixolo.wav" ] && cp "$root/build/bin/Pixolo.wav" "$work/program/"
export HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb
export GST_PLUGIN_PATH="$root/build/gst-plugins"
ulimit -c unlimited

args=(-displayfd 3 -screen 0 1280x1024x24 -nolisten tcp)
[ "$reset" = reset ] || args+=(-noreset)
Xvfb "${args[@]}" 3>"$work/display" 2>"$work/xvfb.log" &
xserver=$!
for _ in $(seq 1 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
export DISPLAY=":$(head -n 1 "$work/display")"
(while true; do gst-launch-1.0 -q videotestsrc num-buffers=300 ! videoconvert ! fakesink > /dev/null 2>&1; done) &
picture=$!
(while true; do timeout 5 gst-device-monitor-1.0 Video/Source > /dev/null 2>&1; done) &
monitor=$!
trap 'kill $picture $monitor $xserver 2> /dev/null; wait 2> /dev/null' EXIT

failed=0
for i in $(seq 1 "$count"); do
    if [ $((i % 5)) = 0 ]; then
        rm -f "$HOME"/.cache/gstreamer-1.0/registry.*.bin
    fi
    mkdir -p "$work/start$i"
    cd "$work/start$i" || exit 2
    "$work/program/pixolo" > said.txt 2>&1 &
    pid=$!
    outcome=no-window
    for _ in $(seq 1 150); do
        if ! kill -0 $pid 2> /dev/null; then
            outcome=ended
            break
        fi
        if xdotool search --onlyvisible --pid $pid > /dev/null 2>&1; then
            outcome=window
            break
        fi
        sleep 0.1
    done
    if [ $outcome = window ]; then
        sleep 0.3
        if [ $((i % 2)) = 0 ]; then kill -KILL $pid; else kill -TERM $pid; fi
    elif [ $outcome = no-window ]; then
        kill -KILL $pid
    fi
    wait $pid 2> /dev/null
    status=$?
    cores=$(ls core* 2> /dev/null | tr '\n' ' ')
    echo "start $i: $outcome, status $status ${cores:+, $cores}"
    if [ $outcome != window ]; then
        failed=$((failed + 1))
        sed 's/^/    /' said.txt
    fi
done
echo "$((count - failed)) of $count starts showed the main window; folders in $work"
[ $failed = 0 ]
