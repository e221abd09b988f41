#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: The Pellory developers
# Installs what is missing, builds Pellory and runs the whole test suite, in build/
# (RelWithDebInfo). BUILD_DIR and extra CMake options (CMAKE_ARGS) let CI reuse it for
# its own builds.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh tests
build_dir=${BUILD_DIR:-build}
# shellcheck disable=SC2086
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo ${CMAKE_ARGS:-}
cmake --build "$build_dir" -j2
ctest --test-dir "$build_dir" --output-on-failure -j2
