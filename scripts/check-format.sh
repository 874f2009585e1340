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
bad=0
while IFS= read -r -d '' file; do
  if ! "$format" --dry-run --Werror --ferror-limit=1 "$file" >/dev/null 2>&1; then
    echo "not formatted: $file (clang-format -i $file)"
    bad=1
  fi
done < <(git ls-files -z -- '*.cpp' '*.h')
if [ "$bad" = 0 ]; then
  echo "check-format: every C++ file matches .clang-format"
fi
exit "$bad"
