#!/usr/bin/env bash
# check-package.sh STEP BUILD_DIR SOURCE_DIR VERSION: one check of the installed program, run by CTest.
#   metadata  desktop-file-validate and appstreamcli validate pass on the desktop entry and the metadata
#   install   cmake --install lays out the self-contained program folder, icons at their sizes, no test camera
#   deb       cpack -G DEB makes pixolo_VERSION_ARCH.deb listing the program, the entry, the icons and the metadata,
#             the copyright, changelog and manual page, with the libraries it links and the plugins it loads among
#             its dependencies, and lintian finds no error and no warning in it
set -euo pipefail
step=$1
build=$2
source=$3
version=$4
id=com.example.Pixolo
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAILED: $*" >&2
    exit 1
}

case "$step" in
metadata)
    desktop-file-validate "$source/packaging/$id.desktop"
    appstreamcli validate --no-net "$build/share/metainfo/$id.metainfo.xml"
    grep -q "<release version=\"$version\"" "$build/share/metainfo/$id.metainfo.xml" \
        || fail "the metadata's release is not $version"
    ;;
install)
    prefix="$work/prefix"
    cmake --install "$build" --prefix "$prefix" > /dev/null
    for file in lib/pixolo/pixolo lib/pixolo/Pixolo.wav share/applications/$id.desktop \
        share/metainfo/$id.metainfo.xml; do
        [ -f "$prefix/$file" ] || fail "$file is not installed"
    done
    [ -x "$prefix/lib/pixolo/pixolo" ] || fail "the program is not executable"
    [ "$(readlink "$prefix/bin/pixolo")" = ../lib/pixolo/pixolo ] || fail "bin/pixolo does not link to the program"
    for size in 48 128 256; do
        icon="$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png"
        [ -f "$icon" ] || fail "no $size pixel icon"
        [ "$(identify -format '%wx%h' "$icon")" = "${size}x${size}" ] || fail "the $size pixel icon has another size"
    done
    if find "$prefix" -name '*testcam*' | grep -q .; then
        fail "the virtual test camera was installed"
    fi
    # The desktop entry, the metadata and the icon are found together, as software centres look for them.
    desktop-file-validate "$prefix/share/applications/$id.desktop"
    appstreamcli validate-tree --no-net "$prefix"
    # The installed program answers through its link, without a display.
    env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/pixolo" --version | grep -qx "pixolo (Pixolo) $version" \
        || fail "the installed program does not say its version"
    ;;
deb)
    (cd "$build" && cpack -G DEB -B "$work" > "$work/cpack.log") || { cat "$work/cpack.log" >&2; fail "cpack"; }
    deb=$(ls "$work"/pixolo_"$version"_*.deb)
    listing=$(dpkg-deb -c "$deb")
    for file in ./usr/lib/pixolo/pixolo ./usr/lib/pixolo/Pixolo.wav ./usr/bin/pixolo ./usr/share/applications/$id.desktop \
        ./usr/share/metainfo/$id.metainfo.xml ./usr/share/icons/hicolor/48x48/apps/$id.png \
        ./usr/share/icons/hicolor/128x128/apps/$id.png ./usr/share/icons/hicolor/256x256/apps/$id.png; do
        grep -q " $file\( ->\|$\)" <<< "$listing" || fail "the package lacks $file"
    done
    if grep -q testcam <<< "$listing"; then
        fail "the package holds the virtual test camera"
    fi
    depends=$(dpkg-deb -f "$deb" Depends)
    for package in libqt6widgets6 libgstreamer1.0-0 libjpeg62-turbo zlib1g qt6-qpa-plugins gstreamer1.0-plugins-base \
        gstreamer1.0-plugins-good fonts-liberation2 fonts-wqy-microhei; do
        grep -q "\b$package\b" <<< "$depends" || fail "the package does not depend on $package: $depends"
    done
    [ "$(dpkg-deb -f "$deb" Package)" = pixolo ] || fail "the package is not named pixolo"
    for file in ./usr/share/doc/pixolo/copyright ./usr/share/doc/pixolo/changelog.gz ./usr/share/man/man1/pixolo.1.gz; do
        grep -q " $file$" <<< "$listing" || fail "the package lacks $file"
    done
    # Debian's own checks: no error and no warning.
    findings=$(lintian --tag-display-limit 0 "$deb" 2>&1 | grep -E '^[EW]: ' || true)
    [ -z "$findings" ] || fail "lintian: $findings"
    ;;
*)
    fail "unknown step $step"
    ;;
esac
echo "PackagingTest.$step passed"
