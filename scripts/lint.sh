#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: The Pellory developers
# The style checks CI runs beside the tests: clang-format over every C++ file of the
# checkout, and clang-tidy (.clang-tidy) over the program's sources in src/, read with the
# compile commands of a finished build in BUILD_DIR (default build/). The tests and the
# bench are not given to clang-tidy: they would double its time and hold no product code.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
[ -f "$build_dir/compile_commands.json" ] || { echo "$build_dir/compile_commands.json: build first"; exit 1; }
git ls-files -z -- '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror
python3 scripts/tidy-modules.py "$build_dir" 2
# Every source file, script and build file names its licence in its first lines (the
# Debian changelog and copyright file have formats of their own; pictures and the
# translation, which lupdate writes, carry none).
unlicensed=$(git ls-files | grep -vE '\.(png|ts)$|^LICENSE$|^packaging/(changelog|copyright)$' |
  while read -r f; do head -n 5 "$f" | grep -q 'SPDX-License-Identifier' || echo "$f"; done)
[ -z "$unlicensed" ] || { echo "no SPDX licence line:"; echo "$unlicensed"; exit 1; }
