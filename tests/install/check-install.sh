#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: The Pellory developers
# Checks the installed tree of Pellory and its Debian package.
#   check-install.sh tree     BUILD PREFIX  installs BUILD into PREFIX and checks the layout
#   check-install.sh desktop  BUILD PREFIX  desktop-file-validate on the installed entry
#   check-install.sh metainfo BUILD PREFIX  appstreamcli validate on the installed metainfo
#   check-install.sh package  BUILD PREFIX  cpack in BUILD, then lintian on the .deb
# Exit 77 (skipped) when a validator is not on the machine.
set -euo pipefail
what=$1 build=$2 prefix=$3
app_id=io.github.pellory.Pellory

# Every path an install must make, below the prefix (and below /usr in the package).
expected=(
  bin/pellory
  share/applications/$app_id.desktop
  share/icons/hicolor/32x32/apps/$app_id.png
  share/icons/hicolor/scalable/apps/$app_id.svg
  share/metainfo/$app_id.metainfo.xml
  share/man/man1/pellory.1.gz
  share/doc/pellory/pellory-guide.html
  share/doc/pellory/images/window.png
  share/doc/pellory/copyright
  share/doc/pellory/changelog.gz
)

need_tool() {
  command -v "$1" >/dev/null || { echo "$1 is not installed: skipped"; exit 77; }
}

case $what in
tree)
  rm -rf "$prefix"
  cmake --install "$build" --prefix "$prefix" >/dev/null
  missing=0
  for path in "${expected[@]}"; do
    [ -s "$prefix/$path" ] || { echo "missing: $path"; missing=1; }
  done
  # Every picture the guide shows is installed beside it.
  guide_dir=$prefix/share/doc/pellory
  for image in $(grep -o '<img src="[^"]*"' "$guide_dir/pellory-guide.html" | cut -d'"' -f2); do
    [ -s "$guide_dir/$image" ] || { echo "the guide shows a missing picture: $image"; missing=1; }
  done
  [ -x "$prefix/bin/pellory" ] || { echo "not executable: bin/pellory"; missing=1; }
  # The 32x32 icon must really be 32 x 32: a PNG holds width and height at bytes 16-23.
  size=$(od -An -tx1 -j16 -N8 "$prefix/share/icons/hicolor/32x32/apps/$app_id.png" | tr -d ' \n')
  [ "$size" = 0000002000000020 ] || { echo "32x32 icon has size bytes $size"; missing=1; }
  # The entry starts the installed program with the folder it is offered, and names the
  # installed icon.
  grep -qx "Exec=pellory %f" "$prefix/share/applications/$app_id.desktop" || { echo "Exec"; missing=1; }
  grep -qx "MimeType=inode/directory;" "$prefix/share/applications/$app_id.desktop" || { echo "MimeType"; missing=1; }
  grep -qx "Icon=$app_id" "$prefix/share/applications/$app_id.desktop" || { echo "Icon"; missing=1; }
  grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" \
    "$prefix/share/metainfo/$app_id.metainfo.xml" || { echo "launchable"; missing=1; }
  exit $missing
  ;;
desktop)
  need_tool desktop-file-validate
  desktop-file-validate "$prefix/share/applications/$app_id.desktop"
  ;;
metainfo)
  need_tool appstreamcli
  appstreamcli validate --no-net "$prefix/share/metainfo/$app_id.metainfo.xml"
  ;;
package)
  need_tool lintian
  cd "$build"
  rm -f pellory_*.deb
  cpack -G DEB >cpack.log 2>&1 || { cat cpack.log; exit 1; }
  deb=$(echo pellory_*.deb)
  [ -f "$deb" ] || { echo "cpack made no pellory_*.deb"; exit 1; }
  contents=$(dpkg-deb --contents "$deb")
  missing=0
  for path in "${expected[@]}"; do
    grep -q " \./usr/$path\$" <<<"$contents" || { echo "not in $deb: usr/$path"; missing=1; }
  done
  # Errors fail; warnings and notes are shown in the test's output.
  lintian --fail-on error "$deb" || missing=1
  exit $missing
  ;;
*)
  echo "unknown check: $what" >&2
  exit 2
  ;;
esac
