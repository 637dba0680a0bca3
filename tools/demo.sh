#!/usr/bin/env bash
# The headless demo: starts Pixolo from a private copy of the program folder with the virtual test camera, waits for
# the live preview, presses F8, and leaves behind a screenshot of the screen (screenshot.png), one of the main window
# alone (window.png) and the photo. It runs in the X server of DISPLAY, or, without one, in an Xvfb of its own that
# picks a free display itself (-displayfd).
#
#   tools/demo.sh OUTPUT_FOLDER
set -euo pipefail
out=${1:?usage: demo.sh OUTPUT_FOLDER}
here=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$out/photos"
out=$(cd "$out" && pwd)
work=$(mktemp -d)
xserver=""
pid=""
cleanup() {
    [ -n "$pid" ] && { kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; }
    [ -n "$xserver" ] && { kill "$xserver" 2>/dev/null || true; wait "$xserver" 2>/dev/null || true; }
    rm -rf "$work"
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
    xserver=$!
    for _ in $(seq 1 100); do
        [ -s "$work/display" ] && break
        sleep 0.1
    done
    [ -s "$work/display" ] || { echo "demo: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
    export DISPLAY=":$(head -n 1 "$work/display")"
fi

export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
mkdir "$work/program"
cp "$here/build/bin/pixolo" "$work/program/"
[ -f "$here/build/bin/Pixolo.wav" ] && cp "$here/build/bin/Pixolo.wav" "$work/program/"
printf '[Setup]\nPhotoPath=%s/photos/\n' "$out" > "$work/program/Pixolo.ini"
export QT_QPA_PLATFORM=xcb
export GST_PLUGIN_PATH="$here/build/gst-plugins${GST_PLUGIN_PATH:+:$GST_PLUGIN_PATH}"

"$work/program/pixolo" &
pid=$!

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
# The main window alone, cut from the screen with its shaped corners.
eval "$(xdotool getwindowgeometry --shell "$window")"
convert "$out/screenshot.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/window.png"
photo=$(ls -t "$out/photos"/*.jpg 2>/dev/null | head -n 1 || true)
echo "Screenshot of the screen: $out/screenshot.png; of the main window: $out/window.png"
if [ -n "$photo" ]; then
    echo "Photo taken with F8: $photo"
else
    echo "demo: no photo was stored" >&2
    exit 1
fi
