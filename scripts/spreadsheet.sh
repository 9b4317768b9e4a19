#!/usr/bin/env bash
# Opens the CSV file and the .xlsx workbook of a 300-contact export in
# LibreOffice Calc without a display, and fails unless every name of the export
# reads right in what Calc makes of the CSV file, and every name, telephone
# number and postal code reads exactly as written, as text, in what it makes of
# the workbook. Names with accents, CJK, Cyrillic, Greek and emoji; telephone
# numbers with "+" and leading zeros; postal codes with leading zeros; notes
# with commas, quotes and line breaks; a value that would be a formula.
# A developer's check, not part of test.sh: LibreOffice is large. Installs what
# is missing (as root). Usage: scripts/spreadsheet.sh [BUILD_DIR] (default
# build, where brevant-convert is built when missing). Leaves the export and
# page-1.png (the CSV file in Calc) and xlsx-page-1.png (the workbook in Calc)
# in BUILD_DIR/spreadsheet to look at, and what Calc made in from-csv/ and from-xlsx/.
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
: >"$work/numbers.txt"
for ((i = 0; i < 300; i++)); do
  first="${given[i % ${#given[@]}]}"
  last="${family[(i * 7) % ${#family[@]}]}"
  name="$first $last $i"
  echo "$name" >>"$work/names.txt"
  # What spreadsheets like to take for numbers: a mobile number in the
  # international form, a landline with its trunk zero, a postal code with a
  # leading zero.
  mobile=$(printf '+4916224%05d' "$i")
  landline=$(printf '0176233%05d' "$i")
  postal=$(printf '0%04d' $((2100 + i)))
  printf '%s\n' "$mobile" "$landline" "$postal" >>"$work/numbers.txt"
  note="Met at the fair\\, table $i.\\nAsk for \"$first\"."
  ((i == 150)) && note="=HYPERLINK(\"http://example.org\"\\,\"click\")"
  printf 'BEGIN:VCARD\r\nVERSION:3.0\r\nFN:%s\r\nN:%s;%s;;;\r\nEMAIL;TYPE=INTERNET:person%d@example.org\r\nTEL;TYPE=CELL:%s\r\nTEL;TYPE=WORK:+1 555-%04d\r\nTEL;TYPE=HOME:%s\r\nADR;TYPE=HOME:;;%d Main St;Boston;MA;%s;USA\r\nNOTE:%s\r\nEND:VCARD\r\n' \
    "$name" "$last" "$first" "$i" "$mobile" "$i" "$landline" "$i" "$postal" "$note" >>"$work/export.vcf"
done
"$BUILD/bin/brevant-convert" -q --per-contact --csv --xlsx -o "$work" "$work/export.vcf"
echo "$work/export.csv: $(wc -c <"$work/export.csv") bytes; $work/export.xlsx: $(wc -c <"$work/export.xlsx") bytes"

stage "The CSV file opened in LibreOffice Calc"
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
office --infilter="$utf8" --convert-to xlsx --outdir "$work/from-csv" "$work/export.csv"
office --infilter="$utf8" --convert-to pdf --outdir "$work/from-csv" "$work/export.csv"
pdftoppm -png -r 70 -f 1 -l 1 -singlefile "$work/from-csv/export.pdf" "$work/page-1"
read_right=$(names_read "$work/from-csv/export.xlsx")
wrong=$((300 - read_right))
# The mark is no part of the first caption.
if [[ "$(grep -m 1 . "$work/strings.txt")" != "Display Name" ]]; then
  echo "the first caption is not \"Display Name\""
  wrong=$((wrong + 1))
fi
# The formula stays text, with the apostrophe in front that keeps it so.
if unzip -p "$work/from-csv/export.xlsx" xl/worksheets/sheet1.xml | grep -q "<f>"; then
  echo "the spreadsheet holds a formula"
  wrong=$((wrong + 1))
fi
echo "UTF-8 import: $read_right of 300 names read right"

# For the record: without being told, Calc's conversion takes the file in the
# system's 8-bit character set, whatever mark it starts with.
cp "$work/export.csv" "$work/defaults.csv"
office --convert-to xlsx --outdir "$work/from-csv" "$work/defaults.csv"
echo "Import with its defaults: $(names_read "$work/from-csv/defaults.xlsx") of 300 names read right"

stage "The workbook opened in LibreOffice Calc"
# Calc saves what it read as CSV in UTF-8, every text cell in quotes: a value
# it took for a number would stand without them, "+" and leading zeros gone.
office --convert-to "csv:$utf8" --outdir "$work/from-xlsx" "$work/export.xlsx"
office --convert-to pdf --outdir "$work/from-xlsx" "$work/export.xlsx"
pdftoppm -png -r 70 -f 1 -l 1 -singlefile "$work/from-xlsx/export.pdf" "$work/xlsx-page-1"
# texts_read FILE: how many lines of FILE stand as a text field of the CSV Calc saved.
texts_read() {
  awk -v wanted="$1" 'BEGIN { while ((getline text < wanted) > 0) { want[text] = 1; total++ } }
    { line = "," $0 ","; for (text in want) if (index(line, ",\"" text "\",")) { found[text] = 1 } }
    END { n = 0; for (text in found) n++; print n }' "$work/from-xlsx/export.csv"
}
names_right=$(texts_read "$work/names.txt")
numbers_right=$(texts_read "$work/numbers.txt")
echo "Workbook: $names_right of 300 names and $numbers_right of 900 telephone numbers and postal codes read as written"
wrong=$((wrong + 300 - names_right + 900 - numbers_right))
if [[ "$(head -c 15 "$work/from-xlsx/export.csv")" != '"Display Name",' ]]; then
  echo "the workbook's first caption is not \"Display Name\""
  wrong=$((wrong + 1))
fi
# A formula would be saved as its result, "click".
if ! grep -qF '"=HYPERLINK(""http://example.org"",""click"")"' "$work/from-xlsx/export.csv"; then
  echo "the workbook's formula-like note did not stay text"
  wrong=$((wrong + 1))
fi

if ((wrong > 0)); then
  echo "$wrong problems"
  exit 1
fi
echo "Every name, number and postal code reads right; no formula. Look at $work/page-1.png and $work/xlsx-page-1.png."
