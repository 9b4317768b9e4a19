#!/usr/bin/env bash
# Kills brevant-convert (SIGKILL, which no handler sees) at every system call
# that concerns its files, one trial a call: strace stops the run at the n-th
# call of one kind (openat, write, linkat, rename, ...), for every n the run
# makes. Every document and CSV file of the run had an earlier version. Checks:
#   - each file is then the complete earlier one or the complete new one;
#   - a temporary file is left only by a kill while finished files are put in
#     place: between naming one and renaming it over the earlier one, or while
#     a document and its CSV file are placed together (the earlier one kept
#     under a hidden name until both stand); never while files are written;
#   - a run more than a minute later removes every temporary file left.
#
#   bash scripts/kill_check.sh [BUILD_DIR]     (default build/)
#
# BREVANT_CONVERT=PATH checks another build of brevant-convert (an older one,
# say). Needs strace. Exit status 1 when a check failed.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$REPO_ROOT"
require_commands strace:strace

build="${1:-build}"
tool="$(realpath "${BREVANT_CONVERT:-$build/bin/brevant-convert}")"
[[ -x "$tool" ]] || { echo "kill_check.sh: no brevant-convert at $tool (build it first)" >&2; exit 1; }

work="$(mktemp -d /tmp/brevant-kill.XXXXXX)"
trap 'rm -rf "$work"' EXIT
files=12
for version in a b; do
  mkdir -p "$work/in-$version" "$work/ref-$version"
  for ((i = 1; i <= files; i++)); do
    printf 'BEGIN:VCARD\r\nFN:Contact %d version %s\r\nNOTE;X=1:%s\r\nEND:VCARD\r\n' "$i" "$version" \
      "$(head -c $((i * 3000)) /dev/zero | tr '\0' "$version")" >"$work/in-$version/c$i.vcf"
  done
  "$tool" -q --csv -o "$work/ref-$version" "$work/in-$version"
done
run=("$tool" -q --csv -o "$work/out" "$work/in-b")

# The earlier files, as a finished run of version A left them.
prepare() {
  rm -rf "$work/out"
  cp -r "$work/ref-a" "$work/out"
}

# Sets lost to the files that are neither version, and hidden to the temporary files.
tally() {
  lost=0
  local reference name
  for reference in "$work/ref-b"/*; do
    name="${reference##*/}"
    cmp -s "$work/out/$name" "$reference" || cmp -s "$work/out/$name" "$work/ref-a/$name" || lost=$((lost + 1))
  done
  hidden=$(find "$work/out" -name '.*.brevant-*' | wc -l)
}

echo "brevant-convert: $tool"
echo "$files inputs, each with an earlier document and CSV file"
failed=0
trials=0
left=0
calls=(openat write fdatasync flock linkat rename renameat2 unlink fchmod close syncfs)
for call in "${calls[@]}"; do
  prepare
  strace -f -qq -o "$work/trace" -e trace="$call" "${run[@]}"
  count=$(grep -c "^[0-9]* *$call(" "$work/trace" || true)
  leftovers=""
  for ((n = 1; n <= count; n++)); do
    prepare
    # In a shell of its own, which keeps the word of the kill to itself.
    (strace -f -qq -o /dev/null -e trace="$call" -e inject="$call:signal=KILL:when=$n" "${run[@]}" || true) \
      >/dev/null 2>&1
    tally
    trials=$((trials + 1))
    if ((lost > 0)); then
      echo "  killed at $call #$n: $lost files neither version" >&2
      failed=1
    fi
    if ((hidden > 0)); then
      leftovers+=" #$n"
      left=$((left + hidden))
      # Only the calls that put files in place may find one named.
      case $call in
        flock | linkat | rename | renameat2 | unlink | close) ;;
        *)
          echo "  killed at $call #$n: a temporary file was left while files were written" >&2
          failed=1
          ;;
      esac
      mkdir -p "$work/left"
      find "$work/out" -name '.*.brevant-*' -exec mv -t "$work/left" {} +
    fi
  done
  printf '  %-10s %3d calls killed at, temporary files left at:%s\n' "$call" "$count" "${leftovers:- none}"
done
echo "$trials killed runs, $left temporary files left"

if ((left > 0)); then
  # What killed runs left, a minute old, in a folder that a later run writes into.
  prepare
  find "$work/left" -name '.*.brevant-*' -exec mv -t "$work/out" {} +
  echo "waiting 61 s: a later run removes temporary files a minute old"
  sleep 61
  "${run[@]}"
  tally
  echo "after a later run: $hidden temporary files"
  ((hidden == 0)) || failed=1
fi

if ((failed)); then
  echo "kill_check.sh: a check failed" >&2
  exit 1
fi
echo "kill_check.sh: every file whole, temporary files only while files were placed, and removed later"
