#!/usr/bin/env bash
# Installs with apt-get whatever is missing of the package sets named as
# arguments, and does nothing when everything is there:
#   run      building and running Tavlo (the default)
#   test     run, and the tests, the benchmarks and the lint
#   windows  run, and the Windows build, its runs under Wine and its zip
#   package  run, and the Debian package
set -euo pipefail

run=(
  cmake make g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  fonts-morisawa-bizud-gothic fonts-ipafont-gothic fonts-noto-cjk qt6-translations-l10n
)
test=(
  clang-format clang-tidy
  libgtest-dev libgmock-dev googletest libbenchmark-dev nlohmann-json3-dev
  xvfb xauth xdotool x11-utils imagemagick openbox
  dbus-daemon python3-dbus python3-gi at-spi2-core
  desktop-file-utils appstream
  dpkg-dev lintian passwd
)
windows=(
  g++-mingw-w64-x86-64 g++-mingw-w64-x86-64-posix wine wine64 googletest
  ninja-build dpkg-dev python3
  xvfb xauth xdotool x11-utils imagemagick openbox
)
package=(dpkg-dev)

packages=("${run[@]}")
for set in "$@"; do
  case $set in
    run) ;;
    test) packages+=("${test[@]}") ;;
    windows) packages+=("${windows[@]}") ;;
    package) packages+=("${package[@]}") ;;
    *)
      echo "install-deps.sh: no package set \"$set\" (run, test, windows, package)" >&2
      exit 2
      ;;
  esac
done

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0
mapfile -t missing < <(printf '%s\n' "${missing[@]}" | sort -u)

echo "Installing: ${missing[*]}"
sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
