#!/usr/bin/env bash
# Installs the Debian packages Pixolo needs to build, test and run, when any is missing.
# Sourced or run by ./run.sh and ./test.sh.
set -euo pipefail

PIXOLO_PACKAGES=(
    # build
    cmake ninja-build g++ pkg-config ccache
    qt6-base-dev libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev
    gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-base-apps libjpeg-dev zlib1g-dev
    libxcb1-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    # the fonts the windows draw with (src/platform/FontSet.h)
    fonts-liberation2 fonts-wqy-microhei
    # Qt's own texts (its boxes' buttons, the folder chooser) in the user's language
    qt6-translations-l10n
    # tests, fuzzing and the headless demo
    clang libclang-rt-dev xvfb xauth xdotool xclip x11-utils imagemagick gstreamer1.0-tools
    # the threads' stacks of a program that never showed its window, in the whole-program tests' output
    gdb
    # fonts and a locale that desktops have and that must not change the windows' look (the font set tests)
    fonts-urw-base35 fonts-noto-cjk locales
    # cameras as desktops offer them: a private PipeWire session with its session manager and bus for the tests
    pipewire pipewire-bin wireplumber gstreamer1.0-pipewire dbus-x11
    # a real window manager for the whole-program tests of the desktop's behaviour; the package's own checks
    openbox wmctrl lintian
    # FAT file systems (SD cards, USB sticks) mounted without privileges for the photo folder tests
    fusefat dosfstools fuse3
    # a screen reader's view for the tests: the accessibility bus and a client that reads the tree over it
    at-spi2-core python3-pyatspi
    # the package and its checks (cpack's dependency list, the desktop entry and AppStream validators, the format)
    dpkg-dev desktop-file-utils appstream clang-format
)

missing=()
for package in "${PIXOLO_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        sudo="sudo"
    fi
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -q
    $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

# The Chinese locale the font set tests run the program in.
if ! locale -a 2>/dev/null | grep -qix 'zh_CN\.utf-\?8'; then
    echo "Generating the zh_CN.UTF-8 locale"
    sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        sudo="sudo"
    fi
    $sudo sed -i 's/^# *\(zh_CN\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    $sudo locale-gen
fi
