#!/usr/bin/env bash
# Compares the script engine with Lua 5.4 on the same five small programs: runs every script as a
# whole process several times, takes the median, subtracts each interpreter's start-up (an empty
# script, reported on its own line) and prints each ratio and their geometric mean. Use a Release
# build of vorpane-cli.
#
# usage: bench/script_vs_lua.sh [PATH/TO/vorpane-cli] [REPETITIONS]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
cli="${1:-$here/../build-release/bin/vorpane-cli}"
reps="${2:-5}"
scripts="$here/scripts"

if [ ! -x "$cli" ]; then
  echo "no vorpane-cli at $cli (build one with -DCMAKE_BUILD_TYPE=Release)" >&2
  exit 2
fi
if ! command -v lua5.4 >/dev/null; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends lua5.4
fi

# Median wall time in milliseconds of REPS runs of the command.
median_ms() {
  local times=() start end
  for ((i = 0; i < reps; i++)); do
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
    end=$(date +%s%N)
    times+=($(((end - start) / 1000)))
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{ a[NR] = $1 } END { printf "%.1f", a[int((NR + 1) / 2)] / 1000 }'
}

vorpane_run() { QT_QPA_PLATFORM=offscreen "$cli" --seed 1 run "$1"; }

base_vsc=$(median_ms vorpane_run "$scripts/empty.vsc")
base_lua=$(median_ms lua5.4 "$scripts/empty.lua")
printf '%-8s %12s %12s\n' "" "vorpane ms" "lua5.4 ms"
printf '%-8s %12s %12s\n' "start-up" "$base_vsc" "$base_lua"

ratios=()
for name in loop fib array concat sheet; do
  vsc=$(median_ms vorpane_run "$scripts/$name.vsc")
  lua=$(median_ms lua5.4 "$scripts/$name.lua")
  line=$(awk -v n="$name" -v v="$vsc" -v l="$lua" -v bv="$base_vsc" -v bl="$base_lua" 'BEGIN {
    nv = v - bv; nl = l - bl
    if (nv < 0.1) nv = 0.1
    if (nl < 0.1) nl = 0.1
    printf "%-8s %12.1f %12.1f   (without start-up %.1f / %.1f ms, ratio %.2f)\n", n, v, l, nv, nl, nv / nl
  }')
  echo "$line"
  ratios+=("$(echo "$line" | sed 's/.*ratio \([0-9.]*\))/\1/')")
done
printf '%s\n' "${ratios[@]}" | awk '{ s += log($1); n++ } END { printf "geometric mean of the ratios: %.2f\n", exp(s / n) }'
