#!/usr/bin/env bash
# Installs the build into an empty folder and checks what a Linux desktop reads
# there: the .desktop entry and the AppStream metainfo pass their validators,
# and the icon the entry names is in the hicolor theme at every size.
#
# Usage: installed_files.sh <cmake executable> <build folder>
set -euo pipefail

cmake=$1
build=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$cmake" --install "$build" --prefix "$prefix" >/dev/null
share=$prefix/share
[[ -x $prefix/bin/tavlo ]] || fail "no bin/tavlo"

desktop=$share/applications/tavlo.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate: $desktop"
# The project owns no domain to build a reverse-DNS id from; the plain id is
# the only remark allowed.
appstreamcli validate --no-net --override=cid-desktopapp-is-not-rdns=info \
  "$share/metainfo/tavlo.metainfo.xml" || fail "appstreamcli validate"

icon=$(sed -n 's/^Icon=//p' "$desktop")
for size in 16 32 48 256; do
  png=$share/icons/hicolor/${size}x${size}/apps/$icon.png
  [[ -f $png ]] || fail "missing $png"
  # Width and height from the PNG header, big-endian at bytes 16 and 20.
  read -r -a header < <(od -An -tu1 -j16 -N8 "$png")
  width=$(( header[2] * 256 + header[3] ))
  height=$(( header[6] * 256 + header[7] ))
  [[ $width == "$size" && $height == "$size" ]] || fail "$png is ${width}x$height"
done
[[ -f $share/icons/hicolor/scalable/apps/$icon.svg ]] || fail "no scalable icon"
echo "installed files OK"
