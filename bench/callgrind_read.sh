#!/bin/sh
# Instructions per byte of instance document for the floor of package reading
# (libzip into a bare Xerces SAX2 scan) and for the pull parser over the same
# entry, counted by callgrind on a package written by write_bench.
#
#   sh bench/callgrind_read.sh BENCH_BUILD_DIR [objects (default 36000, ~20 MB)]
set -eu
build="$1/bench"
objects="${2:-36000}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$build/write_bench" "$objects" library "$work" >/dev/null
package="$work/library.vexa"

instructions() {  # phase
  valgrind --tool=callgrind --callgrind-out-file="$work/$1.out" \
    "$build/read_floor_bench" "$package" "$1" >/dev/null 2>&1
  sed -n 's/^totals: *\([0-9]*\).*/\1/p' "$work/$1.out"
}

sax=$(instructions sax)
pull=$(instructions pull)
bytes=$(unzip -p "$package" VEXA_Data.xml | wc -c)
awk -v s="$sax" -v p="$pull" -v b="$bytes" -v n="$objects" 'BEGIN {
  printf "%d objects, instance document %d bytes\n", n, b
  printf "floor (libzip + Xerces SAX2, progressive): %.1f instructions/byte\n", s / b
  printf "pull parser over EntryReader:              %.1f instructions/byte\n", p / b
  printf "pull/floor: %.2f (%.1f instructions/byte of its own)\n", p / s, (p - s) / b
}'
