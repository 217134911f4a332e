#!/bin/sh
# Builds with warnings as errors and runs the whole test suite, then builds
# again with AddressSanitizer and UndefinedBehaviorSanitizer and runs it again.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
sh "$root/scripts/install-deps.sh"

run_suite() {  # build folder, extra CMake options...
  build=$1
  shift
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNV_WERROR=ON "$@" >/dev/null
  cmake --build "$build" -j2
  (cd "$build" && ctest --output-on-failure -j2)
}

echo "=== Tests (warnings as errors) ==="
run_suite "$root/out/build-test"
echo "=== Tests under AddressSanitizer and UndefinedBehaviorSanitizer ==="
export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1
run_suite "$root/out/build-sanitize" -DNV_SANITIZE=ON
