#!/usr/bin/env bash
# The window's smoke test, a step of windows.sh once brevant.exe is built and
# Wine and an X server run: the window driven as a user would drive it, its
# documents compared with those of brevant-convert.exe, a close in the middle
# of a run, and two screenshots.
# Usage: WINEPREFIX=... DISPLAY=... scripts/window_smoke.sh WIN64_BUILD
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
# shellcheck source-path=SCRIPTDIR source=wine_window.sh
source "$REPO_ROOT/scripts/wine_window.sh"
cd "$REPO_ROOT"
WIN64_BUILD="${1:?the 64-bit build folder}"
: "${WINEPREFIX:?the Wine prefix}" "${DISPLAY:?an X server}"
export PATH="/usr/lib/wine:$PATH"
smoke="$WIN64_BUILD/window-smoke"
rm -rf "$smoke"
mkdir -p "$smoke"
exe="$WIN64_BUILD/bin/brevant.exe"
wine64 "$exe" --version </dev/null | grep -q '^brevant ' || {
  echo "brevant.exe --version printed no version" >&2
  exit 1
}
# Each way of converting: the window loads the samples, converts them, and its
# documents must be the same bytes as those of brevant-convert.exe. With one
# row per contact each document also gets its CSV file and its workbook.
first=1
for mode in single each; do
  for rows in "" --per-contact; do
    csv="${rows:+--csv}"
    xlsx="${rows:+--xlsx}"
    name="$mode${rows:+-per-contact-csv}"
    mkdir -p "$smoke/window/$name" "$smoke/tool/$name"
    window_settings "Option1=$([[ $mode == single ]] && echo True || echo False)" \
      "Option2=$([[ $mode == each ]] && echo True || echo False)" Option3=True Option4=False \
      "OneRowPerContact=$([[ -n $rows ]] && echo True || echo False)" \
      "SaveCsv=$([[ -n $csv ]] && echo True || echo False)" \
      "SaveXlsx=$([[ -n $xlsx ]] && echo True || echo False)" \
      "Text1=$(windows_path "$smoke/window/$name")\\"
    window_start "$exe" "$smoke/report.txt"
    window_click PushButton3
    window_answer n  # do not open the samples folder
    if ((first)); then
      import -window root "$smoke/samples-loaded.png"
      first=0
    fi
    window_click PushButton2
    window_answer Return 120  # "Done."
    window_close
    grep -qx 'rows 7' "$smoke/report.txt" || {
      echo "the window did not list the 7 samples" >&2
      exit 1
    }
    wine64 "$WIN64_BUILD/bin/brevant-convert.exe" -q -m "$mode" $rows ${csv:+"$csv"} ${xlsx:+"$xlsx"} -o "$smoke/tool/$name" \
      "$WIN64_BUILD/bin/Samples" </dev/null
  done
done
diff -r "$smoke/tool" "$smoke/window"
echo "$(find "$smoke/window" -type f | wc -l) documents, CSV files and workbooks of the window, the same bytes as the tool's"

# Closing in the middle of a run over 1,000 files, each with a document of an
# earlier run: the program ends, every document is the earlier one or a
# complete new one, and no temporary file is left.
close="$smoke/close"
mkdir -p "$close/in" "$close/out" "$close/tool"
samples=("$WIN64_BUILD"/bin/Samples/*.vcf)
for i in $(seq 1 1000); do
  cp "${samples[i % ${#samples[@]}]}" "$close/in/contact$i.vcf"
  printf 'an earlier document\n' >"$close/out/contact$i.htm"
done
wine64 "$WIN64_BUILD/bin/brevant-convert.exe" -q -m each -o "$close/tool" "$close/in" </dev/null
window_settings Option1=False Option2=True Option3=True Option4=False OneRowPerContact=False SaveCsv=False SaveXlsx=False \
  "Text1=$(windows_path "$close/out")\\"
window_start "$exe" "$smoke/report.txt" "$(windows_path "$close/in")"
window_click PushButton2
window_busy
# Close once the run is into the files: past its look at every input, one
# earlier document has been replaced.
for _ in $(seq 1 200); do
  [[ -n "$(grep -L -x 'an earlier document' "$close"/out/contact*.htm | head -n 1)" ]] && break
  sleep 0.05
done
import -window root "$smoke/mid-run.png"
closed_at=$(date +%s%N)
window_close 20
echo "the run ended and the window's message loop with it $(($(awk '$1 == "closed" { print $2 }' "$smoke/report.txt") / 1000)) ms after the close;" \
  "the process $((($(date +%s%N) - closed_at) / 1000000)) ms after it (Wine without a window manager waits 2 s for one)"
kept=0
replaced=0
for i in $(seq 1 1000); do
  document="$close/out/contact$i.htm"
  if [[ "$(cat "$document")" == "an earlier document" ]]; then
    kept=$((kept + 1))
  else
    cmp "$close/tool/contact$i.htm" "$document"
    replaced=$((replaced + 1))
  fi
done
leftovers="$(find "$close/out" -mindepth 1 ! -name 'contact*.htm')"
if [[ -n "$leftovers" || $kept -eq 0 || $replaced -eq 0 ]]; then
  echo "the closed run left files behind or was not closed in the middle: ${leftovers:-no earlier document kept}" >&2
  exit 1
fi
echo "closed in the middle of its run: $replaced documents complete and new, $kept earlier ones as they were"
echo "Screenshots: $smoke/samples-loaded.png, $smoke/mid-run.png"

