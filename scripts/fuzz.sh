#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: The Pellory developers
# Builds the libFuzzer targets of fuzz/ with clang, in a build folder of their own
# (BUILD_DIR, default build-fuzz/), and runs each for SECONDS seconds (default 30), from a
# seed corpus this script makes. Inputs that crash are kept in the build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh tests
build_dir=${BUILD_DIR:-build-fuzz}
seconds=${SECONDS_EACH:-30}
CXX=clang++ cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELLORY_FUZZ=ON >/dev/null
cmake --build "$build_dir" -j2 --target fuzz_movie_header fuzz_capture_metadata fuzz_settings_file \
  fuzz_history_record
corpus=$build_dir/fuzz-corpus
mkdir -p "$corpus/movie_header" "$corpus/capture_metadata" "$corpus/settings_file" \
  "$corpus/history_record"
# Seeds: a QuickTime file type, a movie box with a version 0 and a version 1 header, a
# 64-bit sized box; a JPEG and a TIFF that carry an EXIF date, and an XMP packet.
# moov SIZE MVHD_SIZE VERSION_AND_FLAGS CREATION: a movie box holding one movie header.
moov() { printf '\0\0\0%bmoov\0\0\0%bmvhd%b%b' "$1" "$2" "$3" "$4"; head -c 88 /dev/zero; }
{ printf '\0\0\0\x10ftypqt  \0\0\0\0'; moov '\x70' '\x68' '\0\0\0\0' '\xe2\x57\xdf\x40'; } \
  >"$corpus/movie_header/v0"
{ printf '\0\0\0\x01mdat\0\0\0\0\0\0\0\x10'; moov '\x74' '\x6c' '\x01\0\0\0' '\0\0\0\x01\x12\xa0\x26\x80'; } \
  >"$corpus/movie_header/v1"
# (\x00 rather than \0, which printf would read on into the digits that follow.)
exif='II*\x00\x08\x00\x00\x00\x01\x00\x69\x87\x04\x00\x01\x00\x00\x00\x1a\x00\x00\x00\x00\x00\x00\x00'
exif+='\x01\x00\x03\x90\x02\x00\x14\x00\x00\x00\x2c\x00\x00\x00\x00\x00\x00\x00'
exif+='2024:05:01 13:45:07\x00'
printf "$exif" >"$corpus/capture_metadata/tiff"
printf '\xff\xd8\xff\xe1\0\x48Exif\0\0%b\xff\xd9' "$exif" >"$corpus/capture_metadata/jpeg"
printf '%s' "<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'><rdf:Description xmlns:exif='http://ns.adobe.com/exif/1.0/' exif:DateTimeOriginal='2021-07-04T09:08:07.5+02:00'/></rdf:RDF></x:xmpmeta>" \
  >"$corpus/capture_metadata/xmp"
# A settings file as Pellory writes it, with quotes, a comment and an escape.
printf '[Settings]\nSpecs="*.JPG;*.GIF" ; the files\nLastDir=file:///media/caf%%E9\nPrefix=a\\\\b\n' \
  >"$corpus/settings_file/settings"
# A run's names, one a line, old then new.
printf 'IMG_0001.JPG\nTrip_001.JPG\ncaf\xe9 1.jpg\n.pellory-1f.tmp\n' >"$corpus/history_record/names"
# Words of the formats, which libFuzzer cannot learn from libexiv2 (built without its
# coverage): markers, byte orders, tag numbers, box types.
printf '%s\n' '"\xff\xd8"' '"\xff\xe1"' '"Exif\x00\x00"' '"II*\x00"' '"MM\x00*"' \
  '"\x69\x87"' '"\x03\x90"' '"\x04\x90"' '"\x11\x90"' '"\x91\x92"' '"ftyp"' '"heic"' \
  '"crx "' '"moov"' '"mvhd"' '"meta"' '"iloc"' '"<x:xmpmeta"' '"DateTimeOriginal"' \
  '"CreateDate"' '"2024:05:01 13:45:07"' '"2024-05-01T13:45:07"' >"$corpus/capture_metadata.dict"
for target in movie_header capture_metadata settings_file history_record; do
  words=()
  [ "$target" = movie_header ] || [ "$target" = history_record ] || words=(-dict=fuzz-corpus/capture_metadata.dict)
  (cd "$build_dir" && "./fuzz/fuzz_$target" -max_total_time="$seconds" -rss_limit_mb=2048 \
    -timeout=10 -max_len=65536 -print_final_stats=1 "${words[@]}" "fuzz-corpus/$target")
done
