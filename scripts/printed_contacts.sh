#!/usr/bin/env bash
# Shows a 300-contact export with pictures, converted with one row per
# contact, in headless Chromium: a screenshot of the table on screen and a
# print to PDF. Fails unless every filled cell of the document is in the PDF's
# text ("caption: value" lines) and every embedded picture is one of its images.
# A developer's check, not part of test.sh. Installs what is missing (as root).
# Usage: scripts/printed_contacts.sh [BUILD_DIR] (default build, where
# brevant-convert is built when missing). Leaves export.vcf, export.htm,
# screen.png, export.pdf, its text and page-N.png in BUILD_DIR/printed to look at.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$REPO_ROOT"

BUILD="${1:-build}"

stage "Chromium, ImageMagick, poppler and the fonts for the names"
missing=()
for package in chromium imagemagick poppler-utils python3 fonts-noto-cjk fonts-dejavu-core; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed'; then missing+=("$package"); fi
done
if ((${#missing[@]} > 0)); then
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi
if [[ ! -x "$BUILD/bin/brevant-convert" ]]; then
  configure "$BUILD" -DCMAKE_BUILD_TYPE=Release -DBREVANT_WINDOW=OFF -DBREVANT_BENCH=OFF -DBREVANT_TESTS=OFF
  build "$BUILD" brevant-convert
fi

work="$BUILD/printed"
rm -rf "$work"
mkdir -p "$work"

stage "A 300-contact export with pictures"
python3 scripts/contact_export.py 300 >"$work/export.vcf"
"$BUILD/bin/brevant-convert" --per-contact -o "$work" "$work/export.vcf"

stage "Shown and printed by Chromium"
# A profile of its own, and nothing that reaches out to a server.
chrome() {
  chromium --headless --no-sandbox --disable-gpu --disable-background-networking --disable-component-update \
    --disable-sync --no-first-run --user-data-dir="$REPO_ROOT/$work/profile" "$@" </dev/null 2>>"$work/chromium.log"
}
page="file://$REPO_ROOT/$work/export.htm"
chrome --window-size=1600,1000 --screenshot="$REPO_ROOT/$work/screen.png" "$page"
chrome --no-pdf-header-footer --print-to-pdf="$REPO_ROOT/$work/export.pdf" "$page"
pdftoppm -png -r 60 "$work/export.pdf" "$work/page"
pdftotext -enc UTF-8 "$work/export.pdf" "$work/export.txt"
# Text in reading order takes glyphs of another font (CJK names) out of their
# line; the layout keeps them there, but breaks lines that wrap. Either will do.
pdftotext -layout -enc UTF-8 "$work/export.pdf" "$work/layout.txt"
pdfimages -list "$work/export.pdf" >"$work/images.txt"

stage "Every filled cell on paper"
python3 - "$work" <<'EOF'
import re
import sys
import xml.etree.ElementTree as ET

work = sys.argv[1]
ns = {"h": "http://www.w3.org/1999/xhtml"}
root = ET.parse(work + "/export.htm").getroot()
captions = [th.text or "" for th in root.findall(".//h:thead/h:tr/h:th", ns)]
printed = [re.sub(r"\s+", "", open(work + name, encoding="utf-8").read()) for name in ("/export.txt", "/layout.txt")]
missing = []
cells = pictures = 0
for row in root.findall(".//h:tbody/h:tr", ns):
    for caption, cell in zip(captions, row.findall("h:td", ns)):
        if cell.find("h:img", ns) is not None:
            pictures += 1
            continue
        text = "".join(cell.itertext())
        if not text.strip():
            continue
        cells += 1
        if not any(re.sub(r"\s+", "", caption + ": " + text) in each for each in printed):
            missing.append(caption + ": " + text)
images = sum(1 for line in open(work + "/images.txt").read().splitlines()[2:] if line.strip())
print(f"{cells} filled cells, {len(missing)} of them not in the PDF; "
      f"{pictures} pictures in the document, {images} images in the PDF")
for line in missing[:20]:
    print("  missing:", line)
sys.exit(1 if missing or images < pictures else 0)
EOF
echo "Look at $work/screen.png and $work/page-*.png."
