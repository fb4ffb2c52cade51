#!/usr/bin/env bash
# Installs the build into a temporary root (cmake --install with DESTDIR) and checks the installed copy: every
# shipped data file, the programs, the menu entry, the icon and the AppStream file are where a desktop expects
# them, and the installed programs run against the installed data. When the build folder holds a .deb made by
# tools/package.sh from this build, its contents and dependencies are checked as well.
#   install_tree_test.sh BUILD_DIR SOURCE_DIR SIGNALS_DIR VERSION
set -uo pipefail
build="$1"
source="$2"
signals="$3"
version="$4"

work="$build/install-test"
root="$work/root"
prefix="$root/usr"
failures=0
fail() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}
expect_file() { [ -f "$1" ] || fail "missing $1"; }
expect_program() { [ -x "$1" ] || fail "missing program $1"; }

rm -rf "$work"
mkdir -p "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
if ! DESTDIR="$root" cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1; then
  cat "$work/install.log" >&2
  fail "cmake --install failed"
  exit 1
fi

# --- the files
for program in spectrel spectrel-cli spectrel-virtual-board; do expect_program "$prefix/bin/$program"; done
while IFS= read -r -d '' file; do
  relative="${file#"$source/data/"}"
  installed="$prefix/share/spectrel/$relative"
  if [ ! -f "$installed" ]; then
    fail "shipped file not installed: share/spectrel/$relative"
  elif ! cmp -s "$file" "$installed"; then
    fail "installed share/spectrel/$relative differs from data/$relative"
  fi
done < <(find "$source/data" -type f -print0)
desktop="$prefix/share/applications/spectrel.desktop"
icon="$prefix/share/icons/hicolor/scalable/apps/spectrel.svg"
metainfo="$prefix/share/metainfo/com.halvrendidaziravu.spectrel.metainfo.xml"
expect_file "$desktop"
expect_file "$icon"
expect_file "$metainfo"
grep -qx 'Exec=spectrel' "$desktop" || fail "the desktop entry does not start bin/spectrel"
grep -qx 'Icon=spectrel' "$desktop" || fail "the desktop entry does not name the installed icon"
grep -q '<svg' "$icon" || fail "the icon is not an SVG picture"
grep -q '<launchable type="desktop-id">spectrel.desktop</launchable>' "$metainfo" ||
  fail "the AppStream file does not name the desktop entry"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the AppStream file lacks release $version"

# --- the installed programs, with a home of their own
export HOME="$work/home" XDG_DATA_HOME="$work/home/data" XDG_CONFIG_HOME="$work/home/config"
export XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=offscreen
cd "$work" || exit 1

out="$("$prefix/bin/spectrel" --version 2>&1)"
[ "$out" = "Spectrel $version" ] || fail "spectrel --version printed '$out'"
out="$("$prefix/bin/spectrel-cli" --version 2>&1)"
[ "$out" = "spectrel-cli $version" ] || fail "spectrel-cli --version printed '$out'"

# Without a board on any port the virtual board answers.
out="$("$prefix/bin/spectrel" --detect 2>"$work/detect.err")"
status=$?
[ "$status" -eq 0 ] && [ "$out" = "Reader 1.3" ] ||
  fail "spectrel --detect exited $status printing '$out' ($(cat "$work/detect.err"))"

# A recorded remote learns with the installed programs and settings file, and the device file is written.
recorded="$signals/01_prinz_dvd_t182.ir"
if [ -f "$recorded" ]; then
  out="$("$prefix/bin/spectrel-cli" learn "$recorded" \
    --settings "$prefix/share/spectrel/SPX.ini" --out "$work/dvd.xml" 2>"$work/learn.err")"
  status=$?
  [ "$status" -eq 0 ] || fail "spectrel-cli learn exited $status: $(cat "$work/learn.err")"
  expect_file "$work/dvd.xml"
else
  echo "no recorded remotes in $signals: the recorded remote is not learned"
fi
# A generated NEC remote (from the installed board program) is matched to the standard protocol of the installed
# settings file.
"$prefix/bin/spectrel-virtual-board" --nec 0,0x45 --nec 0,0x46 --nec 0,0x47 --print >"$work/nec.txt" ||
  fail "spectrel-virtual-board --print failed"
out="$("$prefix/bin/spectrel-cli" learn "$work/nec.txt" --settings "$prefix/share/spectrel/SPX.ini" 2>&1)"
grep -q 'T,T,"NEC",' <<<"$out" || fail "spectrel-cli learn did not match NEC from the installed SPX.ini: $out"

# The window of an installed copy keeps its files in the per-user folder, seeded from the installed data.
"$prefix/bin/spectrel" --no-splash >"$work/window.log" 2>&1 || fail "spectrel did not start: $(cat "$work/window.log")"
appfolder="$XDG_DATA_HOME/Halvren Didaziravu Systems/Spectrel"
expect_file "$appfolder/SPX.ini"
for relative in "TV.brd" "Button Templates/DVD Blu-ray.btn" "ButtonImages/0.bmp"; do
  expect_file "$appfolder/$relative"
done
[ -z "$(find "$prefix/bin" -name 'SPX.ini')" ] || fail "the installed program wrote beside its executables"
cmp -s "$source/data/SPX.ini" "$prefix/share/spectrel/SPX.ini" || fail "the installed SPX.ini was changed"

# --- the package, when tools/package.sh made one from this build
deb="$(find "$build" -maxdepth 1 -name 'spectrel_*.deb' | head -n 1)"
if [ -n "$deb" ] && command -v dpkg-deb >/dev/null; then
  listing="$(dpkg-deb -c "$deb")"
  for path in ./usr/bin/spectrel ./usr/bin/spectrel-cli ./usr/share/spectrel/SPX.ini \
    ./usr/share/applications/spectrel.desktop ./usr/share/icons/hicolor/scalable/apps/spectrel.svg \
    ./usr/share/metainfo/com.halvrendidaziravu.spectrel.metainfo.xml; do
    grep -q " $path\$" <<<"$listing" || fail "$deb lacks $path"
  done
  depends="$(dpkg-deb -f "$deb" Depends)"
  for package in libqt6widgets6 libqt6serialport6 libqt6svg6 qt6-qpa-plugins; do
    grep -q "$package" <<<"$depends" || fail "$deb does not depend on $package (Depends: $depends)"
  done
else
  echo "no .deb in $build: the package is not checked"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures failures" >&2
  exit 1
fi
echo "installed tree OK"
