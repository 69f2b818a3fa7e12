#!/usr/bin/env bash
# Builds into the checkout's build/ folder.
#   tools/build.sh win    the Windows programs and the product folder build/win/Vemtra
#   tools/build.sh test   the native tests with sanitizers (build/test), after win
#   tools/build.sh fuzz   the fuzz targets with clang (build/fuzz)
#   tools/build.sh bench  the benchmarks, optimised (build/bench)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=${VEMTRA_JOBS:-2}

configure_and_build() {
  local dir=$1; shift
  if [[ ! -f $dir/build.ninja ]]; then
    cmake -S "$root" -B "$dir" -G Ninja "$@" >"$dir.configure.log" 2>&1 || { cat "$dir.configure.log"; exit 1; }
  else
    cmake "$dir" "$@" >"$dir.configure.log" 2>&1 || { cat "$dir.configure.log"; exit 1; }
  fi
  cmake --build "$dir" -j "$jobs" >"$dir.build.log" 2>&1 || { tail -n 60 "$dir.build.log"; exit 1; }
}

mkdir -p "$root/build"
case ${1:-win} in
  win)
    configure_and_build "$root/build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw64.cmake" \
      -DCMAKE_BUILD_TYPE=Release
    echo "product folder: $root/build/win/Vemtra" ;;
  test)
    configure_and_build "$root/build/test" -DCMAKE_BUILD_TYPE=Debug -DVEMTRA_SANITIZE=ON \
      -DVEMTRA_WIN_BUILD_DIR="$root/build/win" ;;
  fuzz)
    configure_and_build "$root/build/fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
      -DCMAKE_CXX_COMPILER=clang++ -DVEMTRA_TESTS=OFF -DVEMTRA_FUZZ=ON ;;
  bench)
    configure_and_build "$root/build/bench" -DCMAKE_BUILD_TYPE=Release -DVEMTRA_TESTS=OFF -DVEMTRA_BENCH=ON ;;
  *) echo "usage: tools/build.sh win|test|fuzz|bench" >&2; exit 2 ;;
esac
