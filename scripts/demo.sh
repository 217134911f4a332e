#!/bin/sh
# The main job: installs what is needed, builds and installs the library into
# out/prefix, builds the example clients against the installed package, runs
# them, and lists the sample package that one of them writes.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
sh "$root/scripts/install-deps.sh"

build="$root/out/build"
prefix="$root/out/prefix"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DNV_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2
cmake --install "$build" --prefix "$prefix" >/dev/null

cmake -S "$root/examples" -B "$root/out/examples" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_BUILD_RPATH="$prefix/lib" >/dev/null
cmake --build "$root/out/examples" -j2
echo "--- proxy example ---"
"$root/out/examples/proxy_example" "proxy.example.test:8080"

echo "--- sample package ---"
sample="$root/out/sample.vexa"
rm -f "$sample"
"$root/out/examples/write_package_example" "$sample"
unzip -l "$sample"
echo "--- VEXA_Data.xml ---"
unzip -p "$sample" VEXA_Data.xml
echo
echo "--- the sample package read back ---"
"$root/out/examples/read_package_example" "$sample"
