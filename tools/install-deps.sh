#!/usr/bin/env bash
# Installs the Debian packages Tradumar needs to build, test and run.
# Quiet and quick when everything is already there; uses apt-get otherwise.
set -euo pipefail

PACKAGES=(
  qt6-base-dev qt6-translations-l10n cmake g++ make libgtest-dev libgmock-dev libbenchmark-dev
  libhunspell-dev hunspell-es zlib1g-dev libicu-dev libcli11-dev
  xvfb xauth imagemagick
  fonts-dejavu-core fonts-liberation fonts-bebas-neue fonts-ipafont-gothic
  clang libclang-rt-14-dev
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
