# Sourced by test.sh and run.sh: picks the Windows architecture this machine can run,
# and makes the project's own Wine prefix (never ~/.wine).
#
# The shipped programs are 32-bit. Wine runs them only where the Linux kernel executes
# 32-bit programs; a kernel started without IA-32 emulation refuses them ("Exec format
# error"), and then the tests run on a 64-bit build of the same sources under 64-bit Wine.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEDEBUG=-all

if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  TEST_ARCH=i686
  export WINEARCH=win32
  WINE_LOADER=/usr/lib/wine/wine
else
  TEST_ARCH=x86_64
  export WINEARCH=win64
  WINE_LOADER=/usr/lib/wine/wine64
fi
export WINE_LOADER
BUILD_RELEASE="$root/build/i686"
BUILD_TEST="$root/build/$TEST_ARCH"

configure_and_build() {  # dir arch
  local dir=$1 arch=$2
  # Configured every time: components that appeared since the last run join the build.
  cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=Release -DMINGW_ARCH="$arch" \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw.cmake" -DWINE_LOADER="$WINE_LOADER" >/dev/null || return 1
  cmake --build "$dir" -j "$(nproc)"
}

# Lays out dist/ as a Windows user receives it.
assemble_dist() {
  local bin="$BUILD_RELEASE/bin" dist="$root/dist"
  rm -rf "$dist"
  mkdir -p "$dist/plug-ins"
  for f in morvel.exe stelmar.exe; do
    [ -f "$bin/$f" ] && cp "$bin/$f" "$dist/"
  done
  for f in "$bin"/*.vkp; do
    case "$(basename "$f")" in test_*) ;; *) [ -f "$f" ] && cp "$f" "$dist/" ;; esac
  done
  for f in "$root"/cleaner/plug-ins/*.vkt; do [ -f "$f" ] && cp "$f" "$dist/plug-ins/"; done
  [ -f "$root/manual.html" ] && cp "$root/manual.html" "$dist/"
  return 0
}

# A template prefix is made once (wineboot -i); each run starts from a fresh copy of it.
# Drive Z: (the host's /) is removed; drive X: maps the test build folder and is a
# network drive, so nothing that walks fixed disks walks the build.
make_prefix() {  # target-prefix build-dir
  local prefix=$1 builddir=$2 template="$root/build/wine-template-$TEST_ARCH"
  if [ ! -f "$template/.ready" ]; then
    rm -rf "$template"
    WINEPREFIX="$template" "$WINE_LOADER" wineboot -i >/dev/null 2>&1 || true
    WINEPREFIX="$template" wineserver -w
    rm -f "$template/dosdevices/z:"
    WINEPREFIX="$template" "$WINE_LOADER" reg add 'HKLM\Software\Wine\Drives' /v x: /d network /f >/dev/null 2>&1
    WINEPREFIX="$template" wineserver -w
    touch "$template/.ready"
  fi
  if [ ! -f "$template/.test-drives" ]; then
    for d in m n; do
      WINEPREFIX="$template" "$WINE_LOADER" reg add 'HKLM\Software\Wine\Drives' /v "$d:" /d hd /f >/dev/null 2>&1
    done
    WINEPREFIX="$template" "$WINE_LOADER" reg add 'HKLM\Software\Wine\Drives' /v o: /d cdrom /f >/dev/null 2>&1
    WINEPREFIX="$template" wineserver -w
    touch "$template/.test-drives"
  fi
  rm -rf "$prefix"
  cp -a "$template" "$prefix"
  rm -f "$prefix/.ready" "$prefix/.test-drives" "$prefix/dosdevices/x:"
  ln -s "$builddir" "$prefix/dosdevices/x:"
  # Test drives for the fixed-disk walk of text plug-ins: M: and N: fixed, O: a CD drive.
  for d in m n o; do
    mkdir -p "$prefix/test-drives/$d"
    ln -sfn "$prefix/test-drives/$d" "$prefix/dosdevices/$d:"
  done
  # A link to a folder, which Windows programs here see as a junction (a reparse point):
  # C:\vk-link-fixture\holder\link points at C:\vk-link-fixture\target.
  mkdir -p "$prefix/drive_c/vk-link-fixture/holder" "$prefix/drive_c/vk-link-fixture/target"
  ln -sfn "$prefix/drive_c/vk-link-fixture/target" "$prefix/drive_c/vk-link-fixture/holder/link"
}

start_display() {
  if [ -z "${DISPLAY:-}" ] || [ -n "${CI:-}" ]; then
    local n=77
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    VIRTUAL_DISPLAY=1
  fi
}

stop_display() {
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
  return 0
}

# A fresh prefix for the test build, a display, and a persistent wineserver (each Wine
# start then costs hundredths of a second); all stopped when the calling script exits.
start_wine_session() {
  start_display
  trap 'WINEPREFIX="$BUILD_TEST/wine" wineserver -k 2>/dev/null; stop_display' EXIT
  make_prefix "$BUILD_TEST/wine" "$BUILD_TEST"
  export WINEPREFIX="$BUILD_TEST/wine"
  wineserver -p
  "$WINE_LOADER" cmd /c exit >/dev/null 2>&1
}
