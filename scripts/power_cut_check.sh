#!/usr/bin/env bash
# Cuts the power under brevant-convert, as far as a test can: on an XFS file
# system of its own (a loop device over a file), the file system is shut down
# with xfs_io's "shutdown", which drops everything not yet on its disk, then
# mounted again. Each input gives a group: its document, CSV file and workbook
# (--csv --xlsx). Runs go into an empty folder and over the groups of an
# earlier version. Checks:
#   - after a run that said it was done (with and without the log flushed at
#     the cut): every group is the whole new one (hidden names the run dropped
#     after its last sync may come back: a later run removes them);
#   - cut in the middle of a run (at several moments, with and without the
#     log flushed), then a later run into the folder (of another input): every
#     group is the whole earlier one, the whole new one, or absent, never
#     mixed, never an empty or short file, and no hidden file is left.
# Both for a per-file run and for one document with its files.
#
#   sudo bash scripts/power_cut_check.sh [--short] [BUILD_DIR]     (default build/)
#
# --short cuts at three moments only (for test.sh).
# BREVANT_CONVERT=PATH checks another build of brevant-convert (an older one,
# say). Needs root (loop devices, mount) and xfsprogs; without them it says so
# and stops with status 0, having checked nothing. It is not part of test.sh,
# which runs where such privileges may be missing. Exit status 1 when a file
# was lost.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$REPO_ROOT"

short=0
if [[ "${1:-}" == --short ]]; then
  short=1
  shift
fi
build="${1:-build}"
tool="${BREVANT_CONVERT:-$build/bin/brevant-convert}"
tool="$(realpath "$tool")"

unavailable() {
  echo "power_cut_check.sh: $*; nothing was checked" >&2
  exit 0
}
[[ -x "$tool" ]] || { echo "power_cut_check.sh: no brevant-convert at $tool (build it first)" >&2; exit 1; }
[[ $(id -u) -eq 0 ]] || unavailable "it needs root (a loop device and mount)"
for command in mkfs.xfs xfs_io losetup mount umount; do
  command -v "$command" >/dev/null 2>&1 || unavailable "$command is missing (apt-get install xfsprogs mount)"
done
grep -qw xfs /proc/filesystems || unavailable "this kernel has no XFS"

work="$(mktemp -d /tmp/brevant-power-cut.XXXXXX)"
mnt="$work/mnt"
loop=""
cleanup() {
  mountpoint -q "$mnt" 2>/dev/null && umount "$mnt"
  [[ -z "$loop" ]] || losetup -d "$loop"
  rm -rf "$work"
}
trap cleanup EXIT

truncate -s 512M "$work/xfs.img"
mkfs.xfs -q "$work/xfs.img"
loop="$(losetup -f --show "$work/xfs.img" 2>/dev/null)" || unavailable "no loop device is free or allowed"
mkdir -p "$mnt"
mount "$loop" "$mnt" 2>/dev/null || unavailable "the XFS file system cannot be mounted here"

# Inputs of two versions with the same names; documents of a few KB each.
files=60
extensions=(htm csv xlsx)
make_inputs() {
  local folder="$1" version="$2" i j
  mkdir -p "$folder"
  for ((i = 1; i <= files; i++)); do
    {
      printf 'BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Contact %d version %s\r\n' "$i" "$version"
      for ((j = 1; j <= 40; j++)); do printf 'NOTE;X=1:line %d of contact %d, version %s\r\n' "$j" "$i" "$version"; done
      printf 'END:VCARD\r\n'
    } >"$folder/contact$i.vcf"
  done
}
make_inputs "$work/in-a" A
make_inputs "$work/in-b" B
mkdir -p "$work/other"
printf 'BEGIN:VCARD\r\nFN:Another\r\nEND:VCARD\r\n' >"$work/other/zz.vcf"

# convert WHERE VERSION MODE: the inputs of one version into WHERE, per file or as one document.
convert() {
  local where="$1" version="$2" mode="$3"
  mkdir -p "$where"
  "$tool" -q --csv --xlsx -m "$mode" -o "$where" "$work/in-$version"
}
# The documents of each version as they should be, made on the ordinary disk.
for version in a b; do
  convert "$work/ref-$version/each" "$version" each
  convert "$work/ref-$version/single" "$version" single
done

remount() {
  umount "$mnt"
  mount "$loop" "$mnt"
}

# prepare SCENARIO: the folders on the XFS disk empty (new), or holding version A durably (over).
prepare() {
  rm -rf "${mnt:?}/out"
  mkdir -p "$mnt/out/each" "$mnt/out/single"
  if [[ $1 == over ]]; then
    convert "$mnt/out/each" a each
    convert "$mnt/out/single" a single
  fi
  sync
}

# tally KIND...: counts the groups of each output kind (each, single) on the
# XFS disk as new, earlier, absent or mixed (naming the mixed ones, with an
# empty or short file among them), and the hidden files left.
tally() {
  new=0 earlier=0 absent=0 mixed=0 hidden=0
  local kind stem extension state group file
  for kind in "$@"; do
    for reference in "$work/ref-b/$kind"/*.csv; do
      stem="${reference##*/}"
      stem="${stem%.csv}"
      group=""
      for extension in "${extensions[@]}"; do
        [[ $stem == output && $extension == htm ]] && extension=xml
        file="$mnt/out/$kind/$stem.$extension"
        if [[ ! -e "$file" ]]; then
          state=-
        elif cmp -s "$file" "$work/ref-b/$kind/$stem.$extension"; then
          state=b
        elif cmp -s "$file" "$work/ref-a/$kind/$stem.$extension"; then
          state=a
        else
          state=x
        fi
        group+=$state
      done
      case $group in
        bbb) new=$((new + 1)) ;;
        aaa) earlier=$((earlier + 1)) ;;
        ---) absent=$((absent + 1)) ;;
        *)
          mixed=$((mixed + 1))
          echo "    $kind/$stem: $group (b new, a earlier, - absent, x neither: empty or short)"
          ;;
      esac
    done
    hidden=$((hidden + $(find "$mnt/out/$kind" -name '.*.brevant-*' | wc -l)))
  done
}

echo "brevant-convert: $tool"
echo "XFS on $loop; $files inputs: $files groups per file, and output.xml with its files"
failed=0

stage "A power cut just after a run that said it was done"
for scenario in new over; do
  for flush in "" "-f"; do
    prepare $scenario
    status=0
    convert "$mnt/out/each" b each || status=$?
    convert "$mnt/out/single" b single || status=$?
    xfs_io -x -c "shutdown $flush" "$mnt"
    remount
    tally each single
    printf '  %-4s shutdown %-3s runs ended %d: %3d groups new, %3d earlier, %3d absent, %d mixed, %d hidden files' \
      "$scenario" "${flush:-}" "$status" "$new" "$earlier" "$absent" "$mixed" "$hidden"
    if ((status != 0 || new != files + 1)); then failed=1; fi
    # The hidden names a finished run drops after its last sync may come back; a later run removes them.
    for kind in each single; do
      "$tool" -q --csv --xlsx -o "$mnt/out/$kind" "$work/other/zz.vcf"
      rm -f "$mnt/out/$kind"/zz.*
    done
    tally each single
    printf ', after a later run %d\n' "$hidden"
    if ((new != files + 1 || hidden != 0)); then failed=1; fi
  done
done

stage "A power cut in the middle of a run, then a later run into the folder"
delays=(0.005 0.01 0.02 0.03 0.05 0.08)
((short)) && delays=(0.01 0.03)
cuts=0
for scenario in new over; do
  for mode in each single; do
    for delay in "${delays[@]}"; do
      for flush in "" "-f"; do
        prepare $scenario
        "$tool" -q --csv --xlsx -m "$mode" -o "$mnt/out/$mode" "$work/in-b" 2>/dev/null &
        runner=$!
        sleep "$delay"
        xfs_io -x -c "shutdown $flush" "$mnt"
        wait "$runner" || true
        remount
        "$tool" -q --csv --xlsx -o "$mnt/out/$mode" "$work/other/zz.vcf"
        rm -f "$mnt/out/$mode"/zz.*
        tally "$mode"
        cuts=$((cuts + 1))
        printf '  %-4s %-6s after %-5s s, shutdown %-3s %3d new, %3d earlier, %3d absent, %d mixed, %d hidden\n' \
          "$scenario" "$mode" "$delay" "$flush" "$new" "$earlier" "$absent" "$mixed" "$hidden"
        if ((mixed != 0 || hidden != 0)); then failed=1; fi
        if [[ $scenario == over ]] && ((absent != 0)); then failed=1; fi
      done
    done
  done
done
echo "$cuts cuts in the middle of a run"

if ((failed)); then
  echo "power_cut_check.sh: a group was mixed, a file empty or short, or a hidden file left" >&2
  exit 1
fi
echo "power_cut_check.sh: every group whole, no empty file, no hidden file left"
