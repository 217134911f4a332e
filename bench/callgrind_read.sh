#!/bin/sh
# Instructions per byte of instance document for the floor of package reading
# (libzip into a bare Xerces SAX2 scan), for the pull parser over the same
# entry, and for the whole reading through the public interfaces (read_bench,
# every value of every object), counted by callgrind on a package written by
# write_bench.
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
valgrind --tool=callgrind --callgrind-out-file="$work/reader.out" \
  "$build/read_bench" "$package" >/dev/null 2>&1
reader=$(sed -n 's/^totals: *\([0-9]*\).*/\1/p' "$work/reader.out")
bytes=$(unzip -p "$package" VEXA_Data.xml | wc -c)
awk -v s="$sax" -v p="$pull" -v r="$reader" -v b="$bytes" -v n="$objects" 'BEGIN {
  printf "%d objects, instance document %d bytes\n", n, b
  printf "floor (libzip + Xerces SAX2, progressive): %.1f instructions/byte\n", s / b
  printf "pull parser over EntryReader:              %.1f instructions/byte\n", p / b
  printf "pull/floor: %.2f (%.1f instructions/byte of its own)\n", p / s, (p - s) / b
  printf "whole read (public interfaces, every value): %.1f instructions/byte\n", r / b
  printf "read/floor: %.2f\n", r / s
}'
