#!/usr/bin/env bash
# Start-up of the desktop program, as whole processes under the offscreen platform: to the main
# window shown and idle, and with an example investigator to its first painted sheet. Prints the
# median and the slowest of several runs against the targets (300 and 500 ms).
#
# usage: bench/startup.sh [PATH/TO/vorpane] [REPETITIONS]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
program="${1:-$here/../build/bin/vorpane}"
reps="${2:-11}"
example="$here/../data/examples/detective_1890.inv"

if [ ! -x "$program" ]; then
  echo "no vorpane at $program" >&2
  exit 2
fi

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
# A profile and data folders of its own: no recovery question, no user settings.
export QT_QPA_PLATFORM=offscreen VORPANE_QUIT_WHEN_IDLE=1 VORPANE_SETTINGS="$scratch/settings.ini"
export XDG_DATA_HOME="$scratch/data" XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch/run"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

# Median and slowest wall time in milliseconds of REPS runs of the command.
measure() {
  local times=() start end
  "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; } # warms the disk cache
  for ((i = 0; i < reps; i++)); do
    start=$(date +%s%N)
    timeout 20 "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
    end=$(date +%s%N)
    times+=($(((end - start) / 1000000)))
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{ a[NR] = $1 } END { printf "%d %d\n", a[int((NR + 1) / 2)], a[NR] }'
}

report() {
  local name="$1" target="$2"; shift 2
  read -r median slowest < <(measure "$@")
  local verdict="ok"
  [ "$median" -lt "$target" ] || verdict="OVER TARGET"
  printf '%-28s median %4d ms  slowest %4d ms  target %d ms  %s\n' "$name" "$median" "$slowest" "$target" "$verdict"
}

report "window shown and idle" 300 "$program"
report "example sheet painted" 500 "$program" "$example"
