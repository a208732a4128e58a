#!/usr/bin/env bash
# Installs the Debian packages Dovetail needs to build, run and test.
# Only missing packages are installed; a machine that has them all is left alone.
set -euo pipefail

packages=(
  # toolchain
  build-essential cmake ninja-build pkg-config clang-format
  # tests and benchmarks
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  # fuzz targets: clang with libFuzzer and the sanitizer run-times (only a
  # recommendation of clang-14 in Debian 12, so named here)
  clang libclang-rt-14-dev
  # desktop host (libxcb1-dev: asking the X server whether a window manager frames windows)
  qt6-base-dev qt6-qpa-plugins qt6-translations-l10n libgl-dev libxcb1-dev
  # text drawing and the fonts the game's text is mapped to
  libfreetype-dev libfontconfig-dev zlib1g-dev
  fonts-ipafont-gothic fonts-ipafont-mincho fonts-liberation fonts-dejavu-core
  # music: the synthesizer, the sound server's client (both loaded when first
  # needed; their headers are used at build time) and General MIDI soundfonts
  # (the large one is preferred)
  libfluidsynth-dev libpulse-dev fluid-soundfont-gm timgm6mb-soundfont
  # desktop smoke tests and screenshots
  xvfb xauth x11-apps imagemagick
  # the idle benchmark: a sound server with a null sink, and clicks into the window
  pulseaudio pulseaudio-utils xdotool
  # checks of the desktop entry and the AppStream metainfo that are installed
  desktop-file-utils appstream
)

# `make deb` also needs Debian's packaging tools.
if [ "${1:-}" = "--packaging" ]; then
  packages+=(dpkg-dev debhelper fakeroot lintian)
fi
# `make web` and `make web-test`: Debian's emscripten, and Chromium for the
# page's tests; Node.js and npm (for the synthesizer and the test driver from
# npm) unless the machine has its own.
if [ "${1:-}" = "--web" ]; then
  packages+=(emscripten chromium)
  if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
    packages+=(nodejs npm)
  fi
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

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
  sudo=sudo
else
  sudo=
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
