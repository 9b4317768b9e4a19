#!/usr/bin/env bash
# Drives brevant.exe under Wine in Xvfb as a user would, with xdotool: starts
# it, clicks its buttons, answers its message boxes and closes it. Sourced by
# windows.sh and bench/window_vs_tool_wine.sh, with WINEPREFIX and PATH set
# and Wine's server running; start_display gives them an X server. The
# program tells where its buttons lie (and, when it ends, its rows) in the
# file BREVANT_TEST_REPORT names.

# start_display FOLDER: an X server of our own on a free display, kept alive
# while programs come and go (-noreset); its number is kept in FOLDER/display
# and its process id in display_pid.
start_display() {
  Xvfb -displayfd 3 -screen 0 1280x900x24 -noreset -nolisten tcp 3>"$1/display" </dev/null >/dev/null 2>&1 &
  # shellcheck disable=SC2034 # the callers end it
  display_pid=$!
  local tries
  for tries in $(seq 1 100); do
    [[ -s "$1/display" ]] && break
    sleep 0.1
  done
  DISPLAY=":$(cat "$1/display")"
  export DISPLAY
}

# windows_path PATH: the path as Wine's programs see it (drive Z: is the root).
windows_path() {
  local full
  full="$(realpath -m "$1")"
  printf 'Z:%s' "${full//\//\\}"
}

# window_start EXE REPORT [ARGS...]: starts the program (with the Wine loader
# BREVANT_WINE names, wine64 unless set); sets window_pid and window_id once
# its window shows.
window_start() {
  local exe="$1"
  window_report="$2"
  shift 2
  rm -f "$window_report"
  BREVANT_TEST_REPORT="$(windows_path "$window_report")" "${BREVANT_WINE:-wine64}" "$exe" "$@" </dev/null >/dev/null 2>&1 &
  window_pid=$!
  window_shown --pid "$window_pid"
}

# window_shown [XDOTOOL_SEARCH_OPTIONS...]: waits until the program that
# window_pid waits for has told where its buttons lie and its window shows;
# sets window_id.
window_shown() {
  window_id=""
  local tries
  for tries in $(seq 1 600); do
    if grep -q '^control PushButton2 ' "$window_report" 2>/dev/null; then
      window_id="$(xdotool search --onlyvisible "$@" --name '^Brevant$' 2>/dev/null | head -1)"
      [[ -n "$window_id" ]] && return 0
    fi
    kill -0 "$window_pid" 2>/dev/null || break
    sleep 0.1
  done
  echo "brevant.exe did not show its window" >&2
  return 1
}

# window_click NAME: clicks the named button where the program said it lies.
window_click() {
  local x y
  read -r x y < <(awk -v name="$1" '$1 == "control" && $2 == name { print $3, $4 }' "$window_report")
  xdotool mousemove --sync "$x" "$y" click 1
}

# window_box [SECONDS]: waits for a message box of the program (a second
# visible window of that title) and prints its window id.
window_box() {
  local limit="${1:-60}" tries id
  for tries in $(seq 1 $((limit * 10))); do
    for id in $(xdotool search --onlyvisible --pid "$window_pid" --name '^Brevant$' 2>/dev/null); do
      if [[ "$id" != "$window_id" ]]; then
        echo "$id"
        return 0
      fi
    done
    sleep 0.1
  done
  echo "no message box showed within $limit s" >&2
  return 1
}

# window_answer KEY [SECONDS]: answers the next message box with a key
# (n for No, Return for the default button) and waits until it has gone. A
# box that has only just appeared may miss the key: it is pressed again.
window_answer() {
  local box tries
  box="$(window_box "${2:-60}")" || return 1
  for tries in $(seq 1 100); do
    ((tries % 10 == 1)) && xdotool key --window "$box" "$1" 2>/dev/null
    sleep 0.1
    xdotool search --onlyvisible --pid "$window_pid" --name '^Brevant$' 2>/dev/null | grep -qx "$box" || return 0
  done
  echo "the message box did not go away" >&2
  return 1
}

# window_close [SECONDS]: closes the window as its close button would and
# waits for the program to end; fails when it does not end in time.
window_close() {
  local limit="${1:-20}" tries
  xdotool key --window "$window_id" alt+F4 2>/dev/null || true
  for tries in $(seq 1 $((limit * 20))); do
    kill -0 "$window_pid" 2>/dev/null || {
      wait "$window_pid" 2>/dev/null || true
      return 0
    }
    sleep 0.05
  done
  echo "brevant.exe did not end within $limit s of its close" >&2
  return 1
}

# window_busy [SECONDS]: waits until the program has begun a run or scan.
window_busy() {
  local tries
  for tries in $(seq 1 $((${1:-30} * 50))); do
    grep -qx 'busy-begun' "$window_report" 2>/dev/null && return 0
    sleep 0.02
  done
  echo "the window did not begin its run" >&2
  return 1
}

# window_settings KEY=VALUE...: the program's stored options, written to the registry as it keeps them.
window_settings() {
  local file pair
  file="$(mktemp --suffix=.reg)"
  {
    printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Ambervale\\Brevant]\r\n'
    for pair in "$@"; do
      local value="${pair#*=}"
      value="${value//\\/\\\\}"
      printf '"%s"="%s"\r\n' "${pair%%=*}" "${value//\"/\\\"}"
    done
  } >"$file"
  wine64 regedit /S "$(windows_path "$file")" </dev/null >/dev/null 2>&1
  rm -f "$file"
}
