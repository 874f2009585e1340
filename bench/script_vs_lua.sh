#!/usr/bin/env bash
# Compares the script engine with Lua 5.4 on the same six small programs: runs every script as a
# whole process several times, subtracts each interpreter's start-up (an empty script, reported on
# its own line), takes the median and prints each ratio and their geometric mean. Use a Release
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

def program(interpreter, name):
    if interpreter == "vorpane":
        return [cli, "--seed", "1", "run", f"{scripts}/{name}.vsc"]
    return ["lua5.4", f"{scripts}/{name}.lua"]

# Each repetition runs the empty script and then the program, in both interpreters in turn, and
# keeps the program's time less the start-up just measured: the pair shares the load of the
# moment, whose spread would otherwise swamp the short programs.
startups = {"vorpane": [], "lua": []}

def without_startup(name):
    times = {"vorpane": [], "lua": []}
    for _ in range(reps):
        for interpreter in ("vorpane", "lua"):
            startup = cpu_ms(program(interpreter, "empty"))
            startups[interpreter].append(startup)
            times[interpreter].append(cpu_ms(program(interpreter, name)) - startup)
    return statistics.median(times["vorpane"]), statistics.median(times["lua"])

def geomean(values):
    return math.exp(sum(map(math.log, values)) / len(values))

print(f"{'':8} {'vorpane ms':>12} {'lua5.4 ms':>12}   (median processor time of {reps} runs, start-up apart)")
names = ["loop", "fib", "array", "concat", "sheet", "page"]
ratios = []
for name in names:
    vsc, lua = without_startup(name)
    vsc, lua = max(vsc, 0.1), max(lua, 0.1)
    ratios.append(vsc / lua)
    print(f"{name:8} {vsc:12.1f} {lua:12.1f}   ratio {vsc / lua:.3g}")
print(f"{'start-up':8} {statistics.median(startups['vorpane']):12.1f} {statistics.median(startups['lua']):12.1f}")
print(f"geometric mean of the ratios: {geomean(ratios):.2f}")
print(f"geometric mean without concat: {geomean([r for r, n in zip(ratios, names) if n != 'concat']):.2f}")
print(f"geometric mean of loop, fib, array and sheet: "
      f"{geomean([r for r, n in zip(ratios, names) if n in ('loop', 'fib', 'array', 'sheet')]):.2f}")
PY
