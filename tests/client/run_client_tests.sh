#!/bin/sh
# Installs the built library into a scratch prefix, then builds and runs
# clients against it the way outside programs do: the client test with
# pkg-config alone, and the examples through find_package.
set -eu
build_dir=$1
source_dir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake --install "$build_dir" --prefix "$work/prefix" >/dev/null
libdir=$(find "$work/prefix" -name 'libNorvVexa1.so' -printf '%h\n' | head -n1)
export PKG_CONFIG_PATH="$libdir/pkgconfig"

# The client test (GoogleTest, installed header only), built as C++17 and C++20
# clients with pkg-config alone.
for std in c++17 c++20; do
  # shellcheck disable=SC2046
  c++ -std=$std -Wall -Wextra -Werror "$source_dir/tests/client/client_test.cpp" \
    $(pkg-config --cflags --libs NorvVexa1) -lgtest -lgtest_main -pthread \
    -Wl,-rpath,"$libdir" -o "$work/client_$std"
done
NORVVEXA_REGISTRY="$work/registry" "$work/client_c++17" --gtest_brief=1

# The examples through find_package, once with the shared and once with the
# static library: each sets a schema Info item and writes a package, which
# the reading example reads back.
for linkage in shared static; do
  static=OFF
  [ "$linkage" = static ] && static=ON
  cmake -S "$source_dir/examples" -B "$work/examples_$linkage" -DCMAKE_PREFIX_PATH="$work/prefix" \
    -DCMAKE_BUILD_RPATH="$libdir" -DNV_LINK_STATIC=$static >/dev/null
  cmake --build "$work/examples_$linkage" >/dev/null
  "$work/examples_$linkage/proxy_example" "client.test:8080" >/dev/null
  printf '<svg/>' >"$work/drawing.svg"
  printf 'notes\0\377' >"$work/notes.bin"
  "$work/examples_$linkage/write_package_example" "$work/sample_$linkage.vexa" \
    "$work/drawing.svg" "$work/notes.bin" >/dev/null
  unzip -p "$work/sample_$linkage.vexa" | grep -q "Example Works"  # the schema's Info item
  mkdir "$work/extracted_$linkage"
  "$work/examples_$linkage/read_package_example" "$work/sample_$linkage.vexa" \
    "$work/extracted_$linkage" >"$work/read_$linkage.txt"
  grep -q "changeCount = 4" "$work/read_$linkage.txt"  # a behaviour value of the first Part
  grep -q "deleted P-099 of class Part" "$work/read_$linkage.txt"
  cmp "$work/notes.bin" "$work/extracted_$linkage/Drawings/bracket-notes.txt"
done
