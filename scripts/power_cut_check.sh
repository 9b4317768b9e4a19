#!/usr/bin/env bash
# Cuts the power under brevant-convert, as far as a test can: on an XFS file
# system of its own (a loop device over a file), the file system is shut down
# with xfs_io's "shutdown", which drops everything not yet on its disk, then
# mounted again. Every document and CSV file had an earlier version on the
# disk before each trial. Checks:
#   - after a run that said it was done (with and without the log flushed at
#     the cut): every document and CSV file is the complete new one;
#   - cut in the middle of a run (at several moments, with and without the
#     log flushed): each is the complete earlier one or the complete new one,
#     never empty or cut short. A temporary file may be left by a cut between
#     its naming and its renaming; the next run a minute later removes it.
# Both for a per-file run with CSV files and for one document with its CSV.
#
#   sudo bash scripts/power_cut_check.sh [BUILD_DIR]     (default build/)
#
# BREVANT_CONVERT=PATH checks another build of brevant-convert (an older one,
# say). Needs root (loop devices, mount) and xfsprogs; without them it says so
# and stops with status 0, having checked nothing. It is not part of test.sh,
# which runs where such privileges may be missing. Exit status 1 when a file
# was lost.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$REPO_ROOT"

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

# convert WHERE VERSION MODE: the inputs of one version into WHERE, per file or as one document.
convert() {
  local where="$1" version="$2" mode="$3"
  mkdir -p "$where"
  "$tool" -q --csv -m "$mode" -o "$where" "$work/in-$version"
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

# Puts version A of every document on the XFS disk, durably.
prepare() {
  rm -rf "${mnt:?}/out"
  convert "$mnt/out/each" a each
  convert "$mnt/out/single" a single
  sync
}

# tally KIND...: counts each output of the kinds (each, single) on the XFS disk
# as new, earlier or lost (neither), naming the lost ones, and the temporary
# files left. Sets new, earlier, lost and hidden.
tally() {
  new=0 earlier=0 lost=0 hidden=0
  local kind name
  for kind in "$@"; do
    for reference in "$work/ref-b/$kind"/*; do
      name="${reference##*/}"
      local file="$mnt/out/$kind/$name"
      if cmp -s "$file" "$reference"; then
        new=$((new + 1))
      elif cmp -s "$file" "$work/ref-a/$kind/$name"; then
        earlier=$((earlier + 1))
      else
        lost=$((lost + 1))
        [[ -e "$file" ]] && echo "    $kind/$name: $(stat -c %s "$file") bytes, neither version" ||
          echo "    $kind/$name: missing"
      fi
    done
    hidden=$((hidden + $(find "$mnt/out/$kind" -name '.*.brevant-*' | wc -l)))
  done
}

echo "brevant-convert: $tool"
echo "XFS on $loop; $files inputs: $((files * 2)) documents and CSV files per file, output.xml and output.csv"
failed=0

stage "A power cut just after a run that said it was done"
for flush in "" "-f"; do
  prepare
  status=0
  convert "$mnt/out/each" b each || status=$?
  convert "$mnt/out/single" b single || status=$?
  xfs_io -x -c "shutdown $flush" "$mnt"
  remount
  tally each single
  printf '  shutdown %-3s runs ended %d: %3d new, %3d earlier, %3d lost, %d temporary files\n' \
    "${flush:-}" "$status" "$new" "$earlier" "$lost" "$hidden"
  if ((status != 0 || new != files * 2 + 2)); then failed=1; fi
done

stage "A power cut in the middle of a per-file run"
for delay in 0.005 0.01 0.02 0.03 0.05 0.08; do
  for flush in "" "-f"; do
    prepare
    "$tool" -q --csv -o "$mnt/out/each" "$work/in-b" 2>/dev/null &
    runner=$!
    sleep "$delay"
    xfs_io -x -c "shutdown $flush" "$mnt"
    wait "$runner" || true
    remount
    tally each
    printf '  after %-5s s, shutdown %-3s %3d new, %3d earlier, %3d lost, %d temporary files\n' \
      "$delay" "$flush" "$new" "$earlier" "$lost" "$hidden"
    ((lost == 0)) || failed=1
  done
done

if ((failed)); then
  echo "power_cut_check.sh: files were lost or cut short" >&2
  exit 1
fi
echo "power_cut_check.sh: no file was lost"
