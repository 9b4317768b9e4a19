#!/usr/bin/env bash
# Builds and runs every test: the test suite with warnings as errors, the same
# suite under AddressSanitizer and UndefinedBehaviorSanitizer, a short fuzzing
# session when clang is present, and last the Debian package and its checks
# (scripts/package.sh). Any failure stops the script.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$REPO_ROOT"

FUZZ_SECONDS="${FUZZ_SECONDS:-60}"

stage "Dependencies"
bash scripts/deps.sh

stage "Build with warnings as errors into build-test/"
configure build-test -DBREVANT_WERROR=ON
build build-test

stage "Tests"
ctest --test-dir build-test --output-on-failure -j "$JOBS"

stage "Sanitizer build into build-asan/"
configure build-asan -DBREVANT_SANITIZE=ON -DBREVANT_BENCH=OFF
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
build build-fuzz brevant_fuzz

stage "Fuzzing for ${FUZZ_SECONDS} seconds, seeded from samples/"
corpus=build-fuzz/corpus
artifacts=build-fuzz/artifacts
mkdir -p "$corpus" "$artifacts"
# New inputs go to the first folder; samples/ only seeds and stays untouched.
build-fuzz/bin/brevant_fuzz \
  -max_total_time="$FUZZ_SECONDS" \
  -max_len=65536 \
  -rss_limit_mb=2048 \
  -timeout=20 \
  -print_final_stats=1 \
  -artifact_prefix="$artifacts/" \
  "$corpus" samples

bash scripts/package.sh

stage "All tests passed"
