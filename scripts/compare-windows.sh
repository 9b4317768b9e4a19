#!/usr/bin/env bash
# Takes screenshots of two builds of the window in the same states and fails
# unless they are the same pixels (ImageMagick's compare -metric AE gives 0):
# the check that a change of names and places left the window as it was.
# Usage: scripts/compare-windows.sh WORK_DIR OLD_BREVANT NEW_BREVANT [OLD_EXE NEW_EXE]
# OLD_BREVANT, NEW_BREVANT: the Qt window (Linux); OLD_EXE, NEW_EXE: brevant.exe,
# shot under Wine (a Wine of its own in WORK_DIR/wine). Each window is shot on a
# first start and with every option stored away from its default and the
# samples given on the command line. The pictures stay in WORK_DIR to look at.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

if (($# != 3 && $# != 5)); then
  echo "usage: $0 WORK_DIR OLD_BREVANT NEW_BREVANT [OLD_EXE NEW_EXE]" >&2
  exit 2
fi
require_commands xvfb:xvfb-run xauth:xauth xdotool:xdotool imagemagick:import imagemagick:compare
if (($# == 5)); then
  PATH="/usr/lib/wine:$PATH" require_commands wine64:/usr/lib/wine/wine64 wine:wineserver xvfb:Xvfb
fi
work="$(realpath -m "$1")"
rm -rf "$work"
mkdir -p "$work"
samples="$REPO_ROOT/samples"
differ=0

# same OLD.png NEW.png: compares two screenshots, keeps the difference picture.
same() {
  local pixels
  pixels="$(compare -metric AE "$1" "$2" "${2%.png}-difference.png" 2>&1 || true)"
  echo "$(basename "${2%.png}"): $pixels pixels differ"
  [[ "$pixels" == 0 ]] || differ=1
}

# qt_shot BREVANT PICTURE STATE: the Qt window in a display of its own, with a
# home and settings of its own; STATE is first-start or stored.
qt_shot() {
  local home="$work/qt-home"
  rm -rf "$home"
  mkdir -p "$home/Desktop" "$home/config/Ambervale" "$home/out"
  local args=()
  if [[ "$3" == stored ]]; then
    cat >"$home/config/Ambervale/Brevant.conf" <<EOF
[Brevant]
Border%20Width=3
Option1=False
Option2=True
Text%20Color=255
Background%20Color=65535
Text1=$home/out/
Option3=False
Option4=True
OneRowPerContact=True
SaveCsv=True
EOF
    args=("$samples")
  fi
  # shellcheck disable=SC2016 # expanded by the inner shell
  PICTURE="$2" HOME="$home" XDG_CONFIG_HOME="$home/config" xvfb-run -a -s "-screen 0 1024x768x24 -noreset" \
    sh -c 'xdotool mousemove 0 0; "$0" "$@" & pid=$!
           xdotool search --sync --onlyvisible --name "^Brevant$" >/dev/null; sleep 3
           import -window root "$PICTURE"; kill $pid' "$1" "${args[@]}"
}

for state in first-start stored; do
  qt_shot "$2" "$work/qt-$state-old.png" "$state"
  qt_shot "$3" "$work/qt-$state-new.png" "$state"
  same "$work/qt-$state-old.png" "$work/qt-$state-new.png"
done

if (($# == 5)); then
  export PATH="/usr/lib/wine:$PATH" WINEPREFIX="$work/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  mkdir -p "$WINEPREFIX"
  wineserver -p </dev/null >/dev/null 2>&1 || true
  # shellcheck source-path=SCRIPTDIR source=wine_window.sh
  source "$REPO_ROOT/scripts/wine_window.sh"
  display_pid=""
  trap 'wineserver -k </dev/null >/dev/null 2>&1 || true; [[ -z "$display_pid" ]] || kill "$display_pid" 2>/dev/null || true' EXIT
  start_display "$work"
  wine64 wineboot --init </dev/null >/dev/null 2>&1
  xdotool mousemove 0 0
  # win32_shot EXE PICTURE STATE
  win32_shot() {
    wine64 reg delete 'HKCU\Software\Ambervale' /f </dev/null >/dev/null 2>&1 || true
    local args=()
    if [[ "$3" == stored ]]; then
      window_settings "Border Width=3" Option1=False Option2=True "Text Color=255" "Background Color=65535" \
        "Text1=$(windows_path "$work/out")\\" Option3=False Option4=True OneRowPerContact=True SaveCsv=True
      args=("$(windows_path "$samples")")
    fi
    window_start "$1" "$work/report.txt" "${args[@]}"
    sleep 3
    import -window root "$2"
    window_close
  }
  for state in first-start stored; do
    win32_shot "$4" "$work/win32-$state-old.png" "$state"
    win32_shot "$5" "$work/win32-$state-new.png" "$state"
    same "$work/win32-$state-old.png" "$work/win32-$state-new.png"
  done
fi

if ((differ)); then
  echo "the windows differ; the pictures are in $work" >&2
  exit 1
fi
echo "the same pixels; the pictures are in $work"
