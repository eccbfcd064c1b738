#!/usr/bin/env bash
# Builds the Windows kit the Qt program cross builds against: Qt 6 (Core, Gui, Widgets, Network
# over Schannel, PrintSupport; the windows, offscreen and minimal platforms) and espeak-ng with
# its voice data, all cross built with MinGW-w64 from Debian's source packages. Sound on Windows
# goes through the Win32 sound API, so Qt Multimedia is not part of the kit.
#
#   scripts/build-windows-kit.sh [KIT_DIR]     (default: build/windows-kit)
#
# The finished kit is cached once per machine in ~/.cache/vantrel/ as a tarball whose name
# carries a key (Qt, MinGW and espeak-ng versions, and a hash of the steps below); later runs only
# unpack it into KIT_DIR. A cold build takes most of an hour on two busy cores. It runs in
# stages under ~/.cache/vantrel/windows-kit-work/, each stamped with the hash of its own steps,
# so that an interrupted build goes on where it stopped.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
kit_dir="$(realpath -m "${1:-$here/../build/windows-kit}")"
cache="${VANTREL_CACHE_DIR:-$HOME/.cache/vantrel}"
work="$cache/windows-kit-work"
jobs="${VANTREL_KIT_JOBS:-2}"
mingw=x86_64-w64-mingw32
espeak_suite=trixie

say() { printf '[windows-kit %(%H:%M:%S)T] %s\n' -1 "$*"; }
fail() {
  say "FAILED: $*" >&2
  exit 1
}

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

# --- what the kit needs on this machine ---------------------------------------------------
install_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  say "installing ${missing[*]}"
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# Source packages come from Debian's archive: bookworm for Qt (the host tools' version) and
# trixie for espeak-ng (bookworm's source tarball is missing). Binary packages stay bookworm's.
source_list=/etc/apt/sources.list.d/vantrel-windows-kit-src.sources
add_source_entry() {
  [ -f "$source_list" ] && return 0
  say "adding $source_list"
  $SUDO tee "$source_list" >/dev/null <<'EOF'
# Added by Vantrel Suite's scripts/build-windows-kit.sh: source packages for the Windows kit.
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm trixie
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
  $SUDO apt-get update -q
}

install_packages cmake ninja-build perl python3 dpkg-dev quilt zstd xz-utils \
  mingw-w64 g++-mingw-w64-x86-64 gcc-mingw-w64-x86-64 \
  qt6-base-dev qt6-base-dev-tools \
  wine wine64 fonts-dejavu-core

pkg_version() { dpkg-query -W -f='${Version}' "$1"; }
qt_version="$(pkg_version qt6-base-dev)"
qt_upstream="${qt_version%%+*}"
mingw_version="$(x86_64-w64-mingw32-g++-posix -dumpfullversion)-$(pkg_version mingw-w64-common)"
espeak_version=1.52
key_of_steps() { declare -f sources write_toolchain qtbase espeak pack | sha256sum | cut -c1-12; }

# --- the cold build, in stages ---------------------------------------------------------------
prefix="$work/prefix"
espeak_prefix="$work/prefix-espeak"
src="$work/src"
toolchain="$work/mingw-toolchain.cmake"
export WINEPREFIX="$work/wine"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# Runs stage NAME (a shell function) unless its stamp holds the hash of its steps, of the
# versions and of the stages it builds on (DEPS); a stage that changes rebuilds those after it.
versions="qt$qt_version-mingw$mingw_version-espeak$espeak_version"
stage() {
  local name="$1" stamp="$work/stamp-$1" hash dep
  shift
  hash="$( (declare -f "$name"; echo "$versions"; for dep in "$@"; do cat "$work/stamp-$dep"; done) |
    sha256sum | cut -c1-16)"
  if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$hash" ]; then
    say "stage $name: done before"
    return 0
  fi
  say "stage $name: start"
  local started=$SECONDS
  rm -f "$stamp"
  "$name"
  echo "$hash" >"$stamp"
  say "stage $name: done in $(((SECONDS - started) / 60)) min $(((SECONDS - started) % 60)) s"
}

sources() {
  add_source_entry
  rm -rf "$src"
  mkdir -p "$src"
  # dpkg-source applies Debian's patch series (quilt format) while it unpacks.
  (cd "$src" && apt-get source -q "qt6-base/bookworm" "qt6-shadertools/bookworm" \
    "qt6-multimedia/bookworm" "espeak-ng/$espeak_suite")
  local d
  for d in qt6-base qt6-shadertools qt6-multimedia espeak-ng; do
    local found
    found="$(find "$src" -maxdepth 1 -type d -name "$d-*" | head -1)"
    [ -n "$found" ] || fail "apt-get source did not unpack $d"
    ln -sfn "$found" "$src/$d"
    (cd "$found" && QUILT_PATCHES=debian/patches quilt push -a -q >/dev/null 2>&1 || true)
  done
  grep -q "^Version: ${qt_upstream}" "$src"/qt6-base_*.dsc ||
    fail "the qt6-base source is not Qt $qt_upstream like the host tools"
}

write_toolchain() {
  cat >"$toolchain" <<EOF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER $mingw-gcc-posix)
set(CMAKE_CXX_COMPILER $mingw-g++-posix)
set(CMAKE_RC_COMPILER $mingw-windres)
set(CMAKE_FIND_ROOT_PATH /usr/$mingw $prefix)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
EOF
}

host_qt=(-DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake)

qtbase() {
  write_toolchain
  # The build folder is kept: an interrupted build goes on where it stopped.
  rm -rf "$prefix"
  # The +dfsg source has no wintab, hence no tablet events. Direct2D and OpenGL keep their
  # defaults: without them PrintSupport and the windows platform do not build.
  cmake -S "$src/qt6-base" -B "$work/build-qtbase" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON "${host_qt[@]}" \
    -DQT_QMAKE_TARGET_MKSPEC=win32-g++ -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
    -DFEATURE_tabletevent=OFF -DFEATURE_sql=OFF -DFEATURE_testlib=OFF -DFEATURE_dbus=OFF \
    -DFEATURE_openssl=OFF -DFEATURE_schannel=ON -DFEATURE_pkg_config=OFF -DFEATURE_zstd=OFF \
    -DFEATURE_vulkan=OFF -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF \
    -DFEATURE_system_jpeg=OFF -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF \
    -DFEATURE_system_pcre2=OFF -DFEATURE_system_doubleconversion=OFF \
    -DFEATURE_freetype=ON -DFEATURE_fontconfig=OFF
  cmake --build "$work/build-qtbase" -j "$jobs"
  cmake --install "$work/build-qtbase"
  local plugin
  for plugin in qwindows qoffscreen qminimal; do
    [ -f "$prefix/plugins/platforms/$plugin.dll" ] || fail "qtbase did not build the $plugin platform"
  done
}

espeak() {
  write_toolchain
  rm -rf "$work/build-espeak" "$WINEPREFIX" "$espeak_prefix"
  # Without USE_LIBSONIC=OFF upstream's build downloads libsonic; the paths only satisfy its
  # checks. The voice data is compiled by the cross built espeak-ng.exe, run by Wine: the data
  # rules start it through $VALGRIND, read when configuring.
  VALGRIND="$(command -v wine)" cmake -S "$src/espeak-ng" -B "$work/build-espeak" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$espeak_prefix" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
    -DUSE_LIBSONIC=OFF -DSONIC_LIB=/nonexistent -DSONIC_INC=/nonexistent \
    -DUSE_LIBPCAUDIO=OFF -DUSE_MBROLA=OFF -DUSE_ASYNC=OFF -DUSE_SPEECHPLAYER=OFF \
    -DESPEAK_COMPAT=OFF -DBUILD_TESTING=OFF
  cmake --build "$work/build-espeak" -j "$jobs"
  cmake --install "$work/build-espeak"
  wineserver -k 2>/dev/null || true
  [ -f "$espeak_prefix/share/espeak-ng-data/phontab" ] || fail "espeak-ng did not compile its voice data"
}

pack() {
  local kit="$work/kit"
  rm -rf "$kit"
  mkdir -p "$kit/lib/fonts"
  cp -a "$prefix/." "$espeak_prefix/." "$kit/"
  # Qt's offscreen platform on Windows reads fonts from <kit>/lib/fonts only.
  cp /usr/share/fonts/truetype/dejavu/DejaVuSans*.ttf "$kit/lib/fonts/"
  mkdir -p "$cache"
  tar -C "$kit" -I 'zstd -T0 -12' -cf "$tarball.part" .
  mv "$tarball.part" "$tarball"
  say "cached $(du -h "$tarball" | cut -f1) in $tarball"
}

unpack() {
  rm -rf "$kit_dir"
  mkdir -p "$kit_dir"
  tar -C "$kit_dir" -I zstd -xf "$tarball"
  echo "$key" >"$kit_dir/.kit-key"
  say "kit $key ready in $kit_dir"
}

key="qt${qt_upstream}-mingw${mingw_version}-espeak${espeak_version}-$(key_of_steps)"
tarball="$cache/windows-kit-$key.tar.zst"
# One build at a time per machine; a second run waits and then finds the finished kit.
mkdir -p "$cache"
exec 9>"$cache/windows-kit.lock"
if ! flock -n 9; then
  say "another build of the kit is running (log: see its terminal); waiting for it"
  flock 9
fi
if [ -f "$kit_dir/.kit-key" ] && [ "$(cat "$kit_dir/.kit-key")" = "$key" ]; then
  exit 0
fi
if [ -f "$tarball" ]; then
  unpack
  exit 0
fi

say "building kit $key (log it: this takes most of an hour)"
mkdir -p "$work"
stage sources
stage espeak sources
stage qtbase sources
pack
# Older kits and the build trees are no longer needed.
find "$cache" -maxdepth 1 -name 'windows-kit-*.tar.zst' ! -name "$(basename "$tarball")" -delete
[ "${VANTREL_KIT_KEEP_WORK:-0}" = 1 ] || rm -rf "$work"
unpack
