#!/usr/bin/env bash
# Builds Varnick and starts morvel under Wine with the plug-ins of the build, in the
# project's own prefix (build/wine-run-*). Without a display it runs under a virtual one,
# saves a screenshot of the window and says where.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
"$here/setup.sh" || exit 1
source "$here/wine-env.sh"
configure_and_build "$BUILD_RELEASE" i686 >/dev/null || exit 1
assemble_dist
programs="$root/dist"
if [ "$TEST_ARCH" != i686 ]; then
  echo "This kernel does not run 32-bit programs: starting the 64-bit build of the same sources."
  configure_and_build "$BUILD_TEST" "$TEST_ARCH" >/dev/null || exit 1
  programs="$root/build/run-programs"
  rm -rf "$programs"; mkdir -p "$programs/plug-ins"
  cp "$BUILD_TEST/bin/morvel.exe" "$programs/"
  for f in "$BUILD_TEST"/bin/*.vkp; do
    case "$(basename "$f")" in test_*) ;; *) cp "$f" "$programs/" ;; esac
  done
  cp "$root"/dist/plug-ins/* "$programs/plug-ins/" 2>/dev/null || true
fi

export WINEPREFIX="$root/build/wine-run-$TEST_ARCH"
if [ ! -d "$WINEPREFIX" ]; then
  make_prefix "$WINEPREFIX" "$BUILD_TEST"
fi
folder="$WINEPREFIX/drive_c/Varnick"
mkdir -p "$folder"
cp -r "$programs"/. "$folder/"

start_display
trap 'stop_display' EXIT
if [ -z "${VIRTUAL_DISPLAY:-}" ]; then
  "$WINE_LOADER" 'C:\Varnick\morvel.exe' "$@"
  wineserver -w
  exit 0
fi

"$WINE_LOADER" 'C:\Varnick\morvel.exe' "$@" &
for _ in $(seq 100); do
  xdotool search --onlyvisible --name '^Varnick$' >/dev/null 2>&1 && break
  sleep 0.2
done
sleep 1
shot="$root/build/morvel-screenshot.png"
import -window root "$shot"
echo "morvel ran on a virtual display; screenshot saved to $shot"
wineserver -k
