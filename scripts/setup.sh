#!/bin/sh
# Installs the Debian packages corekit needs to build, test and benchmark.
# Idempotent: packages already present are left alone, and apt is only
# called when something is missing.
set -eu

packages="g++ cmake ninja-build pkg-config libxml2-dev libsqlite3-dev sqlite3
libcurl4-openssl-dev libgtest-dev libgmock-dev libbenchmark-dev python3"

missing=""
for p in $packages; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done

if [ -n "$missing" ]; then
  echo "setup: installing$missing"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q
  # shellcheck disable=SC2086
  $SUDO apt-get install -y -q --no-install-recommends $missing
fi
