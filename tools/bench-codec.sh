#!/bin/sh
# Screen codec benchmark: our ZMBV encoder and decoder against ffmpeg's ZMBV
# encoder on the same frames (static desktop, scrolling text, moving window,
# noise at 854x480, 1280x720, 1920x1080). Builds in release in build/bench-codec.
#   tools/bench-codec.sh [frames per case (default 30)] [extra benchmark options]
set -eu
frames=${1:-30}
[ $# -gt 0 ] && shift
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VEMTRA_BENCH_BUILD:-$root/build/bench-codec}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVEMTRA_BENCH=ON -DVEMTRA_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target codec_bench >/dev/null
bench=$build/bench/codec/codec_bench

work=$(mktemp -d /tmp/vemtra-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT INT TERM
"$bench" --dump "$work" --frames "$frames"

# ffmpeg (its ZMBV encoder takes the key-frame interval from -keyint_min):
# user CPU time of a whole encode (one thread, as the codec has no
# threads) and the size of its video chunks.
: > "$work/ffmpeg.txt"
for raw in "$work"/*.bgr0; do
  name=$(basename "$raw" .bgr0)
  scene=${name%%-*}
  size=${name#*-}
  w=${size%x*}
  h=${size#*x}
  out=$work/$name.avi
  utime=$(ffmpeg -nostdin -hide_banner -benchmark -threads 1 -f rawvideo -pix_fmt bgr0 -s "$size" -r 30 \
            -i "$raw" -c:v zmbv -g 10 -keyint_min 10 -y "$out" 2>&1 | sed -n 's/.*utime=\([0-9.]*\)s.*/\1/p')
  bytes=$(ffprobe -v error -select_streams v:0 -show_entries packet=size -of csv=p=0 "$out" |
            awk '{ s += $1; n++ } END { if (n) printf "%.0f", s / n; else print 0 }')
  fps=$(awk -v f="$frames" -v t="$utime" 'BEGIN { if (t > 0) printf "%.2f", f / t; else print 0 }')
  echo "$scene $w $h $fps $bytes" >> "$work/ffmpeg.txt"
  rm -f "$out"
done

"$bench" --frames "$frames" --ffmpeg "$work/ffmpeg.txt" "$@"
