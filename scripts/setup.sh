#!/usr/bin/env bash
# Installs what building and testing needs on a fresh Debian 12 machine (as root).
# Idempotent: skips every step that is already done.
#
# Besides Debian 12's own packages it installs one statically linked qemu-i386 of version 10
# or later (see wine-env.sh for why), taken out of Debian 13's qemu-user package with a
# private apt configuration: the machine's own apt sources stay as they are, and nothing is
# registered machine-wide.
set -euo pipefail

packages=(wine wine32:i386 wine64 g++-mingw-w64-i686 mingw-w64-i686-dev
          g++-mingw-w64-x86-64 mingw-w64-x86-64-dev cmake make
          xvfb xauth xdotool imagemagick g++ googletest
          clang libclang-rt-14-dev util-linux ca-certificates nsis zip unzip)

QEMU_DIR=/usr/local/lib/varnick
QEMU_I386="$QEMU_DIR/qemu-i386"
QEMU_MIN_MAJOR=10

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  need_update=1
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
elif [ -n "${need_update:-}" ]; then
  apt-get update -qq
fi

qemu_is_usable() {
  [ -x "$QEMU_I386" ] || return 1
  local major
  major=$("$QEMU_I386" --version 2>/dev/null | sed -n 's/^qemu-i386 version \([0-9]*\)\..*/\1/p')
  [ -n "$major" ] && [ "$major" -ge "$QEMU_MIN_MAJOR" ]
}

# The mirror the machine already uses, so that the private configuration reaches the same one.
debian_mirror() {
  local uri
  uri=$(grep -hsE '^URIs:' /etc/apt/sources.list.d/*.sources | awk '{print $2}' |
        grep -v security | head -n1)
  [ -n "$uri" ] || uri=$(grep -hsE '^deb ' /etc/apt/sources.list | awk '{print $2}' |
                         grep -v security | head -n1)
  echo "${uri:-http://deb.debian.org/debian}"
}

if ! qemu_is_usable; then
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  mkdir -p "$work/lists/partial" "$work/cache/archives/partial"
  echo "deb $(debian_mirror) trixie main" >"$work/sources.list"
  apt_private=(-o Dir::Etc::sourcelist="$work/sources.list" -o Dir::Etc::sourceparts=-
               -o Dir::State::Lists="$work/lists" -o Dir::Cache="$work/cache"
               -o Dir::State::status=/dev/null -o APT::Architecture=amd64
               -o APT::Architectures::=amd64 -o APT::Sandbox::User=root)
  apt-get "${apt_private[@]}" update -qq
  (cd "$work" && apt-get "${apt_private[@]}" download -qq qemu-user >/dev/null)
  deb=$(ls "$work"/qemu-user_*.deb)
  dpkg-deb --fsys-tarfile "$deb" | tar -x -C "$work" ./usr/bin/qemu-i386
  mkdir -p "$QEMU_DIR"
  install -m 0755 "$work/usr/bin/qemu-i386" "$QEMU_I386"
  qemu_is_usable || { echo "setup: $QEMU_I386 is not a usable qemu-i386 $QEMU_MIN_MAJOR or later" >&2; exit 1; }
fi
