#!/usr/bin/env bash
# The headless demo, run inside an X server (see run.sh): starts Pixolo from a private copy of the program folder,
# waits for its window and saves a screenshot of the screen.
set -euo pipefail
out=${1:?usage: demo.sh OUTPUT_FOLDER}
here=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$out"
work=$(mktemp -d)
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
mkdir "$work/program"
cp "$here/build/bin/pixolo" "$work/program/"
[ -f "$here/build/bin/Pixolo.wav" ] && cp "$here/build/bin/Pixolo.wav" "$work/program/"
export QT_QPA_PLATFORM=xcb

"$work/program/pixolo" &
pid=$!
cleanup() { kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT

window=""
for _ in $(seq 1 100); do
    window=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    sleep 0.1
done
if [ -z "$window" ]; then
    echo "demo: the main window did not appear" >&2
    exit 1
fi
sleep 1 # let the first frames paint
import -window root "$out/screenshot.png"
echo "Screenshot of the main window: $out/screenshot.png"
