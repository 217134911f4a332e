#!/bin/sh
# Builds the fuzz targets with clang in out/fuzz and runs one target, or all
# of them one after the other, for SECONDS each, or until RUNS executions:
#
#   sh fuzz/run.sh TARGET|all SECONDS [RUNS]
#
# Each target starts from its committed corpus (fuzz/corpus/TARGET) and the
# seeds of fuzz/make_seeds.sh (out/fuzz/seeds/TARGET) when made; new inputs
# go to out/fuzz/corpus/TARGET, crashes to out/fuzz/findings/TARGET. The
# summary gives executions, executions per second, coverage and findings.
set -eu
if [ $# -lt 2 ]; then
  echo "usage: $0 TARGET|all SECONDS [RUNS]" >&2
  exit 2
fi
. "$(dirname "$0")/targets.sh"

cmake -S "$root" -B "$out" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=/usr/bin/clang++ \
  -DNV_BUILD_FUZZ=ON -DNV_BUILD_TESTS=OFF >/dev/null
# shellcheck disable=SC2086
cmake --build "$out" -j2 --target $targets >/dev/null

summary=""
for target in $targets; do
  corpus=$out/corpus/$target findings=$out/findings/$target log=$out/logs/$target.log
  mkdir -p "$corpus" "$findings" "$out/logs" "$root/fuzz/corpus/$target"
  seeds=""
  [ -d "$out/seeds/$target" ] && seeds=$out/seeds/$target
  echo "== $target for $2 s"
  # shellcheck disable=SC2086
  "$out/fuzz/$target" -max_total_time="$2" -runs="${3:--1}" -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$findings/" "$corpus" "$root/fuzz/corpus/$target" $seeds >"$log" 2>&1 || true
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  per_second=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
  coverage=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -n 1)
  crashes=$(ls "$findings" | wc -l)
  line=$(printf '%-20s executions %-9s exec/s %-6s %-22s findings %s' "$target" \
    "${executions:-?}" "${per_second:-?}" "${coverage:-cov: ?}" "$crashes")
  echo "$line"
  summary="$summary$line
"
  [ "$crashes" -eq 0 ] || ls "$findings" | sed "s|^|  $findings/|"
done
printf '\n%s' "$summary"
