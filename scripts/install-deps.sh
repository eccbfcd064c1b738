#!/usr/bin/env bash
# Installs every Debian package the build, the program and the tests need.
# Safe to run again: it only calls apt-get when something is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git ccache
  clang clang-format libclang-rt-14-dev
  clang-19 libclang-rt-19-dev llvm-19
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev qt6-tools-dev qt6-tools-dev-tools
  qt6-l10n-tools libqt6svg6 qt6-qpa-plugins libqt6opengl6-dev
  libgl1-mesa-dev libglx-dev libxkbcommon-dev
  qt6-image-formats-plugins libjpeg-dev
  libespeak-ng-dev espeak-ng-data espeak-ng
  libssl-dev openssl
  xvfb xauth x11-utils x11-apps xdotool
  pulseaudio pulseaudio-utils sox libsox-fmt-all
  mingw-w64 g++-mingw-w64-x86-64 g++-mingw-w64-i686
  wine wine64 wine32:i386
  fonts-dejavu-core
  poppler-utils
  python3
  nsis zstd unzip
  dpkg-dev libx11-6
)

# FS2004 is a 32-bit program: the 32-bit bridge and stand-in are tried under 32-bit Wine.
if [ "$(dpkg --print-architecture)" = amd64 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  if [ "$(id -u)" -ne 0 ]; then sudo dpkg --add-architecture i386; else dpkg --add-architecture i386; fi
fi

# The tests also run as an ordinary user (tests/scripts/as_ordinary_user.sh).
if [ "$(id -u)" -eq 0 ] && ! id -u vantrel-tester >/dev/null 2>&1; then
  useradd --system --user-group --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin vantrel-tester
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
