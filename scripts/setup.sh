#!/bin/sh
# Installs every Debian 12 package that building, testing and benchmarking Tagwright needs.
# Idempotent: when everything is present it only checks and returns.
set -eu

PACKAGES="build-essential cmake ninja-build pkg-config git
qt6-base-dev qt6-base-dev-tools libgl-dev fonts-dejavu-core
libtag1-dev libcurl4-openssl-dev libpugixml-dev libcpp-httplib-dev libssl-dev
libgtest-dev libgmock-dev libbenchmark-dev
python3 python3-mutagen"

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done

if [ -z "$missing" ]; then
  echo "setup: all packages present"
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "setup: missing packages:$missing" >&2
  echo "setup: run this script as root (or with sudo) to install them" >&2
  exit 1
fi

echo "setup: installing$missing"
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
# shellcheck disable=SC2086
apt-get install -y -q --no-install-recommends $missing
