#!/usr/bin/env bash
# Installs a Pixolo package into a fresh Debian 12 (a minimal bookworm made by mmdebstrap, run as root) with
# `apt-get install ./pixolo_….deb`, then starts it as an ordinary user the way its desktop entry does, on an Xvfb of
# its own, and checks that the main window appears:
#
#   sudo tools/deb-fresh-install.sh build/pixolo_1.0_amd64.deb [ROOT]     # ROOT default: a new temporary folder
#
# Needs mmdebstrap, Xvfb and xdotool on the machine, and the Debian mirror. Without a camera in the fresh system the
# program first says so; the box is dismissed. Leaves a screenshot in ROOT/screen.png.
set -euo pipefail
deb=$(realpath "${1:?usage: deb-fresh-install.sh PACKAGE.deb [ROOT]}")
root=${2:-$(mktemp -d /tmp/pixolo-debian12.XXXXXX)}
if [ ! -x "$root/usr/bin/apt-get" ]; then
    mmdebstrap --variant=minbase bookworm "$root" "deb http://deb.debian.org/debian bookworm main" \
        "deb http://deb.debian.org/debian bookworm-updates main" "deb http://deb.debian.org/debian-security bookworm-security main"
fi
work=$(mktemp -d)
xserver=""
cleanup() {
    [ -n "$xserver" ] && kill "$xserver" 2> /dev/null
    for p in /proc/[0-9]*; do
        [ "$(readlink "$p/root" 2> /dev/null)" = "$(realpath "$root")" ] && kill "$(basename "$p")" 2> /dev/null
    done
    umount "$root/tmp/.X11-unix" "$root/proc" "$root/dev" 2> /dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
mount --bind /proc "$root/proc"
mount --bind /dev "$root/dev"
cp "$deb" "$root/root/"
chroot "$root" sh -c "apt-get update -q && DEBIAN_FRONTEND=noninteractive apt-get install -y /root/$(basename "$deb")"

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2> /dev/null &
xserver=$!
for _ in $(seq 1 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n 1 "$work/display")"
mkdir -p "$root/tmp/.X11-unix"
mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
chroot "$root" sh -c 'id pixolo-user > /dev/null 2>&1 || useradd -m pixolo-user'
command=$(sed -n 's/^Exec=//p' "$root/usr/share/applications/com.example.Pixolo.desktop")
chroot "$root" setpriv --reuid=pixolo-user --regid=pixolo-user --init-groups env -i HOME=/home/pixolo-user \
    PATH=/usr/bin:/bin DISPLAY="$DISPLAY" sh -c "mkdir -p -m 700 /tmp/run-pixolo && XDG_RUNTIME_DIR=/tmp/run-pixolo exec $command" \
    > "$work/said.txt" 2>&1 &
found=""
for _ in $(seq 1 300); do
    for window in $(xdotool search --onlyvisible --name . 2> /dev/null); do
        name=$(xdotool getwindowname "$window")
        case "$name" in
        *" － "*) found=$window ;;
        快拍宝) xdotool windowfocus --sync "$window" key Return ;; # the no-camera message
        esac
    done
    [ -n "$found" ] && break
    sleep 0.1
done
import -window root "$root/screen.png"
cat "$work/said.txt"
if [ -z "$found" ]; then
    echo "deb-fresh-install: the main window did not appear" >&2
    exit 1
fi
echo "deb-fresh-install: installed into $root and started from the desktop entry; main window $found"
[ -d "$root/home/pixolo-user/.config/pixolo" ] && echo "settings folder: /home/pixolo-user/.config/pixolo"
