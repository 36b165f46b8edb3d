#!/usr/bin/env bash
# Builds the Debian package dist/tavlo_<version>_<architecture>.deb:
#
#   scripts/package-deb.sh [build folder] [dist folder]     (build-deb, dist)
#
# The program built with Debian's build flags (hardening included) and
# installed under /usr: the program, the mark of an installed program (each
# account then keeps its drawing in ~/.config/tavlo), the desktop entry, the
# AppStream metainfo, the icons, the manual page, and the copyright file and
# changelog Debian expects. The libraries it depends on are found by
# dpkg-shlibdeps; besides them it depends on Qt's platform plugins, Qt's
# Japanese translation and the faces. Install with
# `apt-get install ./dist/tavlo_<version>_<architecture>.deb`.
#
#   TAVLO_DEB_MAINTAINER   the Maintainer field, "Name <address>" (default: the
#                          author of the last commit)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build-deb}
dist=${2:-dist}
scripts/install-deps.sh package

version=$(sed -n 's/^project(Tavlo VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
release_date=$(sed -n "s/.*<release version=\"$version\" date=\"\\([0-9-]*\\)\".*/\\1/p" app/tavlo.metainfo.xml)
[[ -n $release_date ]] || { echo "app/tavlo.metainfo.xml has no release $version" >&2; exit 1; }
arch=$(dpkg --print-architecture)
maintainer=${TAVLO_DEB_MAINTAINER:-$(git log -1 --format='%an <%ae>')}
# The same bytes from the same commit: file times and the changelog's date.
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}

# Debian's flags for a package, every hardening feature on.
flags() { DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1"; }
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=None -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_CXX_FLAGS="$(flags CPPFLAGS) $(flags CXXFLAGS)" -DCMAKE_EXE_LINKER_FLAGS="$(flags LDFLAGS)" \
  -DTAVLO_BUILD_TESTS=OFF -DTAVLO_BUILD_BENCH=OFF -DTAVLO_LINT=OFF >/dev/null
cmake --build "$build" --parallel "${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}" --target tavlo

# dpkg-shlibdeps wants the package's files in debian/<package>/, with its
# DEBIAN/, of a folder with a debian/control.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/debian/tavlo
DESTDIR=$root cmake --install "$build" >/dev/null
strip --remove-section=.comment --remove-section=.note "$root/usr/bin/tavlo"
doc=$root/usr/share/doc/tavlo
mkdir -p "$doc"
cp app/debian/copyright "$doc/copyright"
{
  echo "tavlo ($version) unstable; urgency=medium"
  echo
  echo "  * Tavlo $version."
  echo
  echo " -- $maintainer  $(date -u -R -d "$release_date")"
} | gzip -9n >"$doc/changelog.gz"
gzip -9n "$root"/usr/share/man/man1/*.1
find "$root" -type d -exec chmod 0755 {} + && find "$root" -type f -exec chmod 0644 {} +
chmod 0755 "$root"/usr/bin/*

mkdir -p "$root/DEBIAN"
printf 'Source: tavlo\n\nPackage: tavlo\nArchitecture: any\n' >"$work/debian/control"
shlibs=$(cd "$work" && dpkg-shlibdeps -O "debian/tavlo/usr/bin/tavlo" | sed -n 's/^shlibs:Depends=//p')
# The program's faces, in the order it looks for them.
faces="fonts-morisawa-bizud-gothic | fonts-ipafont-gothic | fonts-noto-cjk"
(cd "$root" && find usr -type f -printf '%P\0' | sort -z | xargs -0 -I{} md5sum usr/{}) >"$root/DEBIAN/md5sums"
cat >"$root/DEBIAN/control" <<CONTROL
Package: tavlo
Version: $version
Architecture: $arch
Maintainer: $maintainer
Installed-Size: $(du -sk --exclude=DEBIAN "$root" | cut -f1)
Depends: $shlibs, qt6-qpa-plugins, qt6-translations-l10n, $faces, python3
Section: utils
Priority: optional
Description: lottery drawing with a spinning three-digit display
 Tavlo draws whole numbers at random from a range set in its window (0 to
 999, such as the tickets of a raffle) and never draws the same number
 twice. Each number is shown in a large three-digit display after a spin,
 the numbers drawn are listed in order, and every draw is saved at once, so
 a drawing goes on after a restart or a crash. The interface is in Japanese.
 .
 Each account keeps its own drawing in ~/.config/tavlo/Tavlo.ini.
CONTROL

mkdir -p "$dist"
deb=$dist/tavlo_${version}_$arch.deb
dpkg-deb --root-owner-group -Zxz --build "$root" "$deb" >/dev/null
echo "$deb: $(du -k "$deb" | cut -f1) KB"
