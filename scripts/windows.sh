#!/usr/bin/env bash
# The Windows build: cross-builds brevant-convert.exe, brevant.exe and the
# engine, support, command-line, form and window tests for 64-bit Windows with
# MinGW-w64, runs the tests under Wine, checks that brevant-convert.exe writes
# the same documents as the Linux brevant-convert, drives the window; then
# builds the 32-bit programs, the installer and the portable zip of both
# architectures, and tries the installers in a fresh Wine
# (windows_install.sh). Installs what is missing (as root).
# Usage: scripts/windows.sh [LINUX_BUILD_DIR] (default build-test, built here
# when it has no brevant-convert).
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$REPO_ROOT"

LINUX_BUILD="${1:-build-test}"
WIN64_BUILD=build-win64
WIN32_BUILD=build-win32

stage "Windows tools"
missing=()
# The window's smoke test drives it in a display-less X server with xdotool
# and takes screenshots with ImageMagick.
# The installers are made with NSIS; their stub and the 32-bit programs run in
# the 32-bit Wine. Wine's own tools (wineserver, winepath) come with wine, and
# pgrep with procps, which a minimal system lacks.
for package in g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine64 wine32:i386 wine nsis googletest xvfb \
  xdotool imagemagick fonts-liberation procps libz-mingw-w64-dev; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed'; then missing+=("$package"); fi
done
if ((${#missing[@]} > 0)); then
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

# Every command of this script and of the steps it runs, before the long build
# (Wine's loaders and server are looked for where the tests run them).
PATH="/usr/lib/wine:$PATH" require_commands cmake:cmake cmake:ctest \
  g++-mingw-w64-x86-64-posix:x86_64-w64-mingw32-g++-posix g++-mingw-w64-i686-posix:i686-w64-mingw32-g++-posix \
  nsis:makensis wine64:/usr/lib/wine/wine64 wine32:i386:/usr/lib/wine/wine wine:wineserver wine:winepath \
  xvfb:Xvfb xdotool:xdotool imagemagick:import procps:pgrep

# Optimised a little and without debug information: the build is what takes time here.
cross_configure() {
  configure "$1" -DCMAKE_TOOLCHAIN_FILE="cmake/toolchains/$2.cmake" -DBREVANT_WINDOW=OFF -DBREVANT_BENCH=OFF \
    -DBREVANT_WERROR=ON -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE=-O1 "${@:3}"
}

stage "Build for 64-bit Windows into $WIN64_BUILD/"
# With the floor of the Wine benchmark (bench/tool_vs_disk_wine.sh).
cross_configure "$WIN64_BUILD" mingw-w64-x86_64 -DBREVANT_BENCH=ON
build "$WIN64_BUILD"

# A Wine of our own under the build folder, never the user's. Its server starts
# first, with standard input and output detached, so that no test waits for it
# and no background process of Wine holds ctest's pipe open.
export PATH="/usr/lib/wine:$PATH"
# No menu entries of Wine's own in the user's desktop for the installers' shortcuts.
export WINEPREFIX="$REPO_ROOT/$WIN64_BUILD/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
stage "Wine in $WINEPREFIX"
mkdir -p "$WINEPREFIX"
wineserver -p </dev/null >/dev/null 2>&1 || true  # already running for this prefix
# shellcheck source-path=SCRIPTDIR source=wine_window.sh
source "$REPO_ROOT/scripts/wine_window.sh"
display_pid=""
# Both Wines end with the script, this one and that of the installers' tests,
# and so does the X server.
end_wine() {
  local prefix
  for prefix in "$REPO_ROOT/$WIN64_BUILD/wine" "$REPO_ROOT/$WIN64_BUILD/install-test/wine"; do
    WINEPREFIX="$prefix" wineserver -k </dev/null >/dev/null 2>&1 || true
  done
  [[ -z "$display_pid" ]] || kill "$display_pid" 2>/dev/null || true
}
trap end_wine EXIT

# The window's tests and its smoke test need an X server; Wine's desktop
# process starts with the first window and stays for the later ones.
start_display "$WIN64_BUILD"
wine64 wineboot --init </dev/null >/dev/null 2>&1

stage "Tests under Wine"
# A program started under a Wine that is still settling in may fail to start
# a child process now and then, and a test that closes the window at a moment
# of a run may miss that moment on a busy machine (the window's turns follow
# Windows' 16 ms clock); each test program gets one more try, and the same
# tests run natively on Linux with no second try. A second try is never
# silent: what failed the first time is named.
ctest --test-dir "$WIN64_BUILD" --output-on-failure -j "$JOBS" --repeat until-pass:2 </dev/null
if grep -q '^\[  FAILED  \] [A-Za-z]' "$WIN64_BUILD/Testing/Temporary/LastTest.log"; then
  echo "Passed on a second try under Wine; the first try failed:"
  grep '^\[  FAILED  \] [A-Za-z]' "$WIN64_BUILD/Testing/Temporary/LastTest.log" | sort -u
fi

stage "Documents of brevant-convert.exe against those of the Linux brevant-convert"
if [[ ! -x "$LINUX_BUILD/bin/brevant-convert" ]]; then
  configure "$LINUX_BUILD" -DBREVANT_WINDOW=OFF -DBREVANT_BENCH=OFF -DBREVANT_TESTS=OFF
  build "$LINUX_BUILD" brevant-convert
fi
compare="$WIN64_BUILD/compare"
rm -rf "$compare"
# A tree of the samples: a sub-folder with names outside every code page, a
# hidden file, a file of another extension and a link back up the tree.
tree="$compare/tree"
mkdir -p "$tree/Köln 东/deeper"
cp samples/*.vcf "$tree/"
cp "samples/Unicode export - Nordic office.vcf" "$tree/Köln 东/東京 office.vcf"
cp "samples/Ambervale team.vcf" "$tree/Köln 东/deeper/team copy.vcf"
cp "samples/Ambervale team.vcf" "$tree/Köln 东/notes.txt"
cp "samples/Ambervale team.vcf" "$tree/.hidden.vcf"
ln -s .. "$tree/Köln 东/deeper/up"
documents=0
for input in samples "$tree"; do
  for mode in each single; do
    for rows in "" --per-contact; do
      name="$(basename "$input")-$mode${rows:+-per-contact}"
      mkdir -p "$compare/linux/$name" "$compare/windows/$name"
      # Every document with its CSV file and its .xlsx workbook.
      "$LINUX_BUILD/bin/brevant-convert" -q -m "$mode" $rows --csv --xlsx -o "$compare/linux/$name" "$input"
      wine64 "$WIN64_BUILD/bin/brevant-convert.exe" -q -m "$mode" $rows --csv --xlsx -o "$compare/windows/$name" "$input" </dev/null
      documents=$((documents + $(find "$compare/linux/$name" -type f | wc -l)))
    done
  done
done
diff -r "$compare/linux" "$compare/windows"
echo "$documents documents, CSV files and workbooks, the same bytes from both builds"

stage "The window, brevant.exe, driven under Wine in Xvfb"
bash "$REPO_ROOT/scripts/window_smoke.sh" "$WIN64_BUILD"

stage "Build for 32-bit Windows into $WIN32_BUILD/, and the downloads of both"
cross_configure "$WIN32_BUILD" mingw-w64-i686 -DBREVANT_TESTS=OFF
build "$WIN32_BUILD" brevant_downloads
build "$WIN64_BUILD" brevant_downloads
ls -l "$WIN64_BUILD"/Brevant-*-x64-* "$WIN32_BUILD"/Brevant-*-x86-*

stage "The 32-bit programs and a file too large for them"
# Large-address-aware: 4 GB of room on 64-bit Windows instead of 2 GB.
for program in brevant-convert.exe brevant.exe; do
  headers="$(i686-w64-mingw32-objdump -p "$WIN32_BUILD/bin/$program")"
  grep -q 'large address aware' <<<"$headers" || {
    echo "$program is not large-address-aware" >&2
    exit 1
  }
done
# A 3 GB input (sparse: no disk taken) fits no 32-bit program: it fails,
# says that the 64-bit build converts it, counts as failed, and the earlier
# document stays.
large="$WIN32_BUILD/too-large"
rm -rf "$large"
mkdir -p "$large"
truncate -s 3G "$large/large.vcf"
echo "earlier document" >"$large/large.htm"
status=0
wine "$WIN32_BUILD/bin/brevant-convert.exe" "$(windows_path "$large/large.vcf")" </dev/null 2>"$large/err.txt" ||
  status=$?
cat "$large/err.txt"
if ((status != 1)) || ! grep -q 'too large for the 32-bit Brevant; the 64-bit Brevant converts it' "$large/err.txt" ||
  ! grep -q '0 with nothing to convert, 1 failed' "$large/err.txt" ||
  [[ "$(cat "$large/large.htm")" != "earlier document" ]]; then
  echo "the 32-bit brevant-convert.exe did not fail the 3 GB file as too large, keeping the earlier document" >&2
  exit 1
fi
rm -rf "$large"

bash "$REPO_ROOT/scripts/windows_install.sh" "$WIN64_BUILD" "$WIN32_BUILD" "$compare"
