#!/usr/bin/env bash
# brevant-convert.exe against the disk's floor under Wine: the same folder of
# one-contact files converted per file (-m each) and into one document
# (-m single), beside brevant_disk_floor.exe doing the least any converter
# does with them (per file: read each and write one new file; one document:
# read each twice and write one file). Prints both times and their ratio, and
# exits 0 whatever they are: it measures, the reader judges.
#
#   bench/tool_vs_disk_wine.sh [WIN64_BUILD]   (default build-win64, configured
#                                               with -DBREVANT_BENCH=ON as scripts/windows.sh does)
#
# A time is the process's wall time less that of a start that does nothing
# (--version for the tool, no arguments for the floor); the best of BENCH_RUNS
# runs (default 3) counts. BENCH_FILES sets the number of files (default 5,000).
set -euo pipefail
REPO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$REPO_ROOT"
BUILD="${1:-build-win64}"
RUNS="${BENCH_RUNS:-3}"
FILES="${BENCH_FILES:-5000}"
tool="$BUILD/bin/brevant-convert.exe"
floor="$BUILD/bin/brevant_disk_floor.exe"
[[ -x "$tool" && -x "$floor" ]] || {
  echo "build brevant-convert.exe and brevant_disk_floor.exe first (bash scripts/windows.sh)" >&2
  exit 1
}

export PATH="/usr/lib/wine:$PATH" WINEPREFIX="$REPO_ROOT/$BUILD/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
work="$BUILD/disk-bench"
mkdir -p "$WINEPREFIX" "$work"
wineserver -p </dev/null >/dev/null 2>&1 || true
trap 'wineserver -k </dev/null >/dev/null 2>&1 || true' EXIT
wine64 wineboot --init </dev/null >/dev/null 2>&1

corpus="$work/corpus-$FILES"
if [[ ! -f "$corpus/ready" ]]; then
  echo "Generating $FILES one-contact files in $corpus ..."
  rm -rf "$corpus"
  mkdir -p "$corpus/files"
  python3 - "$corpus/files" "$FILES" <<'PYTHON'
import sys
folder, count = sys.argv[1], int(sys.argv[2])
first = ["Ann", "Bj\xf6rn", "Chlo\xe9", "Dmitri", "Eva", "Farid", "Grace", "Hugo", "In\xe8s", "Jonas"]
last = ["Keller", "Okafor", "Raman", "Whitfield", "Lindqvist", "M\xfcller", "Dubois", "Sato", "Nowak", "Silva"]
for n in range(count):
    f, l = first[n % 10], last[n * 7 % 10]
    card = (f"BEGIN:VCARD\r\nVERSION:3.0\r\nN:{l};{f};;;\r\nFN:{f} {l}\r\nORG:Ambervale & Sons\r\n"
            f"TITLE:Buyer\r\nEMAIL;TYPE=INTERNET,WORK:{f.lower()}.{n}@example.com\r\n"
            f"TEL;TYPE=WORK,VOICE:+44 20 7946 {n % 10000:04d}\r\nTEL;TYPE=CELL:+49 151 {n:08d}\r\n"
            f"ADR;TYPE=WORK:;;{n} Harbour Road;Bristol;;BS1 {n % 9}AA;United Kingdom\r\n"
            f"NOTE:Met at the trade fair; follow up about order {n}.\r\nEND:VCARD\r\n")
    with open(f"{folder}/contact{n:05d}.vcf", "wb") as out:
        out.write(card.encode("latin-1"))
PYTHON
  touch "$corpus/ready"
fi
# The path as Wine's programs see it (drive Z: is the root).
windows_path() {
  local full
  full="$(realpath -m "$1")"
  printf 'Z:%s' "${full//\//\\}"
}
input="$(windows_path "$corpus/files")"

now_us() { echo $(($(date +%s%N) / 1000)); }
# best_start PROGRAM [ARGS...]: the least wall time of three starts.
best_start() {
  local best=999999999999 t elapsed
  for _ in 1 2 3; do
    t=$(now_us)
    wine64 "$@" </dev/null >/dev/null
    elapsed=$(($(now_us) - t))
    ((elapsed < best)) && best=$elapsed
  done
  echo "$best"
}
tool_start=$(best_start "$tool" --version)
floor_start=$(best_start "$floor")

run=0
# timed START_US PROGRAM [ARGS...]: wall time in microseconds less the start.
timed() {
  local start_us="$1" t
  shift
  t=$(now_us)
  wine64 "$@" </dev/null >/dev/null
  echo $(($(now_us) - t - start_us))
}

printf '\n%s one-contact files under Wine (best of %s runs)\n' "$FILES" "$RUNS"
printf '%-26s %10s %12s %8s\n' "" "floor s" "Brevant s" "ratio"
for mode in each single; do
  best_floor=999999999999
  best_tool=999999999999
  for _ in $(seq 1 "$RUNS"); do
    # A folder of its own for every run: every document is a new file.
    run=$((run + 1))
    mkdir -p "$work/out/floor-$run" "$work/out/tool-$run"
    elapsed=$(timed "$floor_start" "$floor" "$mode" "$input" "$(windows_path "$work/out/floor-$run")")
    ((elapsed < best_floor)) && best_floor=$elapsed
    elapsed=$(timed "$tool_start" "$tool" -q -m "$mode" -o "$(windows_path "$work/out/tool-$run")" "$input")
    ((elapsed < best_tool)) && best_tool=$elapsed
    rm -rf "$work/out"
  done
  label="per file (-m each)"
  [[ "$mode" == each ]] || label="one document (-m single)"
  printf '%-26s %10s %12s %8s\n' "$label" \
    "$(awk -v us="$best_floor" 'BEGIN { printf "%.2f", us / 1e6 }')" \
    "$(awk -v us="$best_tool" 'BEGIN { printf "%.2f", us / 1e6 }')" \
    "$(awk -v t="$best_tool" -v f="$best_floor" 'BEGIN { printf "%.2fx", t / f }')"
done
