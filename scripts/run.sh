#!/bin/sh
# Installs what is missing, builds, and starts the Tagwright window. Without configured
# service credentials the window searches the bundled demo catalogue. On a machine without
# a display it runs the same demo search from the command line instead.
set -eu
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default

if [ -x build/bin/tagwright ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }; then
  exec build/bin/tagwright "$@"
fi
echo "run: no display found; running a demo search against the bundled catalogue instead" >&2
if [ -x build/bin/tagwright ]; then
  echo "run: to look at the window without a display:" >&2
  echo "     QT_QPA_PLATFORM=offscreen build/bin/tagwright --demo --screenshot window.png" >&2
fi
exec ./scripts/demo-search.sh
