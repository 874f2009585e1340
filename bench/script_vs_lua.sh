#!/usr/bin/env bash
# Compares the script engine with Lua 5.4 on the same five small programs: runs every script as a
# whole process several times, takes the median, subtracts each interpreter's start-up (an empty
# script, reported on its own line) and prints each ratio and their geometric mean. Use a Release
# build of vorpane-cli.
#
# Times are processor times (user + system) of the process: the machine is shared, and other work
# stretches wall time. The two interpreters' runs alternate, so that both see the same load.
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

QT_QPA_PLATFORM=offscreen python3 - "$cli" "$scripts" "$reps" <<'PY'
import math, resource, statistics, subprocess, sys

cli, scripts, reps = sys.argv[1], sys.argv[2], int(sys.argv[3])

def cpu_ms(cmd):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    result = subprocess.run(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    if result.returncode != 0:
        sys.exit("failed: " + " ".join(cmd))
    return (after.ru_utime - before.ru_utime + after.ru_stime - before.ru_stime) * 1000

def medians(name):
    ours, theirs = [], []
    for _ in range(reps):
        ours.append(cpu_ms([cli, "--seed", "1", "run", f"{scripts}/{name}.vsc"]))
        theirs.append(cpu_ms(["lua5.4", f"{scripts}/{name}.lua"]))
    return statistics.median(ours), statistics.median(theirs)

print(f"{'':8} {'vorpane ms':>12} {'lua5.4 ms':>12}   (median processor time of {reps} runs)")
base_vsc, base_lua = medians("empty")
print(f"{'start-up':8} {base_vsc:12.1f} {base_lua:12.1f}")
ratios = []
for name in ["loop", "fib", "array", "concat", "sheet"]:
    vsc, lua = medians(name)
    nv, nl = max(vsc - base_vsc, 0.1), max(lua - base_lua, 0.1)
    ratios.append(nv / nl)
    print(f"{name:8} {vsc:12.1f} {lua:12.1f}   (without start-up {nv:.1f} / {nl:.1f} ms, ratio {nv / nl:.3g})")
print(f"geometric mean of the ratios: {math.exp(sum(map(math.log, ratios)) / len(ratios)):.2f}")
PY
