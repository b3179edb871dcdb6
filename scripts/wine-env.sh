# Sourced by the build, run and test scripts: the project's own Wine set-up (never ~/.wine).
#
# Every Windows program that a test or run.sh starts is the 32-bit (PE32) build that users
# get. It runs in a 64-bit prefix, so it sees what 32-bit programs see on 64-bit Windows,
# where nearly all users are: HKLM\Software redirected to Wow6432Node, "Program Files (x86)",
# System32 redirected to SysWOW64.
#
# Wine's 64-bit loader (wine64, wineserver64) always runs natively; given a PE32 file it
# starts it through Wine's 32-bit loader. Where the kernel cannot execute 32-bit code (it
# answers "Exec format error"), that loader is emulated by qemu-i386: the whole Windows
# stage then runs inside one private user + mount namespace whose own binfmt_misc hands
# i386 ELF programs to qemu-i386. Nothing is registered outside that namespace.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEDEBUG=-all
export WINEARCH=win64
WINE_LOADER=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver64
export WINE_LOADER
QEMU_I386=/usr/local/lib/varnick/qemu-i386

# One Windows build, the 32-bit one: dist/ is assembled from it and every test runs it.
BUILD_RELEASE="$root/build/i686"
BUILD_TEST=${BUILD_TEST:-$BUILD_RELEASE}

# How 32-bit code runs here: "native" where the kernel executes it, else "emulated".
if [ -z "${WINE32_MODE:-}" ]; then
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then WINE32_MODE=native; else WINE32_MODE=emulated; fi
fi
export WINE32_MODE

wine_mode_line() {
  if [ "$WINE32_MODE" = native ]; then
    echo "Windows tests: 32-bit build, 32-bit Wine loader run natively, 64-bit prefix"
  else
    echo "Windows tests: 32-bit build, 32-bit Wine loader emulated by qemu-i386, 64-bit prefix"
  fi
}

# Runs a command where Wine can start 32-bit programs. Emulated: in a fresh user + mount
# namespace with its own binfmt_misc entry for i386 ELF executables (flags F and P: the
# interpreter is opened now, so it works under any path, and argv[0] is kept).
in_wine_namespace() {
  if [ "$WINE32_MODE" = native ]; then
    "$@"
    return
  fi
  if [ ! -x "$QEMU_I386" ]; then
    echo "wine-env: $QEMU_I386 is missing; run scripts/setup.sh" >&2
    return 1
  fi
  unshare --user --map-root-user --mount --fork bash -c '
    set -e
    mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
    printf "%s" ":qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:$0:FP" \
      >/proc/sys/fs/binfmt_misc/register
    set +e
    "$@"' "$QEMU_I386" "$@"
}

configure_and_build() {  # dir arch
  local dir=$1 arch=$2
  # Configured every time: components that appeared since the last run join the build.
  cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=Release -DMINGW_ARCH="$arch" \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw.cmake" -DWINE_LOADER="$WINE_LOADER" >/dev/null || return 1
  cmake --build "$dir" -j "$(nproc)"
}

# The 64-bit build of a benchmark's targets (speed is timed there: emulating the 32-bit
# loader would time the emulator). Prints the log's end and returns 1 when it fails.
build_for_bench() {  # dir target...
  local dir=$1
  shift
  mkdir -p "$dir"
  if ! cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=Release -DMINGW_ARCH=x86_64 \
         -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw.cmake" -DWINE_LOADER="$WINE_LOADER" \
         >"$dir/bench-build.txt" 2>&1 ||
     ! cmake --build "$dir" -j "$(nproc)" --target "$@" >>"$dir/bench-build.txt" 2>&1; then
    tail -30 "$dir/bench-build.txt" >&2
    echo "the build of $* failed (log: $dir/bench-build.txt)" >&2
    return 1
  fi
}

# Lays out dist/ as a Windows user receives it.
assemble_dist() {
  local bin="$BUILD_RELEASE/bin" dist="$root/dist"
  rm -rf "$dist"
  mkdir -p "$dist/plug-ins"
  for f in morvel.exe stelmar.exe vktcheck.exe; do
    [ -f "$bin/$f" ] && cp "$bin/$f" "$dist/"
  done
  for f in "$bin"/*.vkp; do
    case "$(basename "$f")" in test_*) ;; *) [ -f "$f" ] && cp "$f" "$dist/" ;; esac
  done
  for f in "$root"/cleaner/plug-ins/*.vkt; do [ -f "$f" ] && cp "$f" "$dist/plug-ins/"; done
  [ -f "$root/manual.html" ] && cp "$root/manual.html" "$dist/"
  return 0
}

# Wine's 64-bit reg.exe: it sees the native view of HKLM\Software.
wine_reg() { "$WINE_LOADER" reg "$@" >/dev/null 2>&1; }

# A template prefix is made once (wineboot -i); each run starts from a fresh copy of it.
# Drive Z: (the host's /) is removed; drive X: maps the build folder and is a network
# drive, so nothing that walks fixed disks walks the build. Call inside in_wine_namespace.
make_prefix() {  # target-prefix build-dir
  local prefix=$1 builddir=$2 template="$root/build/wine-template-win64"
  if [ ! -f "$template/.ready" ]; then
    rm -rf "$template"
    WINEPREFIX="$template" "$WINE_LOADER" wineboot -i >/dev/null 2>&1 || true
    WINEPREFIX="$template" "$WINESERVER" -w
    rm -f "$template/dosdevices/z:"
    WINEPREFIX="$template" wine_reg add 'HKLM\Software\Wine\Drives' /v x: /d network /f
    # Test drives for the fixed-disk walk of text plug-ins: M: and N: fixed, O: a CD drive.
    for d in m n; do
      WINEPREFIX="$template" wine_reg add 'HKLM\Software\Wine\Drives' /v "$d:" /d hd /f
    done
    WINEPREFIX="$template" wine_reg add 'HKLM\Software\Wine\Drives' /v o: /d cdrom /f
    WINEPREFIX="$template" "$WINESERVER" -w
    if [ ! -d "$template/drive_c/windows/syswow64" ]; then
      echo "wine-env: the prefix has no 32-bit side (no C:\\windows\\syswow64)" >&2
      return 1
    fi
    touch "$template/.ready"
  fi
  rm -rf "$prefix"
  cp -a "$template" "$prefix"
  rm -f "$prefix/.ready" "$prefix/dosdevices/x:"
  ln -s "$builddir" "$prefix/dosdevices/x:"
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
  if [ -z "${DISPLAY:-}" ] || [ -n "${CI:-}" ] || [ -n "${VARNICK_XVFB:-}" ]; then
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

# A fresh prefix for the build, a display, and one persistent wineserver (each later Wine
# start then costs a fraction of a second); all stopped when the calling script exits.
# Call inside in_wine_namespace.
start_wine_session() {  # [build-dir]
  local builddir=${1:-$BUILD_TEST}
  start_display
  export WINEPREFIX="$builddir/wine"
  trap '"$WINESERVER" -k 2>/dev/null; stop_display' EXIT
  make_prefix "$WINEPREFIX" "$builddir" || { echo "wine-env: the prefix could not be made" >&2; return 1; }
  "$WINESERVER" -p
  # Warm-up: the first start after the server came up costs the most, the 32-bit one more.
  if ! "$WINE_LOADER" 'C:\windows\syswow64\cmd.exe' /c exit >/dev/null 2>&1; then
    echo "wine-env: Wine could not start a 32-bit program (syswow64\\cmd.exe); $(wine_mode_line)" >&2
    return 1
  fi
}
