#!/usr/bin/env bash
# Checks the files of data/ that the program reads from its folder.
#  - Every rule, list and spell-book file is Windows-1252 text with CR LF line ends: no bare CR or
#    LF, no NUL, a line end after the last line, and not accidentally saved as UTF-8.
#  - List entries carry no trailing blanks (list files are not trimmed when read).
#  - With a built vorpane-cli (argument 1, default build/bin/vorpane-cli): every rule file loads
#    without a single message, every occupation's modifier script parses behind the rule file's
#    GLOBAL_SCRIPT exactly as the wizard joins them, and the INCOME script runs for the three eras;
#    every spell book reads without a message and shows at least one node.
# Usage: scripts/check-data.sh [VORPANE_CLI]
set -uo pipefail
export LC_ALL=C
cd "$(dirname "$0")/.."

cli=${1:-build/bin/vorpane-cli}
failures=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The shipped files alone: a user's own data folder must not hide any of them.
export XDG_DATA_HOME="$work/user-data"

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# The lines of one section (first _BEGIN marker, case-insensitive), CR LF kept.
section() {
  awk -v name="$2" '
    BEGIN { b = toupper("_BEGIN " name); e = toupper("_END " name) }
    !on && index(toupper($0), b) == 1 { on = 1; next }
    on && index(toupper($0), e) == 1 { exit }
    on { print }' "$1"
}

check_encoding() {
  local f=$1
  if [ "$(tr -d '\000' <"$f" | wc -c)" != "$(wc -c <"$f")" ]; then fail "$f: NUL byte"; fi
  if [ "$(tail -c 2 "$f" | od -An -tx1 | tr -d ' ')" != "0d0a" ]; then fail "$f: no CR LF after the last line"; fi
  local bad
  bad=$(grep -c -v $'\r$' "$f")
  if [ "$bad" != 0 ]; then fail "$f: $bad line(s) end without CR"; fi
  bad=$(grep -c $'\r.' "$f")
  if [ "$bad" != 0 ]; then fail "$f: $bad line(s) hold a bare CR"; fi
  if ! iconv -f WINDOWS-1252 -t UTF-8 "$f" >/dev/null 2>&1; then fail "$f: bytes undefined in Windows-1252"; fi
  if grep -q -P '[\x80-\xff]' "$f" && iconv -f UTF-8 -t UTF-8 "$f" >/dev/null 2>&1; then
    fail "$f: looks like UTF-8, not Windows-1252"
  fi
}

for f in data/*.rul data/*.lst data/*.vsb; do
  [ -e "$f" ] || continue
  check_encoding "$f"
done

for f in data/*.lst; do
  [ -e "$f" ] || continue
  bad=$(grep -c -E $'[ \t]\r$' "$f")
  if [ "$bad" != 0 ]; then fail "$f: $bad entr(y/ies) with trailing blanks"; fi
done

if [ ! -x "$cli" ]; then
  echo "no vorpane-cli at $cli: skipped the load and script checks"
  [ "$failures" = 0 ] && echo "data files: encoding OK" && exit 0
  exit 1
fi

for rul in data/*.rul; do
  name=$(basename "$rul")
  out=$("$cli" --data data rules "$name" 2>&1)
  status=$?
  if [ $status != 0 ] || grep -q '^\[' <<<"$out"; then
    fail "$name: the load printed messages or failed (status $status):"
    grep '^\[' <<<"$out" | head -20
  fi

  # Modifier scripts: GLOBAL_SCRIPT, two line breaks, the script. A "return" in between keeps the
  # run from reaching the occupation's script, which needs the investigator object.
  section "$rul" GLOBAL_SCRIPT >"$work/global.txt"
  section "$rul" OCCUPATIONS | tr -d '\r' | awk '
    /^[ \t]*"/ && match($0, /\)[ \t]+[-x][-x]?[-x]?[ \t]+\{/) {
      name = $0; sub(/^[ \t]*"/, "", name); sub(/".*/, "", name)
      script = substr($0, RSTART + RLENGTH); sub(/\}[ \t]*(\/\/.*)?$/, "", script)
      print name "\t" script
    }' >"$work/scripts.txt"
  count=0
  while IFS=$'\t' read -r occupation script; do
    count=$((count + 1))
    { cat "$work/global.txt"; printf '\r\n\r\nreturn 0;\r\n%s' "$script"; } >"$work/modifier.vsc"
    if ! out=$("$cli" --data data run "$work/modifier.vsc" 2>&1) || grep -q '^\[' <<<"$out"; then
      fail "$name: modifier script of $occupation does not parse:"
      echo "$out" | head -5
    fi
  done <"$work/scripts.txt"
  echo "$name: $count modifier scripts checked"

  if [ -n "$(section "$rul" INCOME)" ]; then
    for era in 1890 1920 1990; do
      { printf 'var era = %s, income = "";\r\n' "$era"; section "$rul" INCOME
        printf '\r\noutput.write("income:" + income);\r\n'; } >"$work/income.vsc"
      if ! out=$("$cli" --data data --seed "$era" run "$work/income.vsc" 2>&1) || grep -q '^\[' <<<"$out"; then
        fail "$name: INCOME script fails for era $era:"
        echo "$out" | head -5
      else
        echo "$name: $era $(grep '^income:' <<<"$out" | tail -1)"
      fi
    done
  fi
done

for vsb in data/*.vsb; do
  [ -e "$vsb" ] || continue
  out=$("$cli" --data data spells "$vsb" 2>&1)
  status=$?
  if [ $status != 0 ] || grep -q '^\[' <<<"$out" || ! grep -q '^  ' <<<"$out"; then
    fail "$(basename "$vsb"): the spell book printed messages, failed or is empty (status $status):"
    echo "$out" | head -5
  else
    echo "$(basename "$vsb"): $(grep -c '^  ' <<<"$out") nodes"
  fi
done

if [ "$failures" != 0 ]; then
  echo "$failures problem(s) in the data files"
  exit 1
fi
echo "data files: OK"
