#!/usr/bin/env bash
# Kills brevant-convert (SIGKILL, which no handler sees) at every system call
# that concerns its files, one trial a call: strace stops the run at the n-th
# call of one kind (openat, write, linkat, renameat, ...), for every n the run
# makes. Each input gives a group of three files (document, CSV file,
# workbook: --csv --xlsx), written once into an empty folder and once over
# the groups of an earlier version. Checks:
#   - a kill while files are written leaves every group as it was and no
#     hidden file; one while they are put in place may leave hidden names of
#     the batch at work, and groups half placed;
#   - a later run into the folder (of another input) leaves every group the
#     whole earlier one, the whole new one, or absent, and no hidden file.
#
#   bash scripts/kill_check.sh [--short] [BUILD_DIR]     (default build/)
#
# --short kills at a few calls of each kind (a few dozen runs, for test.sh).
# BREVANT_CONVERT=PATH checks another build of brevant-convert (an older one,
# say). Needs strace. Exit status 1 when a check failed.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$REPO_ROOT"
require_commands strace:strace

short=0
if [[ "${1:-}" == --short ]]; then
  short=1
  shift
fi
build="${1:-build}"
tool="$(realpath "${BREVANT_CONVERT:-$build/bin/brevant-convert}")"
[[ -x "$tool" ]] || { echo "kill_check.sh: no brevant-convert at $tool (build it first)" >&2; exit 1; }

work="$(mktemp -d /tmp/brevant-kill.XXXXXX)"
trap 'rm -rf "$work"' EXIT
files=12
extensions=(htm csv xlsx)
for version in a b; do
  mkdir -p "$work/in-$version" "$work/ref-$version"
  for ((i = 1; i <= files; i++)); do
    # Notes of 2.5 to 30 kB: files of many sizes, each value within what a workbook cell holds.
    printf 'BEGIN:VCARD\r\nFN:Contact %d version %s\r\nNOTE;X=1:%s\r\nEND:VCARD\r\n' "$i" "$version" \
      "$(head -c $((i * 2500)) /dev/zero | tr '\0' "$version")" >"$work/in-$version/c$i.vcf"
  done
  "$tool" -q --csv --xlsx -o "$work/ref-$version" "$work/in-$version"
done
mkdir -p "$work/other"
printf 'BEGIN:VCARD\r\nFN:Another\r\nEND:VCARD\r\n' >"$work/other/z.vcf"
run=("$tool" -q --csv --xlsx -o "$work/out" "$work/in-b")
later=("$tool" -q --csv --xlsx -o "$work/out" "$work/other/z.vcf")

# The folder as the scenario starts: empty, or the groups of version A.
prepare() {
  rm -rf "$work/out"
  if [[ $scenario == new ]]; then mkdir "$work/out"; else cp -r "$work/ref-a" "$work/out"; fi
}

# Sets mixed to the groups that are neither whole version (nor absent), and hidden to the hidden files.
tally() {
  mixed=0
  local i extension state group
  for ((i = 1; i <= files; i++)); do
    group=""
    for extension in "${extensions[@]}"; do
      state=x
      if [[ ! -e "$work/out/c$i.$extension" ]]; then
        state=-
      elif cmp -s "$work/out/c$i.$extension" "$work/ref-b/c$i.$extension"; then
        state=b
      elif cmp -s "$work/out/c$i.$extension" "$work/ref-a/c$i.$extension"; then
        state=a
      fi
      group+=$state
    done
    case $group in
      bbb | ---) ;;
      aaa) [[ $scenario == over ]] || mixed=$((mixed + 1)) ;;
      *) mixed=$((mixed + 1)) ;;
    esac
  done
  hidden=$(find "$work/out" -name '.*.brevant-*' | wc -l)
}

echo "brevant-convert: $tool"
failed=0
trials=0
calls=(openat write fchmod linkat renameat rename renameat2 unlinkat syncfs flock close)
for scenario in new over; do
  if [[ $scenario == new ]]; then
    echo "$files inputs into an empty folder, each a document, CSV file and workbook"
  else
    echo "$files inputs over the earlier groups of another version"
  fi
  for call in "${calls[@]}"; do
    prepare
    strace -f -qq -o "$work/trace" -e trace="$call" "${run[@]}"
    count=$(grep -c "^[0-9]* *$call(" "$work/trace" || true)
    step=1
    ((short && count > 3)) && step=$(((count + 2) / 3))
    halfPlaced=""
    tried=0
    for ((n = 1; n <= count; n += step)); do
      prepare
      # In a shell of its own, which keeps the word of the kill to itself.
      (strace -f -qq -o /dev/null -e trace="$call" -e inject="$call:signal=KILL:when=$n" "${run[@]}" || true) \
        >/dev/null 2>&1
      tally
      trials=$((trials + 1))
      tried=$((tried + 1))
      if ((hidden > 0 || mixed > 0)); then
        halfPlaced+=" #$n"
        # Only the calls that put files in place may leave a batch's names.
        case $call in
          fchmod | linkat | rename | renameat | renameat2 | unlinkat | syncfs | flock | close) ;;
          *)
            echo "  killed at $call #$n: $mixed groups mixed, $hidden hidden files while files were written" >&2
            failed=1
            ;;
        esac
      fi
      "${later[@]}"
      tally
      if ((mixed > 0 || hidden > 0)); then
        echo "  killed at $call #$n: after a later run $mixed groups mixed, $hidden hidden files" >&2
        failed=1
      fi
    done
    printf '  %-10s %3d calls, killed at %3d, half placed until a later run at:%s\n' "$call" "$count" "$tried" \
      "${halfPlaced:- none}"
  done
done
echo "$trials killed runs, every group whole after a later run"

if ((failed)); then
  echo "kill_check.sh: a check failed" >&2
  exit 1
fi
echo "kill_check.sh: every group the whole earlier one, the whole new one or absent, no hidden file left"
