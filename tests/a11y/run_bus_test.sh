#!/bin/sh
# Runs read_sheet.py against the program as a screen reader meets it: a virtual X display of its
# own, a private D-Bus session with the AT-SPI bus and registry started on demand, and the
# program's accessibility forced on. Exits 77 (skipped) when a piece of that is not installed.
# Usage: run_bus_test.sh VORPANE INVESTIGATOR.inv
set -u
program=$1
investigator=$2
here=$(dirname "$0")

skip() {
  echo "SKIP: $1"
  exit 77
}
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || skip "pyatspi is not installed (Debian: python3-pyatspi)"
[ -x /usr/libexec/at-spi-bus-launcher ] || skip "the AT-SPI bus and registry are not installed (Debian: at-spi2-core)"
command -v dbus-run-session >/dev/null || skip "dbus-run-session is not installed (Debian: dbus)"
command -v Xvfb >/dev/null || skip "Xvfb is not installed (Debian: xvfb)"

work=$(mktemp -d)
xvfb=
cleanup() {
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
cp "$investigator" "$work/" || exit 1
# The single-instance socket and the buses' files stay in the run's own folder.
mkdir -m 700 "$work/run"
export XDG_RUNTIME_DIR="$work/run"

# Xvfb picks a free display and writes its number when it is ready.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || { echo "FAIL: Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }

DISPLAY=":$(cat "$work/display")" QT_QPA_PLATFORM=xcb \
  dbus-run-session -- /usr/bin/python3 "$here/read_sheet.py" "$program" \
  "$work/$(basename "$investigator")" "$work" 2>"$work/session.log"
status=$?
[ $status -eq 0 ] || [ $status -eq 77 ] || { grep -v dbus-daemon "$work/session.log" | tail -20; tail -5 "$work/xvfb.log"; }
exit $status
