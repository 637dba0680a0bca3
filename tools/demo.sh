#!/usr/bin/env bash
# The headless demo, run inside an X server (see run.sh): starts Pixolo from a private copy of the program folder with
# the virtual test camera, waits for the live preview, presses F8, and leaves a screenshot and the photo behind.
set -euo pipefail
out=${1:?usage: demo.sh OUTPUT_FOLDER}
here=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$out/photos"
work=$(mktemp -d)
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
mkdir "$work/program"
cp "$here/build/bin/pixolo" "$work/program/"
[ -f "$here/build/bin/Pixolo.wav" ] && cp "$here/build/bin/Pixolo.wav" "$work/program/"
printf '[Setup]\nPhotoPath=%s/photos/\n' "$out" > "$work/program/Pixolo.ini"
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
sleep 2 # let the preview start
before=$(ls "$out/photos" | wc -l)
xdotool windowfocus --sync "$window" key F8
for _ in $(seq 1 50); do
    [ "$(ls "$out/photos" | wc -l)" -gt "$before" ] && break
    sleep 0.1
done
sleep 0.5 # the snapshot is shown beside the preview
import -window root "$out/screenshot.png"
photo=$(ls -t "$out/photos"/*.jpg 2>/dev/null | head -n 1 || true)
echo "Screenshot of the main window: $out/screenshot.png"
if [ -n "$photo" ]; then
    echo "Photo taken with F8: $photo"
else
    echo "demo: no photo was stored" >&2
    exit 1
fi
