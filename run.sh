#!/usr/bin/env bash
# Installs what is missing, builds Pixolo (Release) and starts it. Without a display it runs the headless demo
# instead: the program under Xvfb with the virtual test camera, leaving a screenshot in demo/.
set -euo pipefail
cd "$(dirname "$0")"

./tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$(nproc)" --target pixolo-runtime

# The virtual test camera ranks below real cameras: it is used only where the machine has none.
export GST_PLUGIN_PATH="$PWD/build/gst-plugins${GST_PLUGIN_PATH:+:$GST_PLUGIN_PATH}"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec ./build/bin/pixolo
fi

echo "No display: running the headless demo under an Xvfb of its own."
exec ./tools/demo.sh "$PWD/demo"
