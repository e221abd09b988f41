#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: The Pellory developers
# Installs the Debian packages that building Pellory needs, when missing; with "tests",
# also those that testing and CI need; with "bench", also the peers that bench/run times
# Pellory against.
set -euo pipefail

packages=(
  g++ make cmake pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev libvulkan-dev
  # the translations: Qt's CMake functions and lupdate/lrelease, and at run time Qt's own
  # translations of its standard buttons
  qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
  fonts-dejavu-core
  # the capture times of photos: EXIF and XMP
  libexiv2-dev
)
if [ "${1:-}" = tests ]; then
  packages+=(
    # a case-folding file system mounted in user space
    exfat-fuse exfatprogs fusefat dosfstools mount
    # the desktop entry's and metainfo's validators
    desktop-file-utils appstream
    # the Debian package: cpack names its library dependencies with dpkg-shlibdeps,
    # which needs file; lintian checks the package
    dpkg-dev file lintian
    # the style checks CI runs beside the tests
    clang-format clang-tidy
    # the fuzzers (scripts/fuzz.sh): clang and its libFuzzer and sanitizer runtimes
    clang libclang-rt-14-dev
  )
fi
if [ "${1:-}" = bench ]; then
  packages+=(
    # renaming: perl's rename (as file-rename) and mmv
    rename mmv
    # reading capture times: exiftool and the exiv2 command line
    libimage-exiftool-perl exiv2
  )
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
