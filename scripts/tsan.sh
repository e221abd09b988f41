#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: The Pellory developers
# Builds the tests that start threads with ThreadSanitizer, in a build folder of their own
# (BUILD_DIR, default build-tsan/), and runs them with the suppressions of scripts/tsan.supp.
# Extra CMake options come in CMAKE_ARGS.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build-tsan}
tests=(tst_camera tst_platform tst_catalogue tst_window)
# shellcheck disable=SC2086
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELLORY_SANITIZE=thread \
  ${CMAKE_ARGS:-} >/dev/null
cmake --build "$build_dir" -j2 --target "${tests[@]}"
# A report fails the test that shows it; the second stack of a lock order inversion says
# which lock was taken first. A child forked while threads run (the window tests start
# processes) may start threads of its own.
export TSAN_OPTIONS="suppressions=$PWD/scripts/tsan.supp halt_on_error=1 second_deadlock_stack=1 die_after_fork=0 ${TSAN_OPTIONS:-}"
pattern=$(IFS='|'; echo "${tests[*]}")
ctest --test-dir "$build_dir" -R "^($pattern)\$" --output-on-failure -j2
