#!/usr/bin/env bash
# Helpers shared by run.sh and test.sh; sourced, not run.

# The repository root, whatever folder the scripts are started from.
REPO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# The machine is shared; two jobs keep it usable for everyone.
JOBS=2

stage() {
  printf '\n==== %s ====\n' "$*"
}

# configure BUILD_DIR [cmake options...]
# Picks Ninja when present, but keeps the generator of an existing build folder.
configure() {
  local dir="$1"
  shift
  local generator=()
  if [[ ! -f "$dir/CMakeCache.txt" ]] && command -v ninja >/dev/null 2>&1; then
    generator=(-G Ninja)
  fi
  cmake -S "$REPO_ROOT" -B "$dir" "${generator[@]}" "$@"
}

# build BUILD_DIR [targets...]
build() {
  local dir="$1"
  shift
  local targets=()
  local target
  for target in "$@"; do
    targets+=(--target "$target")
  done
  cmake --build "$dir" --parallel "$JOBS" "${targets[@]}"
}
