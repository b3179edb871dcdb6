#!/usr/bin/env bash
# Builds what a Windows user downloads from dist/ (assembled by the build):
#   build/release/Varnick-<version>.zip        the dist/ folder
#   build/release/Varnick-<version>-setup.exe  the installer (makensis)
# then checks them: the zip's and the installer's file lists, and, under Wine in a fresh
# prefix, a silent install into a test folder, the Start menu entries, and the uninstaller
# with and without the removal of the user's data. Prints "ok ..." / "FAIL ..." per check.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
dist="$root/dist"
out="$root/build/release"
version=$(cat "$BUILD_RELEASE/version.txt" 2>/dev/null || echo 0.0.0)
zip="$out/Varnick-$version.zip"
setup="$out/Varnick-$version-setup.exe"

check() {  # name problem-text
  if [ -z "$2" ]; then echo "ok $1"; else echo "FAIL $1: $2"; fi
}

# The stage under Wine: install, look, uninstall, look again.
if [ "${1:-}" = --wine-stage ]; then
  start_wine_session "$out" || { echo "FAIL release: no Wine session"; exit 1; }
  c="$WINEPREFIX/drive_c"
  expected=$(cd "$dist" && find . -type f | sed 's|^\./||' | sort)
  setupwin='X:\'$(basename "$setup")
  menu_user="$c/users/$(whoami)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Varnick"
  [ -d "$c/users/$(whoami)" ] || menu_user=$(find "$c/users" -maxdepth 1 -mindepth 1 -type d ! -name Public | head -1)"/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Varnick"
  entries=("Varnick Cleaner.lnk")
  [ -f "$dist/stelmar.exe" ] && entries+=("Varnick Startup Manager.lnk")
  [ -f "$dist/manual.html" ] && entries+=("Varnick Manual.lnk")
  menu_machine="$c/ProgramData/Microsoft/Windows/Start Menu/Programs/Varnick"
  # One install for the current user that keeps the user's data, one for the machine that
  # removes it.
  for round in keep remove; do
    target="$c/vk-install-$round/Varnick"
    mode=/CurrentUser menu=$menu_user
    [ "$round" = remove ] && mode=/AllUsers menu=$menu_machine
    "$WINE_LOADER" "$setupwin" /S $mode "/D=C:\\vk-install-$round\\Varnick" >/dev/null 2>&1
    installed=$(cd "$target" 2>/dev/null && find . -type f | sed 's|^\./||' | grep -vx uninstall.exe | sort)
    check "installer ($round) installs exactly the dist files" \
      "$([ "$installed" = "$expected" ] || diff <(echo "$expected") <(echo "$installed") | tr '\n' ' ')"
    check "installer ($round) writes its uninstaller" "$([ -f "$target/uninstall.exe" ] || echo missing)"
    missing=""
    for e in "${entries[@]}"; do [ -f "$menu/$e" ] || missing+="$e "; done
    check "installer ($round, $mode) makes the Start menu entries" "${missing:+missing $missing}"
    # What the user made: settings, presets, a disabled startup entry, a plug-in of their own.
    printf '[morvel]\r\nSavedSettings=Weekly\r\n[Weekly]\r\nChrome cache=1\r\n' >"$target/morvel.ini"
    printf 'x' >"$target/plugins.ini"; printf 'x' >"$target/stelmar.dat"; printf 'x' >"$target/stelmar.cfg"
    mkdir -p "$target/lmas" "$target/cuas"; printf 'x' >"$target/cuas/Disabled.lnk"
    printf '[Info]\r\nTitle=Mine\r\n' >"$target/plug-ins/mine.vkt"
    flag=""; [ "$round" = remove ] && flag=/REMOVEUSERDATA
    # _?= runs the uninstaller in place, so that the call waits for it (it then cannot
    # delete itself).
    "$WINE_LOADER" "C:\\vk-install-$round\\Varnick\\uninstall.exe" /S $flag "_?=C:\\vk-install-$round\\Varnick" >/dev/null 2>&1
    left=$(cd "$target" 2>/dev/null && find . -type f | sed 's|^\./||' | grep -vx uninstall.exe | sort | tr '\n' ' ')
    if [ "$round" = keep ]; then
      want="cuas/Disabled.lnk morvel.ini plug-ins/mine.vkt plugins.ini stelmar.cfg stelmar.dat "
    else
      want="plug-ins/mine.vkt "
    fi
    check "uninstaller ($round user data) leaves only what it must" "$([ "$left" = "$want" ] || echo "left: $left")"
    check "uninstaller ($round) removes the Start menu entries" "$([ ! -e "$menu" ] || echo "$(ls "$menu" | tr '\n' ' ')")"
  done
  exit 0
fi

rm -rf "$out"
mkdir -p "$out"
[ -f "$dist/morvel.exe" ] || { echo "FAIL release: dist/ is not assembled"; exit 1; }

# The zip: dist/ as it is, in a folder named after the version.
(cd "$root" && rm -rf "$out/Varnick-$version" && cp -a dist "$out/Varnick-$version" &&
 cd "$out" && zip -qr9 "$zip" "Varnick-$version") 
expected=$(cd "$dist" && find . -type f | sed 's|^\./||' | sort)
zipped=$(unzip -Z1 "$zip" 2>/dev/null | grep -v '/$' | sed "s|^Varnick-$version/||" | sort)
check "zip holds exactly the dist files" "$([ -n "$expected" ] && [ "$zipped" = "$expected" ] || echo "zip: $(echo $zipped)")"
rm -rf "$out/Varnick-$version"

# The installer's lists of files and Start menu entries, from what dist/ holds.
files="$out/files.nsh"
{
  echo '!macro INSTALL_FILES'
  echo '  CreateDirectory "$INSTDIR\plug-ins"'
  while read -r f; do
    echo "  File \"/oname=\$INSTDIR\\${f//\//\\}\" \"$dist/$f\""
  done <<<"$expected"
  echo '!macroend'
  echo '!macro UNINSTALL_FILES'
  while read -r f; do echo "  Delete \"\$INSTDIR\\${f//\//\\}\""; done <<<"$expected"
  echo '!macroend'
  shortcuts=("Varnick Cleaner|morvel.exe")
  [ -f "$dist/stelmar.exe" ] && shortcuts+=("Varnick Startup Manager|stelmar.exe")
  [ -f "$dist/manual.html" ] && shortcuts+=("Varnick Manual|manual.html")
  echo '!macro START_MENU'
  for s in "${shortcuts[@]}"; do
    echo "  CreateShortcut \"\$SMPROGRAMS\\Varnick\\${s%%|*}.lnk\" \"\$INSTDIR\\${s#*|}\""
  done
  echo '!macroend'
  echo '!macro UNSTART_MENU'
  for s in "${shortcuts[@]}"; do echo "  Delete \"\$SMPROGRAMS\\Varnick\\${s%%|*}.lnk\""; done
  echo '!macroend'
} >"$files"
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DOUTFILE="$setup" "-X!include $files" \
  "$root/installer/varnick.nsi" >"$out/makensis.txt" 2>&1
check "makensis builds the installer" "$([ -f "$setup" ] || tail -5 "$out/makensis.txt" | tr '\n' ' ')"
[ -f "$setup" ] || exit 1
listed=$(grep -oE 'File "/oname=[^"]*"' "$files" | sed 's|File "/oname=\$INSTDIR\\||; s|"$||; s|\\|/|g' | sort)
check "installer's file list is the dist files" "$([ "$listed" = "$expected" ] || echo "$listed")"
echo "Installer: $setup, $(stat -c %s "$setup") bytes; zip: $(stat -c %s "$zip") bytes"

in_wine_namespace bash "$here/release.sh" --wine-stage
