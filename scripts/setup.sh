#!/usr/bin/env bash
# Installs every Debian package the project needs. Idempotent: quick when all is there,
# `apt-get update` only when something is missing.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-svg-dev qt6-translations-l10n
  libqcustomplot-dev
  libeigen3-dev
  libgtest-dev libgmock-dev googletest
  fonts-liberation
  xvfb xauth imagemagick poppler-utils
  clang-14 libclang-rt-14-dev clang-format
  desktop-file-utils appstream shared-mime-info dpkg-dev man-db
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
