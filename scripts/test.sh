#!/bin/sh
# Builds with warnings as errors and runs the whole test suite, then builds
# again with AddressSanitizer and UndefinedBehaviorSanitizer and runs it again,
# then runs the threaded tests built with ThreadSanitizer. The suites include
# the replay of the committed fuzz corpus and the allocation and I/O fault runs.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
sh "$root/scripts/install-deps.sh"

# Debug information as line tables only: enough for the sanitizers' stack
# traces, and the suites build faster.
configure() {  # build folder, extra CMake options...
  build=$1
  shift
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" -DNV_WERROR=ON "$@" >/dev/null
}

run_suite() {  # build folder, extra CMake options...
  configure "$@"
  cmake --build "$1" -j2
  (cd "$1" && ctest --output-on-failure -j2)
}

echo "=== Tests (warnings as errors) ==="
run_suite "$root/out/build-test"
echo "=== Tests under AddressSanitizer and UndefinedBehaviorSanitizer ==="
export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1
run_suite "$root/out/build-sanitize" -DNV_SANITIZE=ON
echo "=== Threaded tests under ThreadSanitizer ==="
configure "$root/out/build-threads" -DNV_SANITIZE_THREADS=ON
cmake --build "$root/out/build-threads" -j2 --target threads_tests frame_tests
# The sanitizer maps memory where it expects it: without address-space
# randomisation where the system allows that.
norandom=""
if setarch "$(uname -m)" -R true 2>/dev/null; then norandom="setarch $(uname -m) -R"; fi
export TSAN_OPTIONS=halt_on_error=1
(cd "$root/out/build-threads" && $norandom ctest --output-on-failure --no-tests=error -j2 -R '^(Threads|InterfaceObject)\.')
