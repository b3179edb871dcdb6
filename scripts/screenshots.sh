#!/usr/bin/env bash
# Takes the README's screenshots on a virtual display: the host's main window, the options
# sheet and the results window, and stelmar's main dialog with entries in its Run locations,
# each cropped to its window, into docs/.
# The programs of dist/ run in a prefix of their own (build/wine-shots), made afresh.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ -n "${RUN_INSIDE:-}" ] || "$here/setup.sh" || exit 1
source "$here/wine-env.sh"

if [ -z "${RUN_INSIDE:-}" ]; then
  configure_and_build "$BUILD_RELEASE" i686 >/dev/null || exit 1
  assemble_dist
  export RUN_INSIDE=1
  in_wine_namespace bash "$0"
  exit $?
fi

export WINEPREFIX="$root/build/wine-shots"
make_prefix "$WINEPREFIX" "$BUILD_RELEASE" || exit 1
folder="$WINEPREFIX/drive_c/Varnick"
mkdir -p "$folder" "$root/docs"
cp -r "$root/dist"/. "$folder/"
printf '[Plugins]\r\nWindows temporary files=1\r\n' > "$folder/morvel.ini"
unset DISPLAY
start_display
trap '"$WINESERVER" -k 2>/dev/null; stop_display' EXIT

wait_window() {  # title-pattern
  local window=
  for _ in $(seq 150); do
    window=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1)
    [ -n "$window" ] && break
    sleep 0.2
  done
  [ -n "$window" ] || { echo "screenshots.sh: no window '$1'" >&2; exit 1; }
  echo "$window"
}
# Keys go to the window under the pointer (no window manager): point at the window first.
press() {  # window key
  eval "$(xdotool getwindowgeometry --shell "$1")"
  xdotool mousemove $((X + WIDTH / 2)) $((Y + 12)) key "$2"
}
shoot() {  # window file
  sleep 1
  import -window "$1" "$root/docs/$2"
  echo "saved docs/$2"
}

"$WINE_LOADER" 'C:\Varnick\morvel.exe' &
main=$(wait_window '^Varnick$')
xdotool mousemove 0 0  # no list hint in the picture
shoot "$main" main-window.png
press "$main" alt+c
sheet=$(wait_window '^Global Options$')
shoot "$sheet" options-sheet.png
press "$sheet" Escape
sleep 1
# The accelerator puts the focus on "C&lean"; Enter there starts the cleaning.
press "$main" alt+l
press "$main" Return
results=$(wait_window '^Varnick Results$')
shoot "$results" results-window.png
press "$results" Escape
"$WINESERVER" -w

# stelmar with a few entries of programs that every prefix has, in the user's and the
# machine's Run keys (the 32-bit view, which the 32-bit program lists as "Run").
for entry in 'HKCU|Notepad|C:\windows\notepad.exe' 'HKCU|Minesweeper|C:\windows\system32\winemine.exe' \
             'HKLM|Wordpad|"C:\Program Files (x86)\Windows NT\Accessories\wordpad.exe" /min' \
             'HKLM|Registry Editor|C:\windows\regedit.exe'; do
  IFS='|' read -r hive name data <<<"$entry"
  "$WINE_LOADER" 'C:\windows\syswow64\reg.exe' add "$hive\Software\Microsoft\Windows\CurrentVersion\Run" \
    /v "$name" /d "$data" /f >/dev/null 2>&1
done
"$WINE_LOADER" 'C:\Varnick\stelmar.exe' &
stelmar=$(wait_window '^Stelmar$')
sleep 1
# From "Autostart" down to the machine's "Run (32-bit)", open it, on to the user's "Run"
# (two rows further now), open it and select its first entry.
press "$stelmar" Home
xdotool key Down Down Down Down Down Down Right Down Down Down Down Down Down Down Right Down
xdotool mousemove 0 0
shoot "$stelmar" stelmar-main.png
press "$stelmar" Escape
"$WINESERVER" -w
