#!/usr/bin/env bash
# Converts the same inputs with two builds of brevant-convert and fails unless
# every document, CSV file, message and exit status is the same: the check that
# a change of names and places changed nothing a user sees.
# Usage: scripts/compare-documents.sh OLD_CONVERT NEW_CONVERT [WORK_DIR]
# (WORK_DIR, emptied first, defaults to build/compare-documents).
# The inputs: samples/, a tree made from them (a folder named outside every
# code page, a hidden file, another extension, a link back up the tree, two
# inputs of one name) and hand-made vCards of the kinds the tests feed the
# engine (UTF-16 both ways, quoted-printable, folding, markup, CSV-hostile
# values, empty, binary and broken files). Every input set runs in both modes,
# with one row per file and per contact, with and without --csv, into a chosen
# folder and beside the inputs; and once more in each mode with other colours
# and border.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

if (($# < 2)); then
  echo "usage: $0 OLD_CONVERT NEW_CONVERT [WORK_DIR]" >&2
  exit 2
fi
old="$(realpath "$1")"
new="$(realpath "$2")"
work="$(realpath -m "${3:-$REPO_ROOT/build/compare-documents}")"
rm -rf "$work"
mkdir -p "$work/corpus"

# The hand-made inputs, each written as its bytes.
hand="$work/corpus/hand-made"
mkdir -p "$hand/a" "$hand/b"
crlf() { printf '%s\r\n' "$@"; }
crlf BEGIN:VCARD VERSION:2.1 'N:Müller;Jörg;;Dr.;' 'FN:Dr. Jörg Müller' \
  'NOTE;ENCODING=QUOTED-PRINTABLE;CHARSET=UTF-8:M=c3=bcller and M=C3=BCller, a soft=' \
  ' break=3D=0D=0Anext line' 'ORG;CHARSET=ISO-8859-1:Caf'$'\xe9'' Ltd;Sales' \
  'TITLE;ENCODING=QUOTED-PRINTABLE:Head=20of=20=' 'Things' END:VCARD >"$hand/quoted-printable.vcf"
crlf BEGIN:VCARD VERSION:3.0 'FN:Ann <b>Bold</b> & "Co" '\''x'\' \
  'NOTE:<script>alert("x")</script> & &amp; > <' 'URL:http://example.com/?a=1&b=<2>' \
  'EMAIL;TYPE=INTERNET:ann@example.com' 'EMAIL;TYPE=INTERNET,PREF:ann2@example.com' \
  'EMAIL:ann3@example.com' END:VCARD >"$hand/markup.vcf"
{
  crlf BEGIN:VCARD VERSION:3.0 'N:Lindqvist;Tomas;;;' 'FN:Tomas Lindqvist' 'NICKNAME:Tom' \
    'BDAY:1980-01-31' 'ROLE:Buyer' 'TITLE:Head of Purchasing' 'ORG:Lindqvist AB;Purchasing' \
    'TEL;TYPE=WORK,VOICE:+46 8 123 456' 'TEL;TYPE=WORK:+46 8 123 457' 'TEL;TYPE=HOME:+46 8 765 432' \
    'TEL;TYPE=HOME,VOICE:+46 8 765 433' 'TEL;TYPE=CELL:+46 70 000 000' 'TEL;TYPE=FAX:+46 8 111 111' \
    'ADR;TYPE=WORK:;;Storgatan 1;Stockholm;;111 22;Sweden' 'ADR;TYPE=HOME:;;Hemvägen 2;Uppsala;;753 20;Sweden' \
    'URL:https://lindqvist.example' 'URL;TYPE=WORK:https://shop.lindqvist.example' \
    'NOTE:A note that goes on and on and is folded over' ' three lines of the file, each' \
    '	started with a blank or a tab.' 'X-CUSTOM:kept out' 'PHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQSkZJRgABAQ' \
    ' AAAQABAAD/2wBDAAgGBgcGBQgHBwcJCQgKDA' END:VCARD
  crlf BEGIN:VCARD VERSION:4.0 'FN:Second Contact' 'BDAY:--0229' 'BDAY:19991231' \
    'EMAIL;TYPE=work:second@example.com' 'item1.EMAIL:grouped@example.com' END:VCARD
  crlf BEGIN:VCARD 'FN:Boss' 'AGENT:' BEGIN:VCARD 'FN:Agent' END:VCARD 'TITLE:CEO' END:VCARD
} >"$hand/several.vcf"
crlf BEGIN:VCARD VERSION:3.0 'FN:Comma, "Quote" and =SUM(A1)' 'NOTE:line one\nline two\, still' \
  'ORG:=1+2;+cmd;-x;@y' 'TITLE:eight+by' 'ROLE:ab' END:VCARD >"$hand/csv-hostile.vcf"
printf 'BEGIN:VCARD\nFN:Lf Only\nNOTE:x\nEND:VCARD\n' >"$hand/lf-only.vcf"
printf 'BEGIN:VCARD\rFN:Cr Only\rEND:VCARD\rBEGIN:VCARD\rFN:Second\rEND:VCARD' >"$hand/cr-only.vcf"
printf 'BEGIN:VCARD\r\nFN:No End\r\nEMAIL:a@b\r\nBEGIN:VCARD\r\nFN:Also\r\n' >"$hand/no-end.vcf"
: >"$hand/empty.vcf"
printf '\x00\x01\x02\xff\xfe\x00BEGIN:VCARD\r\n\x80\x81\x8d\x8f\x90\x9d\r\n' >"$hand/binary.vcf"
utf16() { printf '%s' "$2" | iconv -f UTF-8 -t "$1"; }
{
  printf '\xff\xfe'
  utf16 UTF-16LE $'BEGIN:VCARD\r\nFN:Zoë 日本 😀\r\nTEL;TYPE=HOME:+49 1\r\nEND:VCARD\r\n'
  printf 'x'  # an odd last byte
} >"$hand/utf16le.vcf"
{
  printf '\xfe\xff'
  utf16 UTF-16BE $'BEGIN:VCARD\r\nFN:Big Endian Ærø\r\nEND:VCARD\r\n'
} >"$hand/utf16be.vcf"
crlf BEGIN:VCARD 'FN:Same Name A' END:VCARD >"$hand/a/contacts.vcf"
crlf BEGIN:VCARD 'FN:Same Name B' END:VCARD >"$hand/b/contacts.vcf"
long=""
for i in $(seq 1 300); do long+="EMAIL:user$i@example.com"$'\r\n'; done
printf 'BEGIN:VCARD\r\nFN:Many Mails\r\n%sEND:VCARD\r\n' "$long" >"$hand/many-emails.vcf"

# The tree of the samples, as windows.sh builds it.
tree="$work/corpus/tree"
mkdir -p "$tree/Köln 东/deeper"
cp "$REPO_ROOT"/samples/*.vcf "$tree/"
cp "$REPO_ROOT/samples/Unicode export - Nordic office.vcf" "$tree/Köln 东/東京 office.vcf"
cp "$REPO_ROOT/samples/Ambervale team.vcf" "$tree/Köln 东/deeper/team copy.vcf"
cp "$REPO_ROOT/samples/Ambervale team.vcf" "$tree/Köln 东/notes.txt"
cp "$REPO_ROOT/samples/Ambervale team.vcf" "$tree/.hidden.vcf"
ln -s .. "$tree/Köln 东/deeper/up"
cp -r "$REPO_ROOT/samples" "$work/corpus/samples"

# convert SIDE CASE ARGS...: runs one build (old or new) on a fresh copy of the
# input set in one place, the same for both, so that messages naming paths
# agree; keeps its files, output and exit status under SIDE/CASE.
runs=0
convert() {
  local side="$1" case="$2" tool status=0
  shift 2
  tool="$old"
  [[ "$side" == new ]] && tool="$new"
  rm -rf "$work/run"
  mkdir -p "$work/run/out"
  cp -a "$work/corpus/$set" "$work/run/in"
  (cd "$work/run" && "$tool" "$@" >stdout.txt 2>stderr.txt) || status=$?
  echo "$status" >"$work/run/status.txt"
  mkdir -p "$work/$side"
  mv "$work/run" "$work/$side/$case"
}

for set in samples tree hand-made; do
  for mode in each single; do
    for rows in "" --per-contact; do
      for csv in "" --csv; do
        for place in folder beside; do
          case="$set-$mode${rows:+-per-contact}${csv:+-csv}-$place"
          args=(-v -m "$mode" ${rows:+"$rows"} ${csv:+"$csv"})
          [[ "$place" == folder ]] && args+=(-o out)
          convert old "$case" "${args[@]}" in
          convert new "$case" "${args[@]}" in
          runs=$((runs + 1))
        done
      done
    done
    case="$set-$mode-colours"
    args=(-m "$mode" --border '0" onload="x' --text-color '#1A2B3C' --background-color 0x00E0FFFF -o out)
    convert old "$case" "${args[@]}" in
    convert new "$case" "${args[@]}" in
    runs=$((runs + 1))
  done
done

diff -r --no-dereference "$work/old" "$work/new"
files=$(find "$work/new" -type f \( -name '*.htm' -o -name '*.xml' -o -name '*.csv' \) | wc -l)
echo "$runs runs of each build: $files documents and CSV files, messages and exit statuses the same bytes"
