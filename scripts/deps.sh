#!/usr/bin/env bash
# Installs the build and test tools that are missing, and nothing else.
# Needs root on Debian 12; does nothing when everything is present.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

packages=(
  cmake
  ninja-build
  g++
  libgtest-dev
  libgmock-dev
  clang               # the fuzzer needs clang's libFuzzer
  libclang-rt-14-dev  # clang's sanitizer and fuzzer runtimes
  util-linux          # setpriv
  findutils
  time
  help2man            # the manual page of brevant-convert, made from its --help
  dpkg-dev            # the Debian package: dpkg-shlibdeps, dpkg-buildflags, dpkg-parsechangelog
  fakeroot            # dpkg tools that want to build as root
  file                # CPack and lintian tell binaries from other files
  lintian             # checks the Debian package
  desktop-file-utils  # desktop-file-validate
  appstream           # appstreamcli validate
  qt6-base-dev        # the window, brevant (Qt 6 Widgets, Qt Test)
  libxcb1-dev         # the window notices when the X server destroys it
  fonts-liberation    # Liberation Sans, the metric-compatible stand-in for Arial
  xvfb                # the window tests' and screenshots' display-less X server
  xauth               # xvfb-run needs it
  dbus                # dbus-run-session: the accessibility test's session bus
  at-spi2-core        # the accessibility bus that screen readers read the window through
  python3-pyatspi     # the accessibility test reads the window's tree as a screen reader does
  libxml2-dev         # the tests read documents with one row per contact as XML
  zlib1g-dev          # deflate and CRC-32 of the .xlsx workbook's zip container
  strace              # the tests watch a run sync what it writes; the disk benchmark counts system calls
  python3-vobject     # an independent vCard reader, for the differential check of one row per contact
  xfsprogs            # the power-cut check's file system of its own (scripts/power_cut_check.sh)
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg -s "$package" >/dev/null 2>&1; then
    missing+=("$package")
  fi
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "Installing: ${missing[*]}"
if [[ $(id -u) -ne 0 ]]; then
  echo "deps.sh: installing packages needs root (missing: ${missing[*]})" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
