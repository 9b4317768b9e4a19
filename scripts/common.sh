#!/usr/bin/env bash
# Helpers shared by the scripts; sourced, not run.

# The repository root, whatever folder the scripts are started from.
REPO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# The machine is shared; two jobs keep it usable for everyone.
JOBS=2

stage() {
  printf '\n==== %s ====\n' "$*"
}

# report_failure STATUS COMMAND: the last words of a script that set -e ends,
# on one line: the command that failed, its status, and its file and line,
# followed by the calls that led there. Silent where a failure does not end
# the script (in a command substitution, whose shell runs without -e).
report_failure() {
  local status="$1" command="${2//$'\n'/ }"
  [[ $- == *e* ]] || return 0
  local where="" i file
  for ((i = 1; i < ${#BASH_SOURCE[@]}; i++)); do
    file="${BASH_SOURCE[i]#"$REPO_ROOT"/}"
    where+="${where:+, called from }$file line ${BASH_LINENO[i - 1]}"
    [[ "${FUNCNAME[i]}" == main || "${FUNCNAME[i]}" == source ]] || where+=" (in ${FUNCNAME[i]})"
  done
  local why=""
  ((status != 127)) || why=", command not found"
  echo "${0##*/}: failed (status $status$why): $command at $where" >&2
}
# Functions, command substitutions and subshells report too (-E).
set -E
trap 'report_failure $? "$BASH_COMMAND"' ERR

# require_commands PACKAGE:COMMAND...: stops before any work when a command the
# script calls is missing, naming the package that gives it (the package may
# name its architecture, wine32:i386:/usr/lib/wine/wine).
require_commands() {
  local pair missing=() packages=()
  for pair in "$@"; do
    local package="${pair%:*}" command="${pair##*:}"
    if ! command -v "$command" >/dev/null 2>&1; then
      missing+=("$command")
      [[ " ${packages[*]} " == *" $package "* ]] || packages+=("$package")
      echo "${0##*/}: the command $command is missing: it comes with the package $package" >&2
    fi
  done
  ((${#missing[@]} == 0)) && return 0
  echo "${0##*/}: install what is missing first: apt-get install ${packages[*]}" >&2
  exit 1
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
