#!/bin/sh
# Installs what building, testing and running Orvane need on Debian 12.
# Runs apt-get only when something is missing (as root, or through sudo).
set -eu

packages="cmake ninja-build g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
mingw-w64-x86-64-dev googletest wine wine64 libwine fonts-wine xvfb xauth
x11-utils imagemagick python3 clang libclang-rt-14-dev util-linux nlohmann-json3-dev iproute2
curl prometheus prometheus-node-exporter"

missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing" >&2
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
# No policy-rc.d is needed for Prometheus's packages: with no init system running, invoke-rc.d starts no service
# (tried on Debian 12 with systemd installed but not running); where one runs, the tests use ports of their own.
$SUDO apt-get update
# shellcheck disable=SC2086
$SUDO apt-get install -y --no-install-recommends $missing
