#!/usr/bin/env bash
# The main job, headless: installs what is needed, builds the product folder
# and drives the programs under Wine on a virtual screen like a user, then
# prints where its results are.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

tools/setup.sh
tools/build.sh win
tools/build.sh test

# The same virtual screen, sound server and Wine prefix as the tests.
out=$root/build/demo
state=$root/build/test/e2e-env
mkdir -p "$out"
bash tools/e2e/env.sh start "$state" >/dev/null
trap 'bash tools/e2e/env.sh stop "$state" >/dev/null 2>&1' EXIT

status=0
build/test/demo/vemtra_demo "$out" || status=$?
echo "results: $out"
exit $status
