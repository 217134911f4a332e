# Read by the fuzz scripts with "." after their argument check: sets `root`,
# `out` (the build and run folder) and `targets`, the target named by $1 or,
# for "all", every fuzz/*_fuzz.cpp.
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/out/fuzz
if [ "$1" = all ]; then
  targets=$(ls "$root"/fuzz/*_fuzz.cpp | sed 's|.*/||; s|\.cpp$||')
else
  targets=$1
fi
