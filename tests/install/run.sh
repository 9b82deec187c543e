#!/usr/bin/env bash
# Velmora as a Debian user gets it: the build installed into a staging
# folder (file list, menu entry and metainfo validated), the .deb built from
# it (control data and contents), and a first start through the menu entry's
# command on an empty home folder in a real X server (Xvfb): the word
# database must be made in the data folder and the main window come up.
#   tests/install/run.sh [BUILD_DIR]
set -euo pipefail
here="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "${1:-$here/build}" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "install: FAILED: $*" >&2; exit 1; }
stage="$work/stage"

echo "-- install into a staging folder ($SECONDS s)"
cmake --install "$build" --prefix "$stage/usr" >/dev/null
id=$(sed -n 's/^set(VELMORA_APPSTREAM_ID "\(.*\)")/\1/p' "$here/dist/CMakeLists.txt")
expected="usr/bin/velmora
usr/bin/velmora-mkdb
usr/share/applications/velmora.desktop
usr/share/doc/velmora/copyright
usr/share/icons/hicolor/scalable/apps/velmora.svg
usr/share/man/man1/velmora-mkdb.1.gz
usr/share/man/man1/velmora.1.gz
usr/share/metainfo/$id.metainfo.xml
usr/share/velmora/demo-words.txt"
for s in 16 22 24 32 48 64 128 256; do expected+=$'\n'"usr/share/icons/hicolor/${s}x${s}/apps/velmora.png"; done
# Every expected file, and nothing else but further word lists.
got=$(cd "$stage" && find . -type f | sed 's|^\./||' | sort)
missing=$(comm -23 <(sort <<<"$expected") <(echo "$got"))
extra=$(comm -13 <(sort <<<"$expected") <(echo "$got") | grep -v '^usr/share/velmora/' || true)
[ -z "$missing" ] || fail "not installed: $missing"
[ -z "$extra" ] || fail "installed but not expected: $extra"
for s in 16 48 256; do
  file "$stage/usr/share/icons/hicolor/${s}x${s}/apps/velmora.png" | grep -q "$s x $s" || fail "the ${s}x${s} icon has another size"
done
grep -q '^License: GPL-3.0-or-later$' "$stage/usr/share/doc/velmora/copyright" || fail "the copyright file does not name the licence"
grep -q '<project_license>GPL-3.0-or-later</project_license>' "$stage/usr/share/metainfo/$id.metainfo.xml" || fail "the metainfo names no licence"
zcat "$stage/usr/share/man/man1/velmora.1.gz" | grep -q 'user\\-data' || fail "velmora(1) lacks --user-data"
version=$("$stage/usr/bin/velmora" --version | sed -n 's/^velmora //p')
[ -n "$version" ] || fail "velmora --version printed no version"
if "$stage/usr/bin/velmora" --no-such-option 2>"$work/err"; then fail "an unknown option was accepted"; fi
grep -q "no-such-option" "$work/err" || fail "an unknown option was refused without naming it"

echo "-- validate the menu entry and the metainfo ($SECONDS s)"
desktop-file-validate "$stage/usr/share/applications/velmora.desktop"
appstreamcli validate --no-net --pedantic "$stage/usr/share/metainfo/$id.metainfo.xml" >/dev/null ||
  appstreamcli validate --no-net --pedantic "$stage/usr/share/metainfo/$id.metainfo.xml" || fail "metainfo"

echo "-- build the Debian package ($SECONDS s)"
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/pkg" >/dev/null
deb="$work/pkg/velmora_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no $(basename "$deb") in: $(ls "$work/pkg")"
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = velmora ] || fail "package name $(field Package)"
[ "$(field Version)" = "$version" ] || fail "package version $(field Version)"
for lib in libc6 libqt6widgets6 libsqlite3-0 libpq5; do
  field Depends | grep -q "\b$lib\b" || fail "Depends lacks $lib: $(field Depends)"
done
[ "$(field Recommends)" = "mythes-en-us, wordnet-base, iso-codes" ] || fail "Recommends: $(field Recommends)"
# The package holds exactly what the staging folder holds.
debfiles=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./||' | sort)
[ "$debfiles" = "$got" ] || fail "package contents differ: $(diff <(echo "$got") <(echo "$debfiles") || true)"

echo "-- first start from the menu on an empty home folder ($SECONDS s)"
home="$work/home"
mkdir -p "$home" "$work/cwd"
command=$(sed -n 's/^Exec=//p' "$stage/usr/share/applications/velmora.desktop")
cat >"$work/start.sh" <<START
set -euo pipefail
fail() { echo "install: FAILED: \$*" >&2; exit 1; }
win() {  # waits up to \$2 seconds for a window whose title matches \$1
  for _ in \$(seq 1 \$((\$2 * 10))); do
    xdotool search --onlyvisible --name "\$1" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}
cd "$work/cwd"
$command &
app=\$!
win "^Velmora $version" 120 || fail "the main window did not come up"
echo "   main window up (\$SECONDS s)"
kill \$app; wait \$app 2>/dev/null || true
made=\$(stat -c %Y.%i "$home/.local/share/velmora/velmora.mdb") || fail "no word database in the data folder"
# The second start opens the same file at once.
$command &
app=\$!
win "^Velmora $version" 20 || fail "the main window did not come up the second time"
kill \$app; wait \$app 2>/dev/null || true
[ "\$(stat -c %Y.%i "$home/.local/share/velmora/velmora.mdb")" = "\$made" ] || fail "the word database was made again"
START
env -i PATH="$stage/usr/bin:/usr/bin:/bin" HOME="$home" LANG=C.UTF-8 xvfb-run -a bash "$work/start.sh"
words=$(sqlite3 "$home/.local/share/velmora/velmora.mdb" "SELECT COUNT(*) FROM T_Ord")
[ "$words" -gt 0 ] || fail "the word database in the data folder holds no words"
[ ! -e "$work/cwd/velmora.mdb" ] || fail "a word database was made in the folder it was started in"
echo "install: OK ($(basename "$deb"), $words words in the first word database)"
