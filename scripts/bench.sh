#!/usr/bin/env bash
# Builds the benchmarks (Release) into build-bench/ and runs them, each
# printing its figures. With names, runs only those: bash scripts/bench.sh disk
# conversion. strace is installed when missing (the disk benchmark counts the
# system calls of every document with it). Extra options for the benchmarks
# (--small, --dir DIR) go in BENCH_OPTIONS.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$REPO_ROOT"

stage "Dependencies"
bash scripts/deps.sh
if ! command -v strace >/dev/null 2>&1; then
  if [[ $(id -u) -eq 0 ]]; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends strace ||
      { apt-get update -q && DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends strace; }
  else
    echo "bench.sh: strace is missing and installing it needs root; system calls go uncounted" >&2
  fi
fi

require_commands cmake:cmake

stage "Build (Release) into build-bench/"
configure build-bench -DCMAKE_BUILD_TYPE=Release -DBREVANT_TESTS=OFF -DBREVANT_BENCH=ON
build build-bench

names=("$@")
if ((${#names[@]} == 0)); then
  for program in build-bench/bin/brevant_*_bench; do
    name="${program##*/brevant_}"
    names+=("${name%_bench}")
  done
fi
for name in "${names[@]}"; do
  stage "brevant_${name}_bench"
  # shellcheck disable=SC2086 # options are words
  "build-bench/bin/brevant_${name}_bench" ${BENCH_OPTIONS:-}
done
