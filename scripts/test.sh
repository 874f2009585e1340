#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds everything and runs all tests; then
# builds the whole program again with AddressSanitizer and UndefinedBehaviorSanitizer and runs
# every test there (the desktop's under the offscreen platform, with LeakSanitizer at each exit),
# the fuzz corpus replays, and the monkey: its kept seeds, then a short run from the commit's seed.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
# First, so that a badly formatted file fails the run before any build.
./scripts/check-format.sh
jobs=$(nproc)
started=$SECONDS

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j"$jobs"
echo "test.sh: build and tests took $((SECONDS - started)) s"

if [ "${VORPANE_SKIP_SANITIZERS:-0}" != 1 ]; then
  cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVORPANE_SANITIZE=ON
  cmake --build build-asan -j"$jobs"
  export ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=0
  export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  QT_QPA_PLATFORM=offscreen ctest --test-dir build-asan --output-on-failure -j"$jobs"
  echo "test.sh: sanitizer build and tests done at $((SECONDS - started)) s"

  if [ "${VORPANE_SKIP_MONKEY:-0}" != 1 ]; then
    # Each seed that once found a fault, for as long as it took then; then two minutes of new input.
    while read -r seed seconds _; do
      python3 tools/monkey/monkey.py --program build-asan/bin/vorpane \
        --display auto --seed "$seed" --seconds "$seconds" </dev/null
    done < <(sed -e '/^#/d' -e '/^ *$/d' tools/monkey/seeds.txt)
    # New input for each commit, the same for a rerun of it: a failure replays with the seed printed.
    seed=$((0x$(git rev-parse --short=7 HEAD 2>/dev/null || echo 1)))
    python3 tools/monkey/monkey.py --program build-asan/bin/vorpane --display auto --seconds 120 \
      --seed "$seed" </dev/null
    echo "test.sh: monkey done at $((SECONDS - started)) s"
  fi
fi
