#!/usr/bin/env bash
# Builds and runs every test: the scripts' own failure reports
# (scripts/common_test.sh), the test suite with warnings as errors, short
# forms of the kill and power-cut checks, the
# Windows build with its tests under Wine (scripts/windows.sh), the same
# suite under AddressSanitizer and UndefinedBehaviorSanitizer, a short fuzzing
# session when clang is present, and last the Debian package and its checks
# (scripts/package.sh). Any failure stops the script.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$REPO_ROOT"

FUZZ_SECONDS="${FUZZ_SECONDS:-60}"

stage "The scripts' failure reports"
bash scripts/common_test.sh

stage "Dependencies"
bash scripts/deps.sh
# The tests drop privileges with setpriv and start X servers of their own.
require_commands cmake:cmake cmake:ctest clang:clang++ util-linux:setpriv xvfb:Xvfb

stage "Build with warnings as errors into build-test/"
# Optimised as the program is (warnings that need the optimiser's analysis show),
# without debug information, which only slows the build down here.
# Everything on, whatever an earlier configuration of the folder left (windows.sh
# makes a tool-only build there when it runs first).
configure build-test -DBREVANT_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2" \
  -DBREVANT_TESTS=ON -DBREVANT_BENCH=ON -DBREVANT_WINDOW=ON
build build-test

stage "Tests"
ctest --test-dir build-test --output-on-failure --no-tests=error -j "$JOBS"

stage "One row per contact read against python3-vobject"
bash scripts/vobject_check.sh build-test/bin/brevant-convert

# A few dozen kills and a few power cuts, each group checked whole; each says when
# the machine lacks what it needs (strace; root, a loop device and XFS) and skips.
stage "Kills and power cuts, short"
if command -v strace >/dev/null 2>&1; then
  bash scripts/kill_check.sh --short build-test
else
  echo "kill_check.sh skipped: strace is missing"
fi
bash scripts/power_cut_check.sh --short build-test

# brevant-convert.exe and its tests under Wine; its documents are compared with
# those of the brevant-convert just built.
bash scripts/windows.sh build-test

stage "Sanitizer build into build-asan/"
# Unoptimised: the sanitizers catch the same faults, and the build takes half the time.
configure build-asan -DBREVANT_SANITIZE=ON -DBREVANT_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
build build-asan

stage "Tests under AddressSanitizer and UndefinedBehaviorSanitizer"
ASAN_OPTIONS="abort_on_error=1:detect_leaks=1" \
  UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
  ctest --test-dir build-asan --output-on-failure -j "$JOBS"

if ! command -v clang++ >/dev/null 2>&1; then
  stage "Fuzzing skipped: clang++ is not installed"
  bash scripts/package.sh
  exit 0
fi

stage "Fuzzer build into build-fuzz/"
configure build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DBREVANT_FUZZ=ON -DBREVANT_TESTS=OFF -DBREVANT_BENCH=OFF \
  -DBREVANT_WINDOW=OFF
build build-fuzz brevant_fuzz brevant_cli_fuzz

# fuzz NAME PROGRAM SECONDS MAX_LEN SEED_FOLDER...
# Runs one fuzzer with its dictionary and no length control (inputs may grow to
# MAX_LEN at once). The long log goes to build-fuzz/NAME.log; its summary is
# printed, or the whole log when the fuzzer found something.
fuzz() {
  local name="$1" program="$2" seconds="$3" max_len="$4"
  shift 4
  local corpus="build-fuzz/corpus/$name" artifacts="build-fuzz/artifacts/$name/" log="build-fuzz/$name.log"
  mkdir -p "$corpus" "$artifacts"
  # New inputs go to the first folder; the seed folders stay untouched.
  if ! TMPDIR="${FUZZ_TMPDIR}" "build-fuzz/bin/$program" \
    -max_total_time="$seconds" \
    -len_control=0 \
    -max_len="$max_len" \
    -dict="fuzz/$name.dict" \
    -rss_limit_mb=2048 \
    -timeout=20 \
    -print_final_stats=1 \
    -artifact_prefix="$artifacts" \
    "$corpus" "$@" >"$log" 2>&1; then
    cat "$log"
    echo "Fuzzer $name found a problem; the input is in $artifacts" >&2
    return 1
  fi
  grep -E '^(#[0-9]+ +DONE|Done [0-9]+ runs|stat::)' "$log" || true
}

# Documents and inputs are written for every run: a memory file system is quicker.
FUZZ_TMPDIR=/tmp
if [[ -d /dev/shm && -w /dev/shm ]]; then FUZZ_TMPDIR=/dev/shm; fi

VCARD_SECONDS=$((FUZZ_SECONDS * 2 / 3))
stage "Fuzzing the conversions for ${VCARD_SECONDS} seconds, seeded from samples/"
fuzz vcard brevant_fuzz "$VCARD_SECONDS" 65536 samples
stage "Fuzzing the command-line parsers for $((FUZZ_SECONDS - VCARD_SECONDS)) seconds"
fuzz cli brevant_cli_fuzz "$((FUZZ_SECONDS - VCARD_SECONDS))" 4096

bash scripts/package.sh

stage "All tests passed"
