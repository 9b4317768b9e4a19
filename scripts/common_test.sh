#!/usr/bin/env bash
# Checks what a script that sources common.sh says when it fails: its last
# line names the command that failed, its file and line; a failure that does
# not end the script says nothing; require_commands names the package of a
# missing command. test.sh runs it first.
# shellcheck disable=SC2016 # the cases' bodies are expanded by their own shell
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT
cat >"$dir/helpers.sh" <<'EOF'
convert() {
  local input="$1"
  false "$input"
}
EOF

failures=0
# check NAME STATUS LAST_LINE BODY [LINE...]: runs BODY as the script case.sh,
# from its third line on (the first two set -euo pipefail and source
# common.sh), and compares its exit status and the last line it wrote to
# standard error; each LINE must be among the earlier ones.
check() {
  local name="$1" want_status="$2" want_last="$3" body="$4" line
  shift 4
  printf 'set -euo pipefail\nsource %q\n%s\n' "$REPO_ROOT/scripts/common.sh" "$body" >"$dir/case.sh"
  local status=0 last
  (cd "$dir" && bash case.sh >/dev/null 2>errors.txt) || status=$?
  last="$(tail -n 1 "$dir/errors.txt")"
  local wrong=""
  [[ "$status" == "$want_status" ]] || wrong+=$'\n'"  status $status, expected $want_status"
  [[ "$last" == "$want_last" ]] || wrong+=$'\n'"  last line: $last"$'\n'"  expected:  $want_last"
  for line in "$@"; do
    grep -qxF -- "$line" "$dir/errors.txt" || wrong+=$'\n'"  no line: $line"
  done
  if [[ -z "$wrong" ]]; then
    echo "ok: $name"
  else
    echo "FAILED: $name$wrong"
    failures=$((failures + 1))
  fi
}

check "a missing command" 127 \
  "case.sh: failed (status 127, command not found): brevant_no_such_command --all at case.sh line 4" \
  'echo "a first step"
brevant_no_such_command --all
echo "never reached"'

check "a missing command whose output a variable takes" 127 \
  "case.sh: failed (status 127, command not found): folder=\"\$(brevant_no_such_path -u 'C:\\Program Files')\" at case.sh line 3" \
  "folder=\"\$(brevant_no_such_path -u 'C:\\Program Files')\"
echo \"\$folder\""

check "a failure in a function of a sourced file" 1 \
  "case.sh: failed (status 1): false \"\$input\" at ./helpers.sh line 3 (in convert), called from case.sh line 4" \
  'source ./helpers.sh
convert sample.vcf'

check "failures that the script expects say nothing" 0 "" \
  'if brevant_no_such_command 2>/dev/null; then exit 3; fi
brevant_no_such_command 2>/dev/null || true
none="$(grep -c missing /dev/null)" || true
[[ "$(grep missing /dev/null | sort)" == "" ]]
source ./helpers.sh
convert sample.vcf || echo "convert failed, as expected"'

check "a missing command named with its package before any work" 1 \
  "case.sh: install what is missing first: apt-get install brevant-tools wine32:i386" \
  'require_commands coreutils:ls brevant-tools:brevant_no_such_command wine32:i386:/nonexistent/wine \
  brevant-tools:brevant_no_such_helper
echo "never reached"' \
  "case.sh: the command brevant_no_such_command is missing: it comes with the package brevant-tools" \
  "case.sh: the command /nonexistent/wine is missing: it comes with the package wine32:i386" \
  "case.sh: the command brevant_no_such_helper is missing: it comes with the package brevant-tools"

check "every command present" 0 "" 'require_commands coreutils:ls bash:bash'

if ((failures > 0)); then
  echo "common_test.sh: $failures of the checks failed" >&2
  exit 1
fi
