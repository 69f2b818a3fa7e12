#!/usr/bin/env bash
# Installs what is needed, builds everything and runs every test: native unit
# tests with AddressSanitizer and UndefinedBehaviorSanitizer, short fuzz
# runs, and the end-to-end tests of the Windows programs under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

tools/setup.sh
tools/build.sh win
tools/build.sh test
tools/build.sh fuzz

status=0
ctest --test-dir build/test -L unit -j 2 --output-on-failure --timeout 300 || status=1
if ctest --test-dir build/fuzz -N -L fuzz | grep -q 'Total Tests: [1-9]'; then
  ctest --test-dir build/fuzz -L fuzz -j 2 --output-on-failure || status=1
fi
ctest --test-dir build/test -L e2e --output-on-failure || status=1

echo "product folder: $root/build/win/Vemtra"
echo "test logs: $root/build/test/Testing/Temporary/LastTest.log"
exit $status
