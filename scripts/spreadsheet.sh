#!/usr/bin/env bash
# Opens the CSV file of a 300-contact export in LibreOffice Calc without a
# display, and fails unless every name of the export reads right in the
# spreadsheet it makes. Names with accents, CJK, Cyrillic, Greek and emoji;
# notes with commas, quotes and line breaks; a value that would be a formula.
# A developer's check, not part of test.sh: LibreOffice is large. Installs what
# is missing (as root). Usage: scripts/spreadsheet.sh [BUILD_DIR] (default
# build, where brevant-convert is built when missing). Leaves export.csv,
# export.xlsx, export.pdf and page-1.png in BUILD_DIR/spreadsheet to look at.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$REPO_ROOT"

BUILD="${1:-build}"

stage "LibreOffice Calc and the fonts for the names"
missing=()
for package in libreoffice-calc-nogui poppler-utils unzip fonts-noto-cjk fonts-noto-color-emoji fonts-dejavu-core; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed'; then missing+=("$package"); fi
done
if ((${#missing[@]} > 0)); then
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi
require_commands cmake:cmake libreoffice-calc-nogui:soffice poppler-utils:pdftoppm unzip:unzip
if [[ ! -x "$BUILD/bin/brevant-convert" ]]; then
  configure "$BUILD" -DCMAKE_BUILD_TYPE=Release -DBREVANT_WINDOW=OFF -DBREVANT_BENCH=OFF -DBREVANT_TESTS=OFF
  build "$BUILD" brevant-convert
fi

work="$BUILD/spreadsheet"
rm -rf "$work"
mkdir -p "$work"

stage "A 300-contact export"
given=(Zoë François Łukasz Søren Ævar Ñusta Çağla Dvořák Ingrid Åsa
  太郎 小龙 민준 芳 花子 Женя Дмитрий Ольга Νίκος Ελένη
  "Ana 🎸" "😀 Joy" "Chef 👩‍🍳" Émile Jürgen Dóra Ştefan Zdeněk Ľubica Ōsaka)
family=(Dupont Lefèvre Wójcik Kierkegård Þórsson Muñoz Yılmaz Čapek Ångström Øster
  田中 李 김 王 佐藤 Иванова Шостакович Петрова Καζαντζάκης Παπαδοπούλου)
: >"$work/names.txt"
for ((i = 0; i < 300; i++)); do
  first="${given[i % ${#given[@]}]}"
  last="${family[(i * 7) % ${#family[@]}]}"
  name="$first $last $i"
  echo "$name" >>"$work/names.txt"
  note="Met at the fair\\, table $i.\\nAsk for \"$first\"."
  ((i == 150)) && note="=HYPERLINK(\"http://example.org\"\\,\"click\")"
  printf 'BEGIN:VCARD\r\nVERSION:3.0\r\nFN:%s\r\nN:%s;%s;;;\r\nEMAIL;TYPE=INTERNET:person%d@example.org\r\nTEL;TYPE=CELL:+1 555-%04d\r\nNOTE:%s\r\nEND:VCARD\r\n' \
    "$name" "$last" "$first" "$i" "$i" "$note" >>"$work/export.vcf"
done
"$BUILD/bin/brevant-convert" -q --per-contact --csv -o "$work" "$work/export.vcf"
echo "$work/export.csv: $(wc -c <"$work/export.csv") bytes"

stage "Opened in LibreOffice Calc"
# A profile of its own, never the user's.
office() {
  soffice -env:UserInstallation="file://$REPO_ROOT/$work/profile" --headless "$@" </dev/null >/dev/null
}
# names_read XLSX: how many names of the export the spreadsheet holds as
# written. Its texts, one a line (a text of several scripts comes in runs, one
# font each).
names_read() {
  unzip -p "$1" xl/sharedStrings.xml | sed 's#</si>#\n#g' | sed 's/<[^>]*>//g' >"$work/strings.txt"
  local name count=0
  while IFS= read -r name; do
    if grep -qFx "$name" "$work/strings.txt"; then count=$((count + 1)); fi
  done <"$work/names.txt"
  echo "$count"
}
# Calc's import told that the file is UTF-8 (character set 76), as its import
# dialog offers for a file that starts with the byte-order mark.
utf8="Text - txt - csv (StarCalc):44,34,76,1"
office --infilter="$utf8" --convert-to xlsx --outdir "$work" "$work/export.csv"
office --infilter="$utf8" --convert-to pdf --outdir "$work" "$work/export.csv"
pdftoppm -png -r 70 -f 1 -l 1 -singlefile "$work/export.pdf" "$work/page-1"
read_right=$(names_read "$work/export.xlsx")
wrong=$((300 - read_right))
# The mark is no part of the first caption.
if [[ "$(grep -m 1 . "$work/strings.txt")" != "Display Name" ]]; then
  echo "the first caption is not \"Display Name\""
  wrong=$((wrong + 1))
fi
# The formula stays text, with the apostrophe in front that keeps it so.
if unzip -p "$work/export.xlsx" xl/worksheets/sheet1.xml | grep -q "<f>"; then
  echo "the spreadsheet holds a formula"
  wrong=$((wrong + 1))
fi
echo "UTF-8 import: $read_right of 300 names read right"

# For the record: without being told, Calc's conversion takes the file in the
# system's 8-bit character set, whatever mark it starts with.
cp "$work/export.csv" "$work/defaults.csv"
office --convert-to xlsx --outdir "$work" "$work/defaults.csv"
echo "Import with its defaults: $(names_read "$work/defaults.xlsx") of 300 names read right"

if ((wrong > 0)); then
  echo "$wrong problems"
  exit 1
fi
echo "Every name reads right; no formula. Look at $work/page-1.png."
