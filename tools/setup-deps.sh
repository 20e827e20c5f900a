#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need.
# Quick when everything is present: only missing packages go to apt-get.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-image-formats-plugins libqt6svg6 qt6-translations-l10n
  libharfbuzz-dev libcurl4-openssl-dev
  fonts-ipafont fonts-ipaexfont fontconfig
  fonts-morisawa-bizud-mincho fonts-morisawa-bizud-gothic fonts-ipamj-mincho
  fonts-klee fonts-kouzan-mouhitsu
  poppler-utils xvfb xauth imagemagick
  cups cups-bsd printer-driver-cups-pdf
  python3 python3-aiosmtpd dovecot-pop3d zint tinyproxy openssl
  radicale python3-vobject qpdf lintian appstream
  desktop-file-utils shared-mime-info xdg-utils libfile-mimeinfo-perl file binutils dpkg-dev
  libzip-dev debootstrap
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
