#!/usr/bin/env bash
# Builds the Debian package of Brevant (Release, Debian's hardening flags) into
# build-package/ and checks it: file owners, the packaged tool on the packaged samples,
# desktop-file-validate, appstreamcli and lintian. Any error stops the script; so does a
# lintian warning or info that docs/DEVELOPING.md does not explain.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$REPO_ROOT"

dir=build-package

stage "Dependencies"
bash scripts/deps.sh
require_commands cmake:cmake cmake:cpack dpkg-dev:dpkg-buildflags dpkg-dev:dpkg-parsechangelog fakeroot:fakeroot \
  file:file desktop-file-utils:desktop-file-validate appstream:appstreamcli lintian:lintian

stage "Build (Release) into $dir/"
# The flags Debian builds its own packages with: fortified functions, stack protector,
# read-only relocations bound at start. No debug information: the package is stripped.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
cxxflags="${cxxflags//-g /}"
configure "$dir" -DCMAKE_BUILD_TYPE=Release -DBREVANT_TESTS=OFF -DBREVANT_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)"
build "$dir"

stage "Package"
rm -f "$dir"/brevant_*.deb
(cd "$dir" && cpack -G DEB)
debs=("$dir"/brevant_*.deb)
deb="${debs[0]}"
dpkg-deb --info "$deb"
dpkg-deb --contents "$deb"

fail() {
  echo "package.sh: $*" >&2
  exit 1
}

stage "One version throughout"
version="$(dpkg-deb --field "$deb" Version)"
[[ "$(dpkg-parsechangelog --file packaging/changelog --show-field Version)" == "$version" ]] ||
  fail "packaging/changelog does not start with version $version"
grep -q "<release version=\"$version\"" packaging/*.metainfo.xml ||
  fail "the metainfo has no release $version"
echo "package, changelog and metainfo: $version"

stage "Files owned by root"
not_root="$(dpkg-deb --contents "$deb" | awk '$2 != "root/root"')"
[[ -z "$not_root" ]] || fail "files not owned by root/root:"$'\n'"$not_root"
echo "every file is root/root"

root="$dir/package-root"
rm -rf "$root"
dpkg-deb --extract "$deb" "$root"

stage "The packaged tool converts the packaged samples"
out="$dir/package-check"
rm -rf "$out"
mkdir -p "$out"
"$root/usr/bin/brevant-convert" --version
"$root/usr/bin/brevant-convert" --quiet --mode single --output-dir "$out" "$root/usr/share/brevant/Samples"
grep -q "<table" "$out/output.xml" || fail "no table in $out/output.xml"
echo "$(grep -c "<tr" "$out/output.xml") table rows in $out/output.xml"

stage "Desktop entry and AppStream metainfo"
# The sources are checked even when the package leaves them out (built without the window).
desktop-file-validate packaging/*.desktop
appstreamcli validate --no-net packaging/*.metainfo.xml
if [[ -d "$root/usr/share/metainfo" ]]; then
  desktop-file-validate "$root"/usr/share/applications/*.desktop
  appstreamcli validate-tree --no-net "$root"
else
  echo "The package holds no window: no menu entry or metainfo to check in it."
fi

stage "lintian"
# lintian exits non-zero on errors; warnings and infos must each be explained in docs/DEVELOPING.md.
report="$dir/lintian.txt"
lintian --info --display-info --pedantic "$deb" | tee "$report" || fail "lintian reports errors"
unexplained=()
while read -r tag; do
  grep -qF "\`$tag\`" docs/DEVELOPING.md || unexplained+=("$tag")
done < <(sed -nE 's/^[A-Z]: [^ ]+: ([a-z0-9][a-z0-9+.-]*).*/\1/p' "$report" | sort -u)
((${#unexplained[@]} == 0)) || fail "lintian tags not explained in docs/DEVELOPING.md: ${unexplained[*]}"
echo "lintian: no errors; $(grep -c '^[WIP]:' "$report" || true) warnings and infos, each explained in docs/DEVELOPING.md"

stage "Package $deb is ready"
