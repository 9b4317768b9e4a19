#!/usr/bin/env bash
# The Windows downloads tried as a user would use them, the last step of
# windows.sh once both architectures and their downloads are built and the
# Linux tool's documents of the samples are in COMPARE/linux. In a fresh
# Wine of its own: the x64 installer for all users and the x86 one for the
# current user, each installed silently; the files (the same as in the
# portable zip) and registry keys checked; the installed brevant-convert.exe
# converting the installed samples to the Linux tool's documents; the installed
# window finding its samples and opening a .vcf through "Open with"; a silent
# uninstall; and last the whole prefix's files and registry compared with
# those from before the first install.
# Usage: DISPLAY=... scripts/windows_install.sh WIN64_BUILD WIN32_BUILD COMPARE
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
# shellcheck source-path=SCRIPTDIR source=wine_window.sh
source "$REPO_ROOT/scripts/wine_window.sh"
cd "$REPO_ROOT"
WIN64_BUILD="${1:?the 64-bit build folder}"
WIN32_BUILD="${2:?the 32-bit build folder}"
compare="${3:?the folder of the Linux documents}"
: "${DISPLAY:?an X server}"
export PATH="/usr/lib/wine:$PATH" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
version="$(sed -n 's/^project(Brevant VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
install_test="$WIN64_BUILD/install-test"
rm -rf "$install_test"
mkdir -p "$install_test"
export WINEPREFIX="$REPO_ROOT/$install_test/wine"
# This Wine ends with the script, whatever ends it.
trap 'wineserver -k </dev/null >/dev/null 2>&1 || true' EXIT
mkdir -p "$WINEPREFIX"
(
  wineserver -p
  wine64 wineboot --init
) </dev/null >/dev/null 2>&1

install_fail() {
  echo "windows_install.sh: $*" >&2
  exit 1
}

# registry_value KEY NAME [VIEW]: the data of one value; fails when the value
# is not there. NAME (Default) is the key's default value. VIEW is 32 or 64,
# the registry view of a 32-bit or a 64-bit program.
registry_value() {
  local which=(/v "$2")
  [[ "$2" != '(Default)' ]] || which=(/ve)
  wine64 reg query "$1" "${which[@]}" ${3:+/reg:$3} </dev/null 2>/dev/null | tr -d '\r' |
    awk -v name="$2" '$1 == name {
        sub(/^ *[^ ]+ +REG_[A-Z_]+ */, "")
        if ($0 != "(value not set)") { print; found = 1 }
      } END { exit !found }'
}

# registry_listing: the name of every key and value of HKLM (both views)
# and HKCU, one a line; the data, which Wine changes as it runs, is left out.
registry_listing() {
  local hive export="$install_test/export.reg"
  for hive in HKLM HKCU; do
    wine64 reg export "$hive" "$(windows_path "$export")" /y </dev/null >/dev/null 2>&1
    iconv -f UTF-16LE -t UTF-8 "$export" | tr -d '\r' | awk '
      /^\[/ { key = substr($0, 2, length($0) - 2); print key; next }
      /^@=/ { print key "\\@"; next }
      /^"/ { print key "\\" substr($0, 2, index($0, "\"=") - 2) }'
  done | LC_ALL=C sort
  rm -f "$export"
}

# prefix_listing: every file and folder of the prefix's drive C.
prefix_listing() {
  (cd "$WINEPREFIX" && find drive_c -printf '%y %p\n' | LC_ALL=C sort)
}

# Another program is the default for .vcf files: the installs must leave it so.
wine64 reg add 'HKLM\Software\Classes\.vcf' /ve /d OtherContacts.vcf /f </dev/null >/dev/null
prefix_listing >"$install_test/files-before.txt"
registry_listing >"$install_test/registry-before.txt"
echo "Before the installs: $(wc -l <"$install_test/files-before.txt") files and folders," \
  "$(wc -l <"$install_test/registry-before.txt") registry keys and values"

# try_installer ARCH BUILD MODE WINE VIEW [FOLDER]: one installer, from install
# to uninstall, into FOLDER when given (/D), else into the mode's own folder.
try_installer() {
  local arch="$1" build="$2" mode="$3" wine="$4" view="$5" chosen="${6:-}"
  local setup="$build/Brevant-$version-$arch-setup.exe" zip="$build/Brevant-$version-$arch-portable.zip"
  local root='HKLM' out="$install_test/$arch"
  [[ "$mode" == AllUsers ]] || root='HKCU'
  local uninstall_key="$root\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Brevant"
  local prog_id_key="$root\\Software\\Classes\\Ambervale.Brevant.vcf"
  mkdir -p "$out"
  stage "Installer $(basename "$setup") ($(stat -c %s "$setup") bytes): /S /$mode ${chosen:+/D=$chosen}"
  "$wine" "$setup" /S "/$mode" ${chosen:+"/D=$chosen"} </dev/null || install_fail "the silent install failed"

  local place folder
  place="$(registry_value "$uninstall_key" InstallLocation "$view")" || install_fail "no Uninstall entry in $root"
  folder="$(winepath -u "$place" 2>/dev/null)"
  folder="${folder%/}"
  [[ -z "$chosen" || "$place" == "$chosen" ]] || install_fail "installed into $place, not into $chosen"
  echo "Installed into $place"

  # The same files as the portable zip, and the uninstaller.
  mkdir -p "$out/zip"
  (cd "$out/zip" && cmake -E tar xf "$REPO_ROOT/$zip")
  local unzipped="$out/zip/Brevant-$version-$arch"
  diff <(cd "$unzipped" && find . | sort) <(cd "$folder" && find . ! -name uninstall.exe | sort) ||
    install_fail "the install and the zip hold different files"
  diff -r "$unzipped" "$folder" -x uninstall.exe || install_fail "a file differs between the install and the zip"
  echo "$(find "$folder" -type f | wc -l) files, those of $(basename "$zip") and uninstall.exe"

  # Start menu, "Open with", the Uninstall entry, in the registry view of the programs.
  local programs="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs"
  [[ "$mode" == AllUsers ]] || programs="$(winepath -u "$(wine64 cmd /c 'echo %APPDATA%' </dev/null | tr -d '\r')")/Microsoft/Windows/Start Menu/Programs"
  [[ -f "$programs/Brevant.lnk" ]] || install_fail "no Start menu entry in $programs"
  [[ "$(registry_value "$prog_id_key\\shell\\open\\command" '(Default)' "$view")" == "\"$place\\brevant.exe\" \"%1\"" ]] ||
    install_fail "the open command of the ProgID is not that of the installed brevant.exe"
  registry_value "$root\\Software\\Classes\\.vcf\\OpenWithProgids" Ambervale.Brevant.vcf "$view" >/dev/null ||
    install_fail "Brevant is not offered for .vcf files"
  [[ "$(registry_value 'HKLM\Software\Classes\.vcf' '(Default)')" == OtherContacts.vcf ]] ||
    install_fail "the install took over the default program for .vcf files"
  [[ "$root" == HKLM ]] || ! registry_value 'HKCU\Software\Classes\.vcf' '(Default)' >/dev/null ||
    install_fail "the install took over the default program for .vcf files of the user"
  local -A expected=(
    [DisplayName]="Brevant ($([[ $arch == x64 ]] && echo 64 || echo 32)-bit)"
    [DisplayVersion]="$version"
    [Publisher]=Ambervale
    [DisplayIcon]="$place\\brevant.exe,0"
    [UninstallString]="\"$place\\uninstall.exe\" /$mode"
    [QuietUninstallString]="\"$place\\uninstall.exe\" /$mode /S"
  )
  local name
  for name in "${!expected[@]}"; do
    [[ "$(registry_value "$uninstall_key" "$name" "$view")" == "${expected[$name]}" ]] ||
      install_fail "Uninstall entry: $name is '$(registry_value "$uninstall_key" "$name" "$view")', not '${expected[$name]}'"
  done
  # The size in KB, as Windows shows it: that of the installed files.
  local size bytes
  size="$(($(registry_value "$uninstall_key" EstimatedSize "$view")))"
  bytes="$(find "$folder" -type f -printf '%s\n' | awk '{ total += $1 } END { print total }')"
  ((size > 0 && size * 1024 <= bytes && bytes < (size + 16) * 1024)) ||
    install_fail "Uninstall entry: EstimatedSize $size KB for $bytes bytes"
  if [[ "$view" == 64 ]] && registry_value "$uninstall_key" DisplayName 32 >/dev/null; then
    install_fail "the 64-bit program's entry is in the 32-bit registry view"
  fi
  echo "Start menu entry, \"Open with\" for .vcf (the default left to OtherContacts.vcf), Uninstall entry: present"

  # The installed tool converts the installed samples as the Linux tool does.
  local mode_each rows tool_out
  for mode_each in each single; do
    for rows in "" --per-contact; do
      tool_out="$out/documents/samples-$mode_each${rows:+-per-contact}"
      mkdir -p "$tool_out"
      "$wine" "$folder/brevant-convert.exe" -q -m "$mode_each" $rows --csv --xlsx -o "$tool_out" "$place\\Samples" </dev/null
    done
  done
  diff -r "$compare/linux" "$out/documents" -x 'tree-*' || install_fail "the installed tool's documents differ from Linux"
  echo "The installed brevant-convert.exe: $(find "$out/documents" -type f | wc -l) documents, CSV files and workbooks of the" \
    "installed samples, the same bytes as the Linux tool's"

  # The installed window finds the samples beside it; its options are the user's.
  window_settings Option4=False Option3=True "Text1=$(windows_path "$out")\\"
  BREVANT_WINE="$wine" window_start "$folder/brevant.exe" "$out/report.txt"
  window_click PushButton3
  window_answer n
  import -window root "$out/installed-window.png"
  window_close
  grep -qx 'rows 7' "$out/report.txt" || install_fail "the installed window did not load its 7 samples"
  # "Open with": the ProgID's command opening a .vcf.
  local team="$out/Ambervale team.vcf"
  cp "$unzipped/Samples/Ambervale team.vcf" "$team"
  window_report="$out/open-with.txt"
  if [[ "$mode" == AllUsers ]]; then
    # As Explorer opens it: Wine's start looks the ProgID up.
    rm -f "$window_report"
    BREVANT_TEST_REPORT="$(windows_path "$window_report")" wine64 start /wait /ProgIDOpen Ambervale.Brevant.vcf \
      "$(windows_path "$team")" </dev/null >/dev/null 2>&1 &
    # shellcheck disable=SC2034 # the window helpers wait for it
    window_pid=$!
    window_shown
  else
    # Wine looks file types up in HKLM only: the per-user ProgID's command is
    # run as it stands in the registry.
    local command
    command="$(registry_value "$prog_id_key\\shell\\open\\command" '(Default)')"
    command="${command#\"}"
    BREVANT_WINE="$wine" window_start "${command%%\"*}" "$window_report" "$(windows_path "$team")"
  fi
  window_close
  if ! grep -qxF "row $(windows_path "$team")" "$window_report" || ! grep -qx 'rows 1' "$window_report"; then
    install_fail "\"Open with\" did not open the file in the installed window"
  fi
  echo "The installed window loaded its 7 samples, and \"Open with\" opened a .vcf in it"

  # A running Brevant holds its program's file: uninstalling, or installing
  # over it, ends with exit code 2 (Cancel, as a silent run answers) and
  # changes nothing. The uninstaller runs in place (_?=) to give its exit code;
  # the folder is given by its short name, as _?= takes no quotes and Wine
  # quotes an argument with spaces.
  BREVANT_WINE="$wine" window_start "$folder/brevant.exe" "$out/running.txt"
  local status=0
  "$wine" "$folder/uninstall.exe" /S "/$mode" "_?=$(winepath -s "$place")" </dev/null || status=$?
  ((status == 2)) || install_fail "uninstalling while Brevant ran gave exit code $status, not 2"
  status=0
  "$wine" "$setup" /S "/$mode" ${chosen:+"/D=$chosen"} </dev/null || status=$?
  ((status == 2)) || install_fail "installing over a running Brevant gave exit code $status, not 2"
  window_close
  diff -r "$unzipped" "$folder" -x uninstall.exe || install_fail "a file changed while Brevant ran"
  [[ -f "$folder/uninstall.exe" ]] || install_fail "the uninstaller went while Brevant ran"
  registry_value "$uninstall_key" DisplayName "$view" >/dev/null ||
    install_fail "the Uninstall entry went while Brevant ran"
  echo "While Brevant ran, uninstalling it and installing over it ended with exit code 2, nothing changed"

  # A document saved beside the installed samples is the user's: it stays.
  if [[ "$mode" == CurrentUser ]]; then
    "$wine" "$folder/brevant-convert.exe" -q "$place\\Samples\\Ambervale team.vcf" </dev/null
  fi

  # As "Apps & features" would: the entry's quiet uninstall command.
  local quiet uninstaller
  quiet="$(registry_value "$uninstall_key" QuietUninstallString "$view")"
  uninstaller="${quiet#\"}"
  uninstaller="${uninstaller%%\"*}"
  stage "Uninstalling silently: $quiet"
  # shellcheck disable=SC2086 # the options after the quoted program
  "$wine" "$uninstaller" ${quiet#\""$uninstaller"\" } </dev/null || install_fail "the silent uninstall failed"
  # The uninstaller runs from a copy in Temp and returns at once: wait for it.
  for _ in $(seq 1 300); do
    registry_value "$uninstall_key" DisplayName "$view" >/dev/null || break
    sleep 0.1
  done
  for _ in $(seq 1 300); do
    pgrep -f 'nsu.*\.tmp.Un' >/dev/null || break
    sleep 0.1
  done
  registry_value "$uninstall_key" DisplayName "$view" >/dev/null && install_fail "the Uninstall entry is still there"
  [[ ! -e "$programs/Brevant.lnk" ]] || install_fail "the Start menu entry is still there"
  registry_value "$prog_id_key" '(Default)' "$view" >/dev/null && install_fail "the ProgID is still there"
  [[ "$(registry_value 'HKLM\Software\Classes\.vcf' '(Default)')" == OtherContacts.vcf ]] ||
    install_fail "the uninstall removed the default program for .vcf files"
  [[ "$(registry_value 'HKCU\Software\Ambervale\Brevant' Option3)" == True ]] ||
    install_fail "the uninstall removed the user's settings"
  if [[ "$mode" == CurrentUser ]]; then
    [[ "$(cd "$folder" && find . -mindepth 1 | sort | tr '\n' ' ')" == "./Samples ./Samples/Ambervale team.htm " ]] ||
      install_fail "the uninstall did not leave exactly the user's document in $folder"
    echo "Left in $place: Samples\\Ambervale team.htm, the user's document"
  else
    [[ ! -e "$folder" ]] || install_fail "$folder is still there"
  fi
  echo "Uninstalled: no file, Start menu entry or key of the install left; settings and documents kept"
}

try_installer x64 "$WIN64_BUILD" AllUsers wine64 64
# The 32-bit one into a folder of the user's choosing.
try_installer x86 "$WIN32_BUILD" CurrentUser wine 32 \
  "$(wine64 cmd /c 'echo %LOCALAPPDATA%' </dev/null | tr -d '\r')\Programs\Brevant-$version"

stage "The prefix before the installs and after the uninstalls"
# Windows deletes the uninstaller's copy in Temp at the next restart; so does Wine.
wine64 wineboot --restart </dev/null >/dev/null 2>&1
prefix_listing >"$install_test/files-after.txt"
registry_listing >"$install_test/registry-after.txt"
echo "After the uninstalls: $(wc -l <"$install_test/files-after.txt") files and folders," \
  "$(wc -l <"$install_test/registry-after.txt") registry keys and values"
# What stays on purpose: the user's settings, the document beside the samples,
# and the empty folder NSIS's uninstaller ran from in Temp.
kept='^HKEY_CURRENT_USER\\Software\\Ambervale(\\Brevant(\\[A-Za-z0-9]+)?)?$|/Temp/~nsu[0-9]*\.tmp$'
kept+="|/Programs/Brevant-${version//./\\.}(/Samples(/Ambervale team\\.htm)?)?\$"
ours='brevant|ambervale|\.vcf|nsu[0-9]*\.tmp'
added="$(cat <(LC_ALL=C comm -13 "$install_test/files-before.txt" "$install_test/files-after.txt") \
  <(LC_ALL=C comm -13 "$install_test/registry-before.txt" "$install_test/registry-after.txt"))"
removed="$(cat <(LC_ALL=C comm -23 "$install_test/files-before.txt" "$install_test/files-after.txt") \
  <(LC_ALL=C comm -23 "$install_test/registry-before.txt" "$install_test/registry-after.txt"))"
printf '%s\n' "$added" >"$install_test/added.txt"
printf '%s\n' "$removed" >"$install_test/removed.txt"
echo "Added since before the installs (all of it in $install_test/added.txt):"
grep -iE "$ours" <<<"$added" | sed 's/^/  /' || true
echo "  and $(grep -viE "$ours" <<<"$added" | grep -c . || true) other entries: Wine's own, and the user's programs folder" \
  "and the parent keys of Classes and Uninstall in HKCU that the per-user install was the first to need"
left="$(grep -iE "$ours" <<<"$added" | grep -vE "$kept" || true)"
[[ -z "$left" ]] || install_fail "the uninstalls left behind:"$'\n'"$left"
lost="$(grep -iE "$ours" <<<"$removed" || true)"
[[ -z "$lost" ]] || install_fail "the installs or uninstalls removed what was there before:"$'\n'"$lost"
echo "Nothing of the installs is left but the user's settings and document"
