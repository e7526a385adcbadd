#!/bin/sh
# Demo of the album search without the online service: serves the bundled sample catalogue
# (data/catalogue) with tagwright-catalogue on a free loopback port, runs
# "tagwright-cli search" against it and prints the albums found as JSON.
# Builds nothing; build first (cmake --preset default && cmake --build --preset default).
#   scripts/demo-search.sh                       searches for "Northern Lights"
#   scripts/demo-search.sh --store com Kestrel Road
# TAGWRIGHT_BUILD_DIR chooses another build folder (default: build).
set -eu
cd "$(dirname "$0")/.."
bin="${TAGWRIGHT_BUILD_DIR:-build}/bin"
for program in tagwright-catalogue tagwright-cli; do
  if [ ! -x "$bin/$program" ]; then
    echo "demo-search: $bin/$program is missing; build the project first" >&2
    exit 1
  fi
done
[ $# -gt 0 ] || set -- Northern Lights

work=$(mktemp -d)
"$bin/tagwright-catalogue" --root data/catalogue --port 0 >"$work/server" &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -rf "$work"' EXIT
trap 'exit 130' INT TERM

# The service prints "listening on 127.0.0.1:PORT" as soon as it serves.
host=""
tries=0
while [ -z "$host" ]; do
  host=$(sed -n 's/^listening on //p' "$work/server")
  if [ -z "$host" ]; then
    if ! kill -0 "$server" 2>/dev/null || [ "$tries" -ge 300 ]; then
      echo "demo-search: tagwright-catalogue did not start" >&2
      exit 1
    fi
    tries=$((tries + 1))
    sleep 0.1
  fi
done

# All four storefronts point at the local service; the user's own settings and credentials
# stay out of it, so the service's default credentials match.
env -u TAGWRIGHT_ACCESS_KEY -u TAGWRIGHT_SECRET_KEY \
  XDG_CONFIG_HOME="$work/config" \
  TAGWRIGHT_HOST_DE="$host" TAGWRIGHT_HOST_COM="$host" \
  TAGWRIGHT_HOST_CO_UK="$host" TAGWRIGHT_HOST_FR="$host" \
  "$bin/tagwright-cli" search "$@"
