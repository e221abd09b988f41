#!/bin/sh
# Builds the foundation benchmark in a Release build of its own and runs it; arguments
# ("sorts", "duplicates", "scan") pick groups of rows.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-bench"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 --target pellory_bench_foundation
exec "$build/bench/pellory_bench_foundation" "$@"
