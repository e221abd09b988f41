#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: The Pellory developers
# Installs what is missing, builds Pellory and starts it. The Release build has a folder
# of its own (build-release/), so that switching to the test command and back does not
# build everything again.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release
cmake --build build-release -j2 --target pellory
exec ./build-release/app/pellory "$@"
