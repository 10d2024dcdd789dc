#!/bin/sh
# Builds the composite CSV package benchmark (Release, in build-bench) and
# runs it; arguments go to the program: [items=5000] [block=500].
# The temporary save folder goes under $TMPDIR (default /tmp).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-bench"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DTAOTU_BUILD_GUI=OFF -DTAOTU_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target taotu_bench_composite
exec "$build/bench/taotu_bench_composite" "$@"
