#!/usr/bin/env bash
# Installs with apt-get whatever of Tavlo's build and test dependencies is
# missing, and any further packages given as arguments. Does nothing when
# everything is there.
set -euo pipefail

packages=(
  cmake make g++ pkg-config clang-format clang-tidy
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev nlohmann-json3-dev
  fonts-morisawa-bizud-gothic fonts-ipafont-gothic fonts-noto-cjk
  xvfb xauth xdotool x11-utils imagemagick openbox
  dbus-daemon python3-dbus python3-gi at-spi2-core
  desktop-file-utils appstream
  "$@"
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
