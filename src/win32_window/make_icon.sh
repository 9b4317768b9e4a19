#!/usr/bin/env bash
# Makes brevant.ico, the Windows program's icon, from the program's own icon
# pictures (packaging/icons): 16, 32, 48, 128 and 256 pixels, the largest kept
# as PNG inside the icon (Explorer's large and extra large icons). Run by hand
# when the pictures change; needs ImageMagick.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
icons="$here/../../packaging/icons"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
convert "$icons/128x128/example.ambervale.Brevant.png" -resize 16x16 "$work/16.png"
convert "$icons/128x128/example.ambervale.Brevant.png" -resize 32x32 "$work/32.png"
convert "$work/16.png" "$work/32.png" "$icons/48x48/example.ambervale.Brevant.png" \
  "$icons/128x128/example.ambervale.Brevant.png" "$icons/256x256/example.ambervale.Brevant.png" \
  "$here/brevant.ico"
