#!/usr/bin/env bash
# check_install.sh BUILD_DIR VERSION WITH_APP(0|1)
set -euo pipefail
build=$(cd "$1" && pwd)
version=$2
with_app=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

files=(bin/velmora-cli bin/velmora-devsim bin/velmora-xls-reader share/man/man1/velmora-cli.1.gz)
if [ "$with_app" = 1 ]; then
    files+=(bin/velmora-configurator
            share/applications/velmora-configurator.desktop
            share/icons/hicolor/scalable/apps/velmora-configurator.svg
            share/icons/hicolor/256x256/apps/velmora-configurator.png)
fi

root=$scratch/root
DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
for f in "${files[@]}"; do
    [ -f "$root/usr/$f" ] || fail "cmake --install did not put /usr/$f"
done

answer=$("$root/usr/bin/velmora-cli" --version) || fail "velmora-cli --version failed"
[ "$answer" = "velmora-cli $version" ] || fail "velmora-cli --version printed \"$answer\""

if [ "$with_app" = 1 ]; then
    # Without any display: the answer must come before a window could be made.
    answer=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 20 \
                 "$root/usr/bin/velmora-configurator" --version 2>&1) ||
        fail "velmora-configurator --version failed: $answer"
    [ "$answer" = "velmora-configurator $version" ] ||
        fail "velmora-configurator --version printed \"$answer\""

    entry=$root/usr/share/applications/velmora-configurator.desktop
    if command -v desktop-file-validate >/dev/null; then
        desktop-file-validate "$entry" || fail "desktop-file-validate rejects the desktop entry"
    else
        fail "desktop-file-validate is missing (scripts/setup.sh installs desktop-file-utils)"
    fi
    [ "$(sed -n 's/^Exec=//p' "$entry")" = velmora-configurator ] ||
        fail "the desktop entry does not start the installed velmora-configurator alone"
fi

if command -v cpack >/dev/null && command -v dpkg-shlibdeps >/dev/null; then
    (cd "$scratch" &&
        cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/deb" >cpack.log 2>&1) ||
        { cat "$scratch/cpack.log" >&2; fail "cpack -G DEB failed"; }
    debs=("$scratch"/deb/*.deb)
    deb=${debs[0]}
    if [ -f "$deb" ]; then
        listing=$(dpkg-deb -c "$deb")
        for f in "${files[@]}"; do
            grep -q " \./usr/$f\$" <<<"$listing" || fail "the .deb lacks /usr/$f"
        done
        depends=$(dpkg-deb -f "$deb" Depends)
        libraries=(libqt6core6 libzip)
        [ "$with_app" = 1 ] && libraries+=(libqt6gui6 libqt6widgets6)
        for library in "${libraries[@]}"; do
            grep -Eq "(^|, )$library[0-9a-z]* " <<<"$depends" ||
                fail "Depends does not name $library: $depends"
        done
        grep -Eq "(^|, )fonts-liberation(,|$)" <<<"$depends" ||
            fail "Depends does not name the window's font: $depends"
    else
        fail "cpack made no .deb"
    fi
else
    echo "cpack or dpkg-shlibdeps (dpkg-dev) missing: the .deb is not checked"
fi

[ "$failures" -eq 0 ] || exit 1
echo "install tree and package hold every file"
