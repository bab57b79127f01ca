#!/usr/bin/env bash
# The desktop install: installs the build into a temporary folder, checks the installed tree, starts
# the installed program for a user with one game and no program folder yet, and checks that it runs
# from the user's folder seeded with the delivered files. Then the same build tree started in place
# must keep running beside its own files.
# Usage: desktop_install_test.sh <cmake> <build folder> <delivered files folder>
set -euo pipefail
cmake=$1
build=$2
delivered=$3

work=$(mktemp -d)
pid=
cleanup() {
    if [[ -n $pid ]]; then
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    [[ -f $work/out.log ]] && sed 's/^/  program: /' "$work/out.log" >&2
    exit 1
}

"$cmake" --install "$build" --prefix "$work/usr" >/dev/null
usr=$work/usr
for file in bin/marvok share/applications/marvok.desktop share/icons/hicolor/64x64/apps/marvok.png \
    share/icons/hicolor/128x128/apps/marvok.png; do
    [[ -e $usr/$file ]] || fail "$file is not installed"
done
[[ -x $usr/bin/marvok ]] || fail "bin/marvok cannot be run"
for file in "$delivered"/*; do
    cmp -s "$file" "$usr/share/marvok/$(basename "$file")" || fail "$(basename "$file") is not in share/marvok"
done
desktop=$usr/share/applications/marvok.desktop
grep -qx 'Exec=marvok %f' "$desktop" || fail "the desktop entry does not pass the file to the program"
grep -qx 'MimeType=application/zip;' "$desktop" || fail "the desktop entry does not open ZIP archives"
grep -qx 'Icon=marvok' "$desktop" || fail "the desktop entry has no icon"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate refuses the entry"
fi

# A user with Generals in the settings store, no program folder and no Wine prefix.
mkdir -p "$work/home" "$work/games/Generals"
printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Electronic Arts\\EA Games\\Generals]\r\n"InstallPath"="%s"\r\n' \
    "$work/games/Generals" >"$work/registry.reg"
start() { # program, data folder
    env -u MARVOK_HOME HOME="$work/home" XDG_DATA_HOME="$2" XDG_CONFIG_HOME="$work/config" \
        MARVOK_REGISTRY="$work/registry.reg" WINEPREFIX="$work/no-prefix" QT_QPA_PLATFORM=offscreen \
        "$1" >"$work/out.log" 2>&1 &
    pid=$!
}
running_after() { # seconds
    sleep "$1"
    kill -0 "$pid" 2>/dev/null
}
stop() {
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    pid=
}

seeded=$work/data/marvok/soptions.ini
start "$usr/bin/marvok" "$work/data"
for _ in $(seq 100); do
    [[ -f $seeded ]] && break
    sleep 0.1
done
running_after 1 || fail "the installed program did not start"
for file in "$delivered"/*; do
    cmp -s "$file" "$work/data/marvok/$(basename "$file")" || fail "$(basename "$file") was not seeded"
done
stop

# A file the user changed stays as it is at the next start.
echo '; changed by the user' >>"$seeded"
cp "$seeded" "$work/expected.ini"
start "$usr/bin/marvok" "$work/data"
running_after 2 || fail "the installed program did not start again"
stop
cmp -s "$work/expected.ini" "$seeded" || fail "the user's soptions.ini was replaced"

# The build tree is a program folder of its own: nothing is seeded elsewhere.
start "$build/bin/marvok" "$work/build-data"
running_after 2 || fail "the program of the build tree did not start"
stop
[[ ! -e $work/build-data/marvok ]] || fail "the build tree's program seeded a folder of the user's"
echo "installed, started and seeded"
