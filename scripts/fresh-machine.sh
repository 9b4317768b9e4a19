#!/usr/bin/env bash
# Tries the README's "Getting started" as a newcomer would on a fresh Debian 12
# machine: makes a minimal Debian 12 root with debootstrap, clones this
# repository to /root/brevant inside it (where root clones it: in a home that
# no other user may enter) and runs the README's two commands there (chroot),
# printing each one's time and result and how much was downloaded. The root is
# unmounted and removed afterwards, whatever happens; the host's own packages
# stay as they are (when the host has no debootstrap, it runs unpacked from
# Debian's package). Needs root and Debian's archive, and takes long: it
# downloads a whole system and everything the scripts install, so it is no
# part of .ci/run. Run it before calling done a change to what the scripts
# install or call.
# Usage: scripts/fresh-machine.sh [--revision REV] [COMMAND...]
#   REV      what is cloned (default HEAD; uncommitted changes are no part of it)
#   COMMAND  run these instead of the README's, for a shorter check
# FRESH_DIR is where the root is made (default build-fresh/ of the repository),
# FRESH_MIRROR Debian's archive (default http://deb.debian.org/debian).
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$REPO_ROOT"

revision=HEAD
if [[ "${1:-}" == --revision ]]; then
  revision="${2:?--revision needs a revision}"
  shift 2
fi
commands=("$@")
if ((${#commands[@]} == 0)); then
  # Word for word, the lines of the first code block under "Getting started".
  mapfile -t commands < <(awk '/^## / { section = ($0 == "## Getting started"); next }
    section && /^```/ { block++; next }
    section && block == 1 { sub(/ *#.*/, ""); if ($0 != "") print }' README.md)
  if ((${#commands[@]} == 0)); then
    echo "fresh-machine.sh: README.md has no commands in a code block under \"Getting started\"" >&2
    exit 1
  fi
fi
if [[ $(id -u) -ne 0 ]]; then
  echo "fresh-machine.sh: making a Debian root and entering it needs root" >&2
  exit 1
fi
require_commands git:git util-linux:mount util-linux:umount util-linux:mountpoint coreutils:chroot apt:apt-get \
  dpkg:dpkg-deb

mirror="${FRESH_MIRROR:-http://deb.debian.org/debian}"
commit="$(git rev-parse --verify "$revision^{commit}")"
branch=""
[[ "$revision" != HEAD ]] || branch="$(git symbolic-ref --quiet --short HEAD || true)"
work="$(realpath -m "${FRESH_DIR:-$REPO_ROOT/build-fresh}")"
root="$work/root"
log="$work/commands.log"
running=""

# Nothing may stay mounted in the root when it is removed: that would remove
# what the host's /dev holds. rm stays on the root's own file system too.
mounted_in_root() {
  awk -v root="$root/" 'index($5, root) == 1 { found = 1 } END { exit !found }' /proc/self/mountinfo
}

remove_root() {
  [[ -e "$root" ]] || return 0
  if mounted_in_root; then
    echo "fresh-machine.sh: $root still has file systems mounted; left as it is" >&2
    return 1
  fi
  rm -rf --one-file-system "$root"
}

# shellcheck disable=SC2317 # called by the trap
end_root() {
  [[ -z "$running" ]] || kill "$running" 2>/dev/null || true
  [[ -d "$root" ]] || return 0
  # Whatever still runs inside the root (an X server, Wine's server) ends first.
  local proc pids=()
  for proc in /proc/[0-9]*; do
    if [[ "$(readlink "$proc/root" 2>/dev/null)" == "$root" ]]; then pids+=("${proc#/proc/}"); fi
  done
  if ((${#pids[@]} > 0)); then
    kill -TERM "${pids[@]}" 2>/dev/null || true
    sleep 2
    kill -KILL "${pids[@]}" 2>/dev/null || true
    sleep 1
  fi
  local mount
  for mount in dev/shm dev/pts dev sys proc; do
    if mountpoint -q "$root/$mount"; then
      umount "$root/$mount" || umount --lazy "$root/$mount" || true
    fi
  done
  if remove_root; then
    rm -rf "$work/cache"
    echo "Removed the fresh root $root"
  fi
}

# in_background COMMAND...: runs it so that an interrupt reaches end_root at
# once rather than when the command ends; gives its status.
in_background() {
  "$@" &
  running=$!
  local status=0
  wait "$running" || status=$?
  running=""
  return "$status"
}

duration() {
  printf '%d min %02d s' $(($1 / 60)) $(($1 % 60))
}

# The bytes that apt-get says it fetched, from its "Fetched 12.3 MB in 4s" lines.
apt_fetched() {
  awk '/^Fetched [0-9.,]+ [kMG]?B in / {
      value = $2; gsub(/,/, "", value)
      unit = $3; factor = unit == "kB" ? 1e3 : unit == "MB" ? 1e6 : unit == "GB" ? 1e9 : 1
      total += value * factor
    } END { printf "%d\n", total }' "$1"
}

megabytes() {
  awk -v bytes="$1" 'BEGIN { printf "%.0f MB", bytes / 1e6 }'
}

if [[ -e "$root" ]]; then
  stage "Removing the root of an earlier run"
  for mount in dev/shm dev/pts dev sys proc; do
    if mountpoint -q "$root/$mount"; then umount "$root/$mount"; fi
  done
  remove_root
fi
trap end_root EXIT
trap 'exit 130' INT TERM
rm -rf "$work/cache" "$log"
mkdir -p "$work/cache"

debootstrap=(debootstrap)
if ! command -v debootstrap >/dev/null 2>&1; then
  stage "debootstrap, unpacked from Debian's package into $work/debootstrap"
  require_commands wget:wget
  rm -rf "$work/debootstrap"
  mkdir -p "$work/debootstrap"
  # Downloaded as root: apt's own user may not write to the folder.
  (cd "$work/debootstrap" && apt-get download -o APT::Sandbox::User=root debootstrap &&
    dpkg-deb -x debootstrap_*.deb tree)
  export DEBOOTSTRAP_DIR="$work/debootstrap/tree/usr/share/debootstrap"
  debootstrap=("$work/debootstrap/tree/usr/sbin/debootstrap")
fi

stage "A minimal Debian 12 in $root, from $mirror"
started=$SECONDS
in_background "${debootstrap[@]}" --variant=minbase --cache-dir="$work/cache" bookworm "$root" "$mirror"
debootstrap_bytes="$(find "$work/cache" -name '*.deb' -printf '%s\n' | awk '{ total += $1 } END { printf "%d\n", total }')"
echo "Made in $(duration $((SECONDS - started))), $(megabytes "$debootstrap_bytes") of packages downloaded"

# As an installed system has them: the release, its updates and security updates.
{
  echo "deb $mirror bookworm main"
  echo "deb $mirror bookworm-updates main"
  [[ "$mirror" != */debian ]] || echo "deb ${mirror%/debian}/debian-security bookworm-security main"
} >"$root/etc/apt/sources.list"
cp /etc/resolv.conf "$root/etc/resolv.conf"
mount -t proc proc "$root/proc"
mount -t sysfs sysfs "$root/sys"
mount --bind /dev "$root/dev"
mount --bind /dev/pts "$root/dev/pts"
mount -t tmpfs -o mode=1777 shm "$root/dev/shm"

stage "The repository cloned to /root/brevant, at ${branch:-$revision} ($commit)"
if [[ -n "$(git status --porcelain --untracked-files=no)" ]]; then
  echo "(the checkout has uncommitted changes: they are no part of the clone)"
fi
(
  umask 022
  git clone --quiet --no-local ${branch:+--branch "$branch"} "$REPO_ROOT" "$root/root/brevant"
  git -C "$root/root/brevant" checkout --quiet ${branch:+-B "$branch"} "$commit"
)
echo "root's home: mode $(stat -c %a "$root/root"), as on every Debian system"

results=()
failed=0
for command in "${commands[@]}"; do
  stage "In the fresh root, in /root/brevant: $command"
  started=$SECONDS
  status=0
  # shellcheck disable=SC2016 # expanded by that shell
  in_background bash -o pipefail -c 'chroot "$1" /usr/bin/env -i HOME=/root USER=root LOGNAME=root SHELL=/bin/bash TERM=dumb \
      LANG=C.UTF-8 PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
      /bin/bash -c "cd /root/brevant && $2" </dev/null 2>&1 | tee -a "$3"' run "$root" "$command" "$log" ||
    status=$?
  took="$(duration $((SECONDS - started)))"
  if ((status == 0)); then
    results+=("$command: passed in $took")
  else
    results+=("$command: FAILED with status $status after $took")
    failed=1
  fi
  echo "${results[-1]}"
done

apt_bytes="$(apt_fetched "$log")"
stage "A fresh Debian 12 at ${branch:-$revision} ($commit)"
printf '  %s\n' "${results[@]}"
echo "  Downloaded: $(megabytes $((debootstrap_bytes + apt_bytes))) ($(megabytes "$debootstrap_bytes") of packages" \
  "for the minimal system, $(megabytes "$apt_bytes") fetched by apt-get for the scripts)"
exit "$failed"
