#!/usr/bin/env bash
# Installs the Debian packages that building and testing Orvel need.
# Does nothing when they are all there already.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libgdk-pixbuf-2.0-dev libgtk-3-dev libx11-dev libx11-xcb-dev libxcb1-dev libxcb-shm0-dev libwmf-dev
  # libjpeg-turbo: big photos decoded in part and at a reduced scale.
  libjpeg-dev
  libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev libcdio-dev libgif-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-ugly
  gstreamer1.0-tools
  xvfb xauth xdotool x11-xserver-utils imagemagick sox lame
  # The two-monitor GUI test's X server (Xvfb has one RandR output only)
  # and its small X and VNC clients.
  tigervnc-standalone-server python3 x11-utils
  # The settings dialog's Gothic on Linux (IPAPGothic, of the same widths).
  fonts-ipafont-gothic
  # The Debian package (cpack -G DEB reads library dependencies with
  # dpkg-shlibdeps) and its test's checkers.
  dpkg-dev desktop-file-utils libxml2-utils
  # The sanitizer build and the fuzz targets: clang, and its runtimes
  # (AddressSanitizer, UndefinedBehaviorSanitizer, libFuzzer).
  clang-14 libclang-rt-14-dev
  # The Windows build: MinGW-w64 (the -posix compilers have std::thread),
  # GoogleTest's source to build for Windows, and 64-bit Wine for its tests.
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools
  googletest wine wine64
  # 32-bit Wine for the x86 tests: the i386 architecture is added below.
  wine32:i386
  # A sound server with a null output for the Windows sound tests under
  # Wine on a machine without sound hardware (scripts/with-null-audio.sh).
  pulseaudio pulseaudio-utils
  # The nearest peer that scripts/compare-peer.sh measures Orvel against.
  xscreensaver-data
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
# wine32 is an i386 package: dpkg must know that architecture first.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
$sudo apt-get -o DPkg::Lock::Timeout=900 update
DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=900 install -y "${missing[@]}"
