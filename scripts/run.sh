#!/usr/bin/env bash
# Builds everything (Release) and opens the window, brevant. Without a display
# it says so and converts the bundled sample vCards with brevant-convert
# instead, once into one document per file and once into a single document.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$REPO_ROOT"

stage "Dependencies"
bash scripts/deps.sh
require_commands cmake:cmake

stage "Build (Release) into build/"
configure build -DCMAKE_BUILD_TYPE=Release -DBREVANT_TESTS=OFF
build build brevant brevant-convert brevant_samples

if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
  stage "Opening the window"
  exec build/bin/brevant
fi

echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): converting the samples with brevant-convert instead."

converter=build/bin/brevant-convert
samples=(build/bin/Samples/*.vcf)
output=build/Converted
rm -rf "$output"
mkdir -p "$output"

stage "Convert each sample to its own document"
"$converter" --mode each --output-dir "$output" "${samples[@]}"

stage "Convert all samples into one document"
"$converter" --mode single --output-dir "$output" "${samples[@]}"

stage "Documents written to $REPO_ROOT/$output"
ls -l "$output"
