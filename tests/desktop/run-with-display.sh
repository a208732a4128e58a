#!/usr/bin/env bash
# Runs a desktop test program with a display: the current one, or a virtual X
# server. Exits 77 (skipped) with a clear message when no display can be had.
set -u
program="$1"
shift
if [ -n "${DISPLAY:-}" ]; then
  exec "$program" "$@"
fi
if command -v xvfb-run >/dev/null 2>&1; then
  # The tests of the window's frame and zoom look at a bare X server like this one.
  export DOVETAIL_BARE_X_SERVER=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$program" "$@"
fi
echo "SKIPPED: no display and no xvfb-run; the desktop host tests need one." >&2
exit 77
