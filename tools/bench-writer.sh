#!/bin/sh
# The recorder writer's own cost per frame (batch planning, smooth-mode
# blend, screen codec, AVI writing to a file) at 1280x720 and 1920x1080 on
# screen-like pictures, as frames per second of CPU time on one core. Real
# time is 30 frames per second. Builds in release in build/bench-writer.
#   tools/bench-writer.sh [extra benchmark options]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VEMTRA_BENCH_BUILD:-$root/build/bench-writer}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVEMTRA_BENCH=ON -DVEMTRA_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target recorder_writer_bench >/dev/null
"$build/bench/recorder/recorder_writer_bench" --benchmark_counters_tabular=true "$@"
