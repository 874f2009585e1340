#!/bin/sh
# The manual pages format without a warning, and name every option and command that the programs'
# own usage texts list.
# Usage: check-man-pages.sh MAN_DIR BIN_DIR
set -u
man_dir=$1
bin_dir=$2
status=0
for page in "$man_dir/vorpane.1" "$man_dir/vorpane-cli.1"; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    if [ -n "$warnings" ]; then
        echo "$page: $warnings"
        status=1
    fi
done
# Options (--name, -x) and, for the CLI, the commands that begin its usage lines.
check() {
    page=$1
    shift
    text=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$man_dir/$page" 2>/dev/null)
    for name in "$@"; do
        if ! printf '%s\n' "$text" | grep -q -e "$name"; then
            echo "$page does not name $name"
            status=1
        fi
    done
}
help=$(QT_QPA_PLATFORM=offscreen "$bin_dir/vorpane" --help)
check vorpane.1 $(printf '%s\n' "$help" | grep -o -e '--[a-z-]*' -e ' -[a-z],' | tr -d ' ,' | sort -u)
help=$("$bin_dir/vorpane-cli" --help)
check vorpane-cli.1 $(printf '%s\n' "$help" | grep -o -e '--[a-z-]*' | sort -u) \
    $(printf '%s\n' "$help" | sed -n 's/^  \([a-z-]*\).*/\1/p')
[ $status -eq 0 ] && echo "check-man-pages: both pages format cleanly and name every option and command"
exit $status
