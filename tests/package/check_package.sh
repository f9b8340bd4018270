#!/usr/bin/env bash
# Checks the Debian package: its file list and dependencies, its desktop entry and icons, and the
# installed program run from a temporary root where its program directory is read-only: it answers
# --version, explains a missing display, finds its required files, and keeps its settings under
# XDG_CONFIG_HOME without writing into its own directory (an offscreen start and close).
# Usage: tests/package/check_package.sh kestrin_<version>_<arch>.deb [build-dir]
# With the build directory, a kestrin-cli built there must be in the package too.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
deb="$(realpath "$1")"
build="${2:-}"
work="$(mktemp -d)"
pid=""
cleanup() {
    [ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null
    chmod -R u+w "$work" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
# Waits for a condition with a bound: wait_for <seconds> <command...>
wait_for() {
    local limit=$(($1 * 10)); shift
    for ((i = 0; i < limit; i++)); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# --- file list ---------------------------------------------------------------------------
# One entry a line: the path, and " -> target" for a symbolic link.
dpkg-deb -c "$deb" | awk '{ s = $6; if ($7 == "->") s = s " -> " $8; print s }' > "$work/list"
has() { grep -qxF "$1" "$work/list" || fail "package lacks $1"; }
lib=./usr/lib/kestrin
for f in kestrin kestrin-sim libkvcom.so kvcom.ini devices.ini kestrin.ini kestrin.installed kestrin_en.qm help/index.html \
         help/en/index.html; do
    has "$lib/$f"
done
# Every file of the program directory's data set, descriptions and help included.
while IFS= read -r f; do
    has "$lib/${f#"$here"/data/}"
done < <(find "$here/data" -type f)
has "./usr/bin/kestrin -> ../lib/kestrin/kestrin"
has "./usr/bin/kestrin-sim -> ../lib/kestrin/kestrin-sim"
cli=0
if grep -qxF "$lib/kestrin-cli" "$work/list"; then
    cli=1
    has "./usr/bin/kestrin-cli -> ../lib/kestrin/kestrin-cli"
elif [ -n "$build" ] && [ -e "$build/kestrin/kestrin-cli" ]; then
    fail "kestrin-cli was built but is not in the package"
fi
has ./usr/share/applications/kestrin.desktop
has ./usr/share/icons/hicolor/scalable/apps/kestrin.svg
for s in 32 48 64 128 256; do has "./usr/share/icons/hicolor/${s}x${s}/apps/kestrin.png"; done
has ./usr/share/doc/kestrin/README
# Nothing outside /usr, and none of the build's tests or benchmarks.
! grep -v '^\./usr/\|^\./$\|^\./usr$' "$work/list" | grep -q . || fail "files outside /usr: $(grep -v '^\./usr' "$work/list" | head -3)"
! grep -qi 'test\|bench' "$work/list" || fail "test files in the package: $(grep -i 'test\|bench' "$work/list" | head -3)"
# Dependencies computed from the binaries.
depends="$(dpkg-deb -f "$deb" Depends)"
for p in libc6 libqt6core6 libqt6widgets6 libqt6serialport6; do
    [[ "$depends" == *"$p "* || "$depends" == *"$p," || "$depends" == *"$p" ]] || fail "Depends lacks $p: $depends"
done
version="$(dpkg-deb -f "$deb" Version)"
[ "$(basename "$deb")" = "kestrin_${version}_$(dpkg-deb -f "$deb" Architecture).deb" ] || fail "package file name $(basename "$deb")"

# --- desktop entry and icons -------------------------------------------------------------
root="$work/root"
dpkg -x "$deb" "$root"
desktop="$root/usr/share/applications/kestrin.desktop"
desktop-file-validate "$desktop" || fail "desktop entry does not validate"
grep -qx 'Name\[ru\]=.\+' "$desktop" || fail "desktop entry has no Russian name"
grep -qx 'Categories=Utility;Electronics;' "$desktop" || fail "desktop entry categories"
grep -qx 'Exec=kestrin' "$desktop" && grep -qx 'Icon=kestrin' "$desktop" || fail "desktop entry command or icon"
for s in 32 48 64 128 256; do
    file "$root/usr/share/icons/hicolor/${s}x${s}/apps/kestrin.png" | grep -q "PNG image data, $s x $s" ||
        fail "icon ${s}x${s} is not a $s-pixel PNG"
done
file "$root/usr/share/icons/hicolor/scalable/apps/kestrin.svg" | grep -qi 'SVG' || fail "scalable icon is not SVG"

# --- the installed program ---------------------------------------------------------------
prog="$root/usr/bin/kestrin"
progdir="$root/usr/lib/kestrin"
nodisplay=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
out="$("${nodisplay[@]}" "$prog" --version)" || fail "--version failed"
[ "$out" = "kestrin $version" ] || fail "--version printed '$out', expected 'kestrin $version'"
rc=0
"${nodisplay[@]}" "$prog" > "$work/out" 2> "$work/err" || rc=$?
[ "$rc" = 1 ] || fail "without a display the exit status is $rc, expected 1"
[ "$(wc -l < "$work/err")" = 1 ] && grep -q 'DISPLAY' "$work/err" || fail "without a display: $(cat "$work/err")"
if [ "$cli" = 1 ]; then grep -q 'kestrin-cli' "$work/err" || fail "the no-display line does not name kestrin-cli"; fi

# A key the close must drop (Left is written only when Save is set) shows that the close wrote
# the user's copy. Then the program directory is made read-only: that stops an ordinary user;
# root, as in CI, is stopped by nothing but the installation marker, which the program obeys.
printf 'Left=123\r\nTop=45\r\n' >> "$progdir/kestrin.ini"
chmod -R a-w "$progdir"
(cd "$progdir" && find . -type f -exec sha256sum {} + | sort) > "$work/before"
config="$work/config"
mkdir -p "$work/home"
XDG_CONFIG_HOME="$config" HOME="$work/home" QT_QPA_PLATFORM=offscreen "$prog" > "$work/run.log" 2>&1 &
pid=$!
own="$config/kestrin/kestrin.ini"
# The copy is made right after the required-files check passed.
wait_for 60 test -s "$own" || fail "no settings file under XDG_CONFIG_HOME: $(cat "$work/run.log")"
grep -q '^Left=123' "$own" || fail "the user's settings were not copied from the program directory"
kill -TERM "$pid"
wait_for 60 sh -c "! kill -0 $pid 2>/dev/null" || fail "the program did not close on SIGTERM"
rc=0
wait "$pid" || rc=$?
pid=""
[ "$rc" = 0 ] || fail "the program ended with status $rc: $(cat "$work/run.log")"
! grep -q '^Left=' "$own" || fail "the close did not write the user's settings"
grep -q '^Confirm=1' "$own" || fail "the user's settings lack Confirm: $(cat "$own")"
(cd "$progdir" && find . -type f -exec sha256sum {} + | sort) > "$work/after"
diff -u "$work/before" "$work/after" || fail "the program directory changed"
echo "package checks passed: $(basename "$deb")"
