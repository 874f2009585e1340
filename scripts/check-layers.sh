#!/usr/bin/env bash
# Fails when a desktop folder includes a header of a folder above it, or when the two folders of
# the same height include each other. The layers, lowest first (src/CMakeLists.txt links them in
# this order):
#   docview   the document/view framework, the desk interface, commands, cursors, resources
#   widgets   small shared windows
#   dialogs | wizard   (side by side: neither includes the other)
#   documents the document types with their views and commands
#   shell     start-up, the main window and what only it uses
# The core below them (platform ... sheet) never includes any of them.
set -euo pipefail
cd "$(dirname "$0")/../src"
declare -A level=([docview]=0 [widgets]=1 [dialogs]=2 [wizard]=2 [documents]=3 [shell]=4)
core="platform script rules investigator image sheet cli"
bad=0
for dir in "${!level[@]}" $core; do
  [ -d "$dir" ] || continue
  mine=${level[$dir]:--1}
  while IFS=: read -r file line target; do
    folder=${target%%/*}
    theirs=${level[$folder]:-}
    [ -n "$theirs" ] || continue
    if [ "$folder" != "$dir" ] && { [ "$mine" -lt 0 ] || [ "$theirs" -ge "$mine" ]; }; then
      echo "layer break: $dir/${file#"$dir"/}:$line includes $target"
      bad=1
    fi
  done < <(grep -rnoE '#include "[a-z_]+/[a-z_0-9]+\.h"' "$dir" | sed -E 's/:#include "([^"]+)"/:\1/')
done
if [ "$bad" = 0 ]; then
  echo "check-layers: no desktop folder includes one above it"
fi
exit "$bad"
