#!/bin/sh
# Long fuzzing run of the libFuzzer targets (clang build in build/fuzz).
#   tools/fuzz.sh [seconds per target (default 600)] [target ...]
# Without target names every test labelled "fuzz" runs. The corpus of each
# target grows in its build folder and is kept between runs; a crash leaves
# its input in the current folder (crash-...).
set -eu
seconds=${1:-600}
[ $# -gt 0 ] && shift
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VEMTRA_FUZZ_BUILD:-$root/build/fuzz}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEMTRA_FUZZ=ON -DVEMTRA_TESTS=OFF >/dev/null
targets=${*:-$(ctest --test-dir "$build" -N -L fuzz | sed -n 's/^ *Test *#[0-9]*: *//p')}
[ -n "$targets" ] || { echo "no fuzz targets" >&2; exit 1; }
for t in $targets; do
  cmake --build "$build" -j2 --target "$t"
done
status=0
for t in $targets; do
  exe=$(find "$build" -type f -name "$t" -perm -u+x | head -n 1)
  corpus=$(dirname "$exe")/${t}_corpus
  mkdir -p "$corpus"
  echo "== $t: $seconds s"
  "$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 "$corpus" || status=1
done
exit $status
