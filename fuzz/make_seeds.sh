#!/bin/sh
# Makes a seed corpus per fuzz target in out/fuzz/seeds/TARGET from what the
# library writes: the sample package of examples/write_package, packages of
# the targets' fixed schema (fuzz/seed_package.cpp), their instance and
# schema documents, the value texts of every data type and archive names.
# fuzz/run.sh uses the seeds when they exist.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/out/fuzz
seeds=$out/seeds
cmake -S "$root" -B "$out" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=/usr/bin/clang++ \
  -DNV_BUILD_FUZZ=ON -DNV_BUILD_TESTS=OFF >/dev/null
cmake --build "$out" -j2 --target write_package_seed seed_package >/dev/null
rm -rf "$seeds"
work=$seeds/work
mkdir -p "$work/sources"
for target in instance_fuzz schema_doc_fuzz values_fuzz package_fuzz zipped_package_fuzz \
  names_fuzz write_read_fuzz; do
  mkdir -p "$seeds/$target"
done
export ASAN_OPTIONS=detect_leaks=0 TEMP="$work"

# Packages: the sample with its two embedded files, and the fixed schema's.
printf '<svg xmlns="http://www.w3.org/2000/svg"><path d="M1 1"/></svg>\n' >"$work/sources/d.svg"
printf 'Notes\n' >"$work/sources/n.txt"
"$out/fuzz/write_package_seed" "$work/sample.vexa" "$work/sources/d.svg" "$work/sources/n.txt" \
  >/dev/null
"$out/fuzz/seed_package" "$work/fixed"
for package in "$work"/*.vexa; do
  name=$(basename "$package" .vexa)
  cp "$package" "$seeds/package_fuzz/$name"
  # Instance documents: four bytes choose the chunk sizes.
  for seed in AAAA zzzz; do
    { printf '%s' "$seed"; unzip -p "$package" VEXA_Data.xml; } >"$seeds/instance_fuzz/$name-$seed"
  done
  unzip -Z1 "$package" | grep '\.xsd$' | while read -r entry; do
    unzip -p "$package" "$entry" >"$seeds/schema_doc_fuzz/$name-$(basename "$entry")"
  done
done

# Structured packages: the entries of each package in the input layout the
# target reads (an entry count less one, then per entry a 0 for a name of the
# input's own, the name and the content, each after its length).
python3 - "$work" "$seeds/zipped_package_fuzz" <<'PY'
import os, sys, zipfile
work, dest = sys.argv[1], sys.argv[2]
def text(data, width):
    return len(data).to_bytes(width, 'big') + data
for name in sorted(os.listdir(work)):
    if not name.endswith('.vexa'):
        continue
    with zipfile.ZipFile(os.path.join(work, name)) as archive:
        entries = [(e.filename.encode(), archive.read(e)) for e in archive.infolist()]
    entries = [(n, c) for n, c in entries if len(n) <= 64 and len(c) <= 4096][:8]
    seed = bytes([len(entries) - 1])
    for entry_name, content in entries:
        seed += b'\0' + text(entry_name, 1) + text(content, 2)
    with open(os.path.join(dest, name[:-5]), 'wb') as out:
        out.write(seed)
PY

# Value texts: a type byte (the type less one: 0 for dtString ... 20 for dtXML).
i=0
for typed in '1 a<&>"b' '2 true' '3 -0' '4 1.7976931348623157E308' '4 NaN' '5 -P1Y2M3DT4H5M6.5S' \
  '6 AAEC/w==' '7 00ff' '8 http://x.org/a?b=1&c' '9 en-US' '10 -2147483648' '11 -32768' \
  '12 127' '13 65535' '14 255' '15 2009-03-07T14:05:09.120' '15 0001-01-01T00:00:00' \
  '16 23:59:59.999' '17 2009-03-07' '18 --12--' '19 0999' '20 o_17' \
  '21 <a:b xmlns:a="urn:a" k="1&amp;2">t<c/></a:b>'; do
  type=${typed%% *} value=${typed#* }
  { printf "\\$(printf '%03o' "$((type - 1))")"; printf '%s' "$value"; } >"$seeds/values_fuzz/v$i"
  i=$((i + 1))
done

# Archive and file names, safe and hostile.
i=0
for name in 'a.txt' 'dir/sub/b.bin' 'dir/' '../x' '/x' 'a/../../x' 'C:\x' 'a\..\..\x' './a' \
  'a//b' '...' 'a/./b' '\\host\share\x' 'file:///x'; do
  printf '%s' "$name" >"$seeds/names_fuzz/n$i"
  i=$((i + 1))
done
printf 'a\000/../x' >"$seeds/names_fuzz/n$i"

# Write then read: inputs of a few lengths; every byte is a choice.
for length in 16 64 256 1024; do
  head -c "$length" "$package" >"$seeds/write_read_fuzz/w$length"
done

rm -rf "$work"
for target in "$seeds"/*; do
  echo "$(basename "$target"): $(ls "$target" | wc -l) seeds"
done
