#!/bin/sh
# Runs a command as a screen reader meets the program: on a virtual X display of its own, in a
# private D-Bus session where the AT-SPI bus and registry start on demand, with Qt's accessibility
# forced on. Exits 77 (skipped) when a piece of that is not installed.
# Usage: on_bus.sh COMMAND [ARGUMENT...]
set -u

skip() {
  echo "SKIP: $1"
  exit 77
}
[ -x /usr/libexec/at-spi-bus-launcher ] || skip "the AT-SPI bus and registry are not installed (Debian: at-spi2-core)"
command -v dbus-run-session >/dev/null || skip "dbus-run-session is not installed (Debian: dbus)"
command -v Xvfb >/dev/null || skip "Xvfb is not installed (Debian: xvfb)"

work=$(mktemp -d)
xvfb=
cleanup() {
  # Gone before the next run takes its display number: a server still closing would remove the
  # socket of the next one.
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb"
  rm -rf "$work"
}
trap cleanup EXIT
# The single-instance socket and the buses' files stay in the run's own folder.
mkdir -m 700 "$work/run"
export XDG_RUNTIME_DIR="$work/run"

# A display number of its own, far above the ones other servers take first (servers choosing a
# number at once race for the lowest); Xvfb writes it when it is ready, or ends when it is taken.
display=
for _ in 1 2 3 4 5 6 7 8 9 10; do
  n=$((200 + $(od -An -N2 -tu2 /dev/urandom) % 700))
  [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
  : >"$work/display"
  # -noreset: a server resetting after its last client (the bus launcher) refuses the next one.
  Xvfb ":$n" -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb=$!
  for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    kill -0 "$xvfb" 2>/dev/null || break
    sleep 0.1
  done
  if [ -s "$work/display" ]; then
    display=$n
    break
  fi
  kill "$xvfb" 2>/dev/null && wait "$xvfb"
  xvfb=
done
[ -n "$display" ] || { echo "FAIL: Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }

DISPLAY=":$display" QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 \
  dbus-run-session -- sh -c '
    # Qt joins the accessibility bus only once it runs: asking for its address starts it.
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null
    exec "$@"' on_bus "$@" 2>"$work/session.log"
status=$?
[ $status -eq 0 ] || [ $status -eq 77 ] || { grep -v dbus-daemon "$work/session.log" | tail -20; tail -5 "$work/xvfb.log"; }
exit $status
