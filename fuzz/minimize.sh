#!/bin/sh
# Rebuilds the committed corpus of one target, or of all, from what fuzz/run.sh
# found (out/fuzz/corpus/TARGET) and the seeds: the smallest set of inputs of
# at most MAX_LEN bytes (default 4096) that keeps their coverage, by libFuzzer's
# set-cover merge, into fuzz/corpus/TARGET; of that set only the KEEP largest
# inputs (default 40) stay, so that the committed corpus stays small.
#
#   sh fuzz/minimize.sh TARGET|all [MAX_LEN] [KEEP]
set -eu
if [ $# -lt 1 ]; then
  echo "usage: $0 TARGET|all [MAX_LEN]" >&2
  exit 2
fi
. "$(dirname "$0")/targets.sh"
for target in $targets; do
  committed=$root/fuzz/corpus/$target
  previous=$out/minimize/$target
  rm -rf "$previous"
  mkdir -p "$previous" "$committed" "$out/corpus/$target"
  # The committed inputs take part in the merge as any other.
  find "$committed" -type f -exec mv {} "$previous/" \;
  seeds=""
  [ -d "$out/seeds/$target" ] && seeds=$out/seeds/$target
  # shellcheck disable=SC2086
  "$out/fuzz/$target" -set_cover_merge=1 -max_len="${2:-4096}" -timeout=20 \
    -rss_limit_mb=2048 "$committed" "$previous" "$out/corpus/$target" $seeds \
    >"$out/logs/$target.minimize.log" 2>&1
  (cd "$committed" && ls -S | tail -n +"$((${3:-40} + 1))" | xargs -r rm --)
  echo "$target: $(ls "$committed" | wc -l) inputs, $(cat "$committed"/* | wc -c) bytes"
done
