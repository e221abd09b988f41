#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: The Pellory developers
# Makes the pictures of the README and the guide (doc/images/) again, so that they can
# follow the window when it changes: starts Pellory on a folder of sample camera files
# under a virtual X server, drives it with the keyboard and the mouse as a user would, and
# grabs its windows. Installs the X server, xdotool and ImageMagick when they are missing
# (Debian packages, with apt-get as root or through sudo). Run from anywhere:
#   bash scripts/screenshots.sh
# PELLORY=path/to/pellory takes a program already built instead of building build-release/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/doc/images"

need=()
command -v Xvfb >/dev/null || need+=(xvfb)
command -v xdotool >/dev/null || need+=(xdotool)
command -v import >/dev/null || need+=(imagemagick)
command -v openbox >/dev/null || need+=(openbox) # frames and focus, as on a desktop
if [ ${#need[@]} -gt 0 ]; then
  as_root=()
  [ "$(id -u)" -eq 0 ] || as_root=(sudo)
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -q --no-install-recommends "${need[@]}"
fi

pellory=${PELLORY:-}
if [ -z "$pellory" ]; then
  bash "$root/scripts/install-deps.sh"
  cmake -S "$root" -B "$root/build-release" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$root/build-release" -j2 --target pellory >/dev/null
  pellory="$root/build-release/app/pellory"
fi
pellory=$(realpath "$pellory")

work=$(mktemp -d)
x_pid=
app_pid=
cleanup() {
  [ -z "$app_pid" ] || kill "$app_pid" 2>/dev/null || true
  [ -z "$x_pid" ] || kill "$x_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# Twenty-four camera files, a minute apart, in a folder named as people name them.
photos="$work/Photos/Rome 2026"
mkdir -p "$photos"
for i in $(seq 1 24); do
  name=$(printf 'DSC%05d.JPG' $((4200 + i)))
  head -c $((2000 + i * 37)) /dev/urandom >"$photos/$name"
  touch -d "@$((1778749200 + i * 60))" "$photos/$name" # 14 May 2026, from 9:00
done
touch -d @1778760000 "$photos/notes.txt"

export XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state" HOME="$work"
mkdir -p "$XDG_CONFIG_HOME/Pellory"
cat >"$XDG_CONFIG_HOME/Pellory/Pellory.ini" <<EOF
[Settings]
WindowTop=300
WindowLeft=300
WindowWidth=14400
WindowHeight=8400
Specs=*.JPG
LastDir=$photos
Prefix=Rome_
Number=001
Increment=1
EOF

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp &
x_pid=$!
export DISPLAY=$display
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &

# Waits up to thirty seconds for a window with exactly this title and prints its id.
window() {
  for _ in $(seq 300); do
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 | grep . && return
    sleep 0.1
  done
  echo "screenshots.sh: no window \"$1\" appeared" >&2
  xdotool search --name . getwindowname %@ >&2 || true
  return 1
}
# Presses keys one after another, as a person does, leaving each its effect.
keys() { for k in "$@"; do xdotool key "$k"; sleep 0.5; done; }
# Grabs a window with its frame to doc/images/NAME.png.
grab() {
  sleep 1 # let the window draw what the last key changed
  import -window "$1" -frame "$out/$2.png"
  echo "doc/images/$2.png"
}

start() {
  "$pellory" &
  app_pid=$!
  main=$(window Pellory)
  xdotool windowactivate --sync "$main"
}
stop() {
  kill "$app_pid"
  wait "$app_pid" 2>/dev/null || true
  app_pid=
}

mkdir -p "$out"
start
keys alt+r # Enable Batch Rename: the new names appear beside the old ones
grab "$main" window
keys alt+w # Preview and Check for Errors
grab "$main" preview
keys alt+x alt+a # back (Exit Preview), then Apply
grab "$main" renamed
# The file list's context menu, by the mouse: its second entry is the history.
eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool mousemove $((X + WIDTH * 45 / 100)) $((Y + HEIGHT / 2)) click 3
sleep 0.5
keys Down Down Return
grab "$(window 'Pellory - Undo History')" history
keys Escape
stop

LANG=de_DE.UTF-8 LANGUAGE=de start
grab "$main" window-de
stop
