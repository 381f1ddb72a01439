#!/usr/bin/env bash
# Installs what Vantrel's build and tests need from Debian's packages, or, given package
# names, those packages. Safe to run again: packages that are already there are skipped.
# It reports on standard error, so the output of the scripts that call it stays theirs.
set -euo pipefail
exec >&2

packages=(
  build-essential cmake pkg-config
  qt6-base-dev libgl-dev
  libgtest-dev libgmock-dev
  zlib1g-dev libicu-dev libdbus-1-dev
  libxcb1-dev fonts-dejavu-core
  xvfb xauth imagemagick
  iproute2 util-linux procps dbus-daemon
)
[ $# -gt 0 ] && packages=("$@")

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  [ $# -gt 0 ] || echo "setup: everything is installed"
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "setup: installing ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
