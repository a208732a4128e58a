#!/usr/bin/env bash
# Starts the desktop program. Without a display (a server or CI shell) it runs
# under a virtual X server so that `make run` still works.
set -euo pipefail
program="$1"
shift
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ] || [ -n "${QT_QPA_PLATFORM:-}" ]; then
  exec "$program" "$@"
fi
echo "No display found: running under a virtual X server (xvfb-run)." >&2
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$program" "$@"
