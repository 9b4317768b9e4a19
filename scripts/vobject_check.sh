#!/usr/bin/env bash
# Compares what brevant-convert --per-contact reads from exports in every
# address book's layout with what python3-vobject, an independent vCard
# reader, reads from them (scripts/vobject_check.py), cell by cell.
# Usage: scripts/vobject_check.sh [BREVANT_CONVERT] [WORK_DIR]
# (defaults: build/bin/brevant-convert, and build/vobject-check beside it).
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

convert="$(realpath "${1:-$REPO_ROOT/build/bin/brevant-convert}")"
work="$(realpath -m "${2:-$(dirname "$convert")/../vobject-check}")"

# Debian's own Python, which python3-vobject installs into.
require_commands python3-minimal:/usr/bin/python3
if ! /usr/bin/python3 -c 'import vobject' 2>/dev/null; then
  echo "${0##*/}: the Python module vobject is missing: it comes with the package python3-vobject" >&2
  echo "${0##*/}: install what is missing first: apt-get install python3-vobject" >&2
  exit 1
fi
mkdir -p "$work"
/usr/bin/python3 "$REPO_ROOT/scripts/vobject_check.py" "$convert" "$work"
