#!/usr/bin/env bash
# Fails when a C++ file of the tree does not match .clang-format. The style is clang-format 14's,
# as Debian ships it: another version formats some constructs differently, so it is not used.
# Fix a file with: clang-format -i FILE
set -euo pipefail
cd "$(dirname "$0")/.."
format=$(command -v clang-format-14 || command -v clang-format || true)
if [ -z "$format" ]; then
  echo "check-format: clang-format 14 is not installed (scripts/deps.sh installs it)" >&2
  exit 1
fi
if ! "$format" --version | grep -q 'version 14\.'; then
  echo "check-format: $("$format" --version) is not clang-format 14" >&2
  exit 1
fi
mapfile -d '' files < <(git ls-files -z -- '*.cpp' '*.h')
# No file to check is a fault of the check (run outside the repository, or git missing), never a pass.
if [ "${#files[@]}" = 0 ]; then
  echo "check-format: found no C++ file to check" >&2
  exit 1
fi
# One process for all files (one each took most of a minute); it names each file that differs.
report=$("$format" --dry-run --Werror --ferror-limit=1 "${files[@]}" 2>&1) && status=0 || status=$?
bad=$(grep -oE '^[^:]+:[0-9]+:[0-9]+: error: code should be clang-formatted' <<<"$report" | cut -d: -f1 | sort -u || true)
if [ -n "$bad" ]; then
  while IFS= read -r file; do
    echo "not formatted: $file (clang-format -i $file)"
  done <<<"$bad"
  exit 1
fi
if [ "$status" != 0 ]; then
  # Failed without naming a file: an unreadable file or a clang-format fault.
  echo "$report" >&2
  exit 1
fi
echo "check-format: all ${#files[@]} C++ files match .clang-format"
