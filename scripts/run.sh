#!/bin/sh
# Installs what is missing, builds, and starts the Tagwright window. Without configured
# service credentials the window searches the bundled demo catalogue. On a machine without
# a display it runs the same demo search from the command line instead.
set -eu
cd "$(dirname "$0")/.."
./scripts/setup.sh
# Only the programs this script starts: the tests and benchmarks are for CI and development.
echo "run: configuring the build (build/)" >&2
cmake --preset default >/dev/null
echo "run: building tagwright, tagwright-cli and tagwright-catalogue (a few minutes the first time)" >&2
cmake --build --preset default --target tagwright tagwright-cli tagwright-catalogue

if [ -x build/bin/tagwright ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }; then
  exec build/bin/tagwright "$@"
fi
echo "run: no display found; running a demo search against the bundled catalogue instead" >&2
if [ -x build/bin/tagwright ]; then
  echo "run: to look at the window without a display:" >&2
  echo "     QT_QPA_PLATFORM=offscreen build/bin/tagwright --demo --screenshot window.png" >&2
fi
exec ./scripts/demo-search.sh
