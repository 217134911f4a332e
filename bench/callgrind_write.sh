#!/bin/sh
# Instructions per byte of instance document for package writing and for its
# floor, counted by callgrind (stable where wall-clock times are not).
#
#   sh bench/callgrind_write.sh BENCH_BUILD_DIR [objects (default 36000, ~20 MB)]
set -eu
bench="$1/bench/write_bench"
objects="${2:-36000}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

instructions() {  # phase
  valgrind --tool=callgrind --callgrind-out-file="$work/$1.out" \
    "$bench" "$objects" "$1" "$work" >/dev/null 2>&1
  sed -n 's/^totals: *\([0-9]*\).*/\1/p' "$work/$1.out"
}

library=$(instructions library)
floor=$(instructions floor)
bytes=$(unzip -p "$work/library.vexa" VEXA_Data.xml | wc -c)
awk -v l="$library" -v f="$floor" -v b="$bytes" -v n="$objects" 'BEGIN {
  printf "%d objects, instance document %d bytes\n", n, b
  printf "library: %.1f instructions/byte\nfloor:   %.1f instructions/byte\n", l / b, f / b
  printf "library/floor: %.2f\n", l / f
}'
