#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds everything and runs all tests; then
# builds the core with AddressSanitizer and UndefinedBehaviorSanitizer and runs its tests and the
# fuzz corpus replays.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
# First, so that a badly formatted file fails the run before any build.
./scripts/check-format.sh
jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j"$jobs"

if [ "${VORPANE_SKIP_SANITIZERS:-0}" != 1 ]; then
  cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVORPANE_SANITIZE=ON -DVORPANE_CORE_ONLY=ON
  cmake --build build-asan -j"$jobs"
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    QT_QPA_PLATFORM=offscreen ctest --test-dir build-asan --output-on-failure -j"$jobs"
fi
