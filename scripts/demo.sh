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
sources="$root/out/sample-sources"
extracted="$root/out/extracted"
rm -rf "$sample" "$sources" "$extracted"
mkdir -p "$sources" "$extracted"
# The two files the sample embeds: a drawing and its notes.
cat >"$sources/bracket.svg" <<'SVG'
<svg xmlns="http://www.w3.org/2000/svg" width="120" height="80">
  <path d="M10 70 L10 10 L110 10" fill="none" stroke="black" stroke-width="6"/>
</svg>
SVG
printf 'Bracket, left\nMaterial: S235\nDeburr all edges.\n' >"$sources/bracket-notes.txt"
touch -d "2026-11-20 10:00:00" "$sources/bracket.svg" "$sources/bracket-notes.txt"
"$root/out/examples/write_package_example" "$sample" "$sources/bracket.svg" \
  "$sources/bracket-notes.txt"
unzip -l "$sample"
echo "--- VEXA_Data.xml ---"
unzip -p "$sample" VEXA_Data.xml
echo
echo "--- the sample package read back, its files extracted into out/extracted ---"
"$root/out/examples/read_package_example" "$sample" "$extracted"
for name in bracket.svg bracket-notes.txt; do
  cmp "$sources/$name" "$extracted/Drawings/$name"
done
ls -l --time-style=+%Y-%m-%dT%H:%M "$extracted/Drawings"
echo "The extracted files equal their originals."
