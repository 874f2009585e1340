#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds everything and runs all tests; then
# builds the whole program again with AddressSanitizer and UndefinedBehaviorSanitizer and runs
# every test there (the desktop's under the offscreen platform, with LeakSanitizer at each exit),
# the fuzz corpus replays, and the monkey: its kept seeds, then a short run from the commit's seed.
# Each stage prints how long it took, and the run ends with all of them.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
started=$SECONDS
times=()
running=

# Runs a stage and notes its wall time and the processor time of its processes.
stage() {
  local name=$1
  shift
  local begin=$SECONDS cpu_before
  child_cpu
  cpu_before=$cpu
  echo "test.sh: ${name}..."
  running=$name
  "$@"
  running=
  child_cpu
  local line
  line=$(printf '%-18s %5d s wall %6d s processor' "$name" $((SECONDS - begin)) $((cpu - cpu_before)))
  times+=("$line")
  echo "test.sh: $line"
}

# Sets cpu to the user and system time of the finished children of this shell, in whole seconds.
# `times` must run in this shell: in a pipe or $(...) it would speak for a subshell.
cpu_file=$(mktemp)
cpu=0
child_cpu() {
  times >"$cpu_file"
  cpu=$(awk 'function sec(x) { split(x, p, "m"); return p[1] * 60 + p[2] }
    END { printf "%d", sec($1) + sec($2) }' "$cpu_file")
}

summary() {
  echo "test.sh: stage times (wall, and user+sys processor time of its processes):"
  local line
  for line in "${times[@]}"; do
    echo "  $line"
  done
  [ -z "$running" ] || echo "  $running failed"
  echo "  total              $((SECONDS - started)) s wall"
  rm -f "$cpu_file"
}
trap summary EXIT

stage deps ./scripts/deps.sh
# Before any build, so that a badly formatted file fails the run at once.
stage format ./scripts/check-format.sh

stage build bash -c "cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo && cmake --build build -j$jobs"
stage tests env QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j"$jobs"

if [ "${VORPANE_SKIP_SANITIZERS:-0}" != 1 ]; then
  stage sanitizer-build bash -c "cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVORPANE_SANITIZE=ON \
    && cmake --build build-asan -j$jobs"
  export ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=0
  export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  stage sanitizer-tests env QT_QPA_PLATFORM=offscreen ctest --test-dir build-asan --output-on-failure -j"$jobs"

  if [ "${VORPANE_SKIP_MONKEY:-0}" != 1 ]; then
    monkey() {
      # Each seed that once found a fault, for as long as it took then, and two minutes of new input,
      # side by side (each monkey starts its own X server), so the stage lasts as long as the longest.
      # New input for each commit, the same for a rerun of it: a failure replays with the seed printed.
      local fresh=$((0x$(git rev-parse --short=7 HEAD 2>/dev/null || echo 1)))
      local logs seed seconds pids=() failed=0 i=0
      logs=$(mktemp -d)
      while read -r seed seconds _; do
        python3 tools/monkey/monkey.py --program build-asan/bin/vorpane --display auto \
          --seed "$seed" --seconds "$seconds" </dev/null >"$logs/$i" 2>&1 &
        pids+=($!)
        i=$((i + 1))
      done < <(sed -e '/^#/d' -e '/^ *$/d' tools/monkey/seeds.txt; echo "$fresh 120")
      for i in "${!pids[@]}"; do
        wait "${pids[$i]}" || failed=1
        cat "$logs/$i"
      done
      rm -rf "$logs"
      return $failed
    }
    stage monkey monkey
  fi
fi
