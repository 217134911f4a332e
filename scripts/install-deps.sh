#!/bin/sh
# Installs the Debian 12 packages the build, tests and demo need (as root);
# packages already installed are skipped, and nothing is fetched when all are.
set -eu

packages="g++ cmake make pkg-config python3 \
  libxerces-c-dev libzip-dev libcurl4-openssl-dev uuid-dev \
  libgtest-dev libgmock-dev libbenchmark-dev \
  zip unzip libxml2-utils media-types"

missing=""
for p in $packages; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done

if [ -n "$missing" ]; then
  echo "Installing:$missing"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  # shellcheck disable=SC2086
  apt-get install -y -qq --no-install-recommends $missing
fi
