#!/usr/bin/env bash
# The Windows window against the Windows tool, under Wine in Xvfb: the same
# per-file run by brevant.exe ("Start Converting", driven with xdotool) and by
# brevant-convert.exe, on one 50 MB file of contacts and on 10,000 files of one
# contact each; with the longest time the window's message loop went without
# a turn during the run. Prints figures and exits 0 whatever they are: it
# measures, the reader judges.
#
#   bench/window_vs_tool_wine.sh [WIN64_BUILD]   (default build-win64, as scripts/windows.sh builds it)
#
# The window's time is its busy span, from the click to the end of the run;
# the tool's is its process's wall time less that of a start that only prints
# its version. The best of BENCH_RUNS runs (default 3) counts for each.
set -euo pipefail
REPO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$REPO_ROOT"
# shellcheck source-path=SCRIPTDIR source=../scripts/wine_window.sh
source scripts/wine_window.sh
BUILD="${1:-build-win64}"
RUNS="${BENCH_RUNS:-3}"
exe="$BUILD/bin/brevant.exe"
tool="$BUILD/bin/brevant-convert.exe"
[[ -x "$exe" && -x "$tool" ]] || {
  echo "build brevant.exe and brevant-convert.exe first (bash scripts/windows.sh)" >&2
  exit 1
}

export PATH="/usr/lib/wine:$PATH" WINEPREFIX="$REPO_ROOT/$BUILD/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
work="$BUILD/window-bench"
mkdir -p "$WINEPREFIX" "$work"
wineserver -p </dev/null >/dev/null 2>&1 || true
display_pid=""
trap 'wineserver -k </dev/null >/dev/null 2>&1 || true; [[ -z "$display_pid" ]] || kill "$display_pid" 2>/dev/null || true' EXIT
start_display "$work"
wine64 wineboot --init </dev/null >/dev/null 2>&1

corpus="$work/corpus"
if [[ ! -f "$corpus/ready" ]]; then
  echo "Generating the corpus in $corpus ..."
  rm -rf "$corpus"
  mkdir -p "$corpus/many"
  python3 - "$corpus" <<'PYTHON'
import random, sys
corpus = sys.argv[1]
random.seed(1)
first = ["Ann", "Bj\xf6rn", "Chlo\xe9", "Dmitri", "Eva", "Farid", "Grace", "Hugo", "In\xe8s", "Jonas"]
last = ["Keller", "Okafor", "Raman", "Whitfield", "Lindqvist", "M\xfcller", "Dubois", "Sato", "Nowak", "Silva"]
def contact(n):
    f, l = random.choice(first), random.choice(last)
    return (f"BEGIN:VCARD\r\nVERSION:3.0\r\nN:{l};{f};;;\r\nFN:{f} {l}\r\nORG:Ambervale & Sons <Trading>\r\n"
            f"TITLE:Buyer\r\nEMAIL;TYPE=INTERNET,WORK:{f.lower()}.{n}@example.com\r\n"
            f"EMAIL;TYPE=INTERNET,HOME:{l.lower()}{n}@mail.example.org\r\nTEL;TYPE=WORK,VOICE:+44 20 7946 {n % 10000:04d}\r\n"
            f"TEL;TYPE=CELL:+49 151 {n:08d}\r\nADR;TYPE=WORK:;;{n} Harbour Road;Bristol;;BS1 {n % 9}AA;United Kingdom\r\n"
            f"URL:https://example.com/{n}\r\nBDAY:1980-{n % 12 + 1:02d}-{n % 28 + 1:02d}\r\n"
            f"NOTE:Met at the trade fair; follow up about order {n}.\r\nEND:VCARD\r\n").encode("latin-1")
with open(f"{corpus}/contacts.vcf", "wb") as out:
    size, n = 0, 0
    while size < 50_000_000:
        data = contact(n)
        out.write(data)
        size += len(data)
        n += 1
for i in range(10_000):
    with open(f"{corpus}/many/contact{i:05d}.vcf", "wb") as out:
        out.write(contact(i))
PYTHON
  touch "$corpus/ready"
fi

seconds() { awk -v us="$1" 'BEGIN { printf "%.2f", us / 1e6 }'; }
now_us() { echo $(($(date +%s%N) / 1000)); }

# The tool's start and end alone.
start_us=999999999999
for _ in 1 2 3; do
  t=$(now_us)
  wine64 "$tool" --version </dev/null >/dev/null
  elapsed=$(($(now_us) - t))
  ((elapsed < start_us)) && start_us=$elapsed
done

printf '\n%-28s %10s %10s %8s %16s\n' "per-file run under Wine" "tool s" "window s" "ratio" "longest gap ms"
run=0
for case in "one 50 MB file:contacts.vcf" "10,000 one-contact files:many"; do
  label="${case%%:*}"
  input="$corpus/${case#*:}"
  best_tool=999999999999
  best_window=999999999999
  worst_gap=0
  for _ in $(seq 1 "$RUNS"); do
    # Every run writes into a folder of its own: replacing thousands of files costs more than writing new ones.
    run=$((run + 1))
    mkdir -p "$work/out/tool-$run" "$work/out/window-$run"
    t=$(now_us)
    wine64 "$tool" -q -m each -o "$work/out/tool-$run" "$input" </dev/null
    elapsed=$(($(now_us) - t - start_us))
    ((elapsed < best_tool)) && best_tool=$elapsed

    window_settings Option1=False Option2=True Option3=True Option4=False OneRowPerContact=False SaveCsv=False \
      "Text1=$(windows_path "$work/out/window-$run")\\"
    window_start "$exe" "$work/report.txt" "$(windows_path "$input")"
    window_click PushButton2
    window_answer Return 1200 # "Done."
    window_close 60
    read -r busy gap < <(awk '$1 == "busy" { busy = $2; gap = $3 } END { print busy, gap }' "$work/report.txt")
    ((busy < best_window)) && best_window=$busy
    ((gap > worst_gap)) && worst_gap=$gap
    diff -rq "$work/out/tool-$run" "$work/out/window-$run" >/dev/null || echo "  (run $run: the documents differ)"
  done
  printf '%-28s %10s %10s %8s %16s\n' "$label" "$(seconds "$best_tool")" "$(seconds "$best_window")" \
    "$(awk -v w="$best_window" -v t="$best_tool" 'BEGIN { printf "%.2fx", w / t }')" \
    "$(awk -v g="$worst_gap" 'BEGIN { printf "%.1f", g / 1000 }')"
done
rm -rf "$work/out"
