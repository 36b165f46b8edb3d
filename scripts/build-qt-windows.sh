#!/usr/bin/env bash
# Builds Qt for 64-bit Windows with mingw-w64 from Debian's own qtbase source
# (the same version as the host's qt6-base-dev, whose tools the cross build
# uses) and installs it into a cache outside the repository, keyed by version:
#
#   ${XDG_CACHE_HOME:-$HOME/.cache}/tavlo/qt-<version>-mingw64-<features>
#
# (<features>: a short hash of the configuration below, so a change to it
# builds afresh.) Does nothing when that cache is complete. Only what Tavlo
# and its tests use is built: Core, Gui, Widgets and Test, the windows and
# offscreen platform plugins and the windowsvista style, without the modules,
# plugins, widgets and features the program never touches. Qt's licence
# texts and a note naming the source go into the cache with it.
# Prints the cache folder on standard output and nothing else there; the
# progress goes to standard error.
#
#   TAVLO_QT_JOBS   parallel compile jobs (default 2)
set -euo pipefail
cd "$(dirname "$0")/.."
exec 3>&1 1>&2

jobs=${TAVLO_QT_JOBS:-2}
cache_root=${XDG_CACHE_HOME:-$HOME/.cache}/tavlo

host_version=$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || true)
if [[ -z "$host_version" ]]; then
  scripts/install-deps.sh run
  host_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
fi
qt_version=${host_version%%+*}           # 6.4.2+dfsg-10 -> 6.4.2

# The configuration. Bundled third-party libraries throughout (no system
# library of the build machine can go into the zip); freetype for the
# offscreen platform the window tests run on; no image format plugins (the
# icons are PNG, which Gui reads itself), and none of the modules, widgets,
# dialogs and Core features that the program and its tests never use. Each
# one off is compile time saved on every cold build. Direct2D stays on: the
# windows platform draws text through DirectWrite when the display is scaled.
features=(
  -DCMAKE_BUILD_TYPE=Release
  -DQT_HOST_PATH=/usr
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
  -DQT_QMAKE_TARGET_MKSPEC=win32-g++
  -DBUILD_SHARED_LIBS=ON
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF
  -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF
  -DFEATURE_system_doubleconversion=OFF -DFEATURE_system_jpeg=OFF -DFEATURE_freetype=ON
  # Modules and plugins
  -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF -DINPUT_opengl=no
  -DFEATURE_vulkan=OFF -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF
  -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_ico=OFF
  # Widgets and dialogs
  -DFEATURE_graphicsview=OFF -DFEATURE_graphicseffect=OFF -DFEATURE_mdiarea=OFF -DFEATURE_dockwidget=OFF
  -DFEATURE_calendarwidget=OFF -DFEATURE_datetimeedit=OFF -DFEATURE_dial=OFF -DFEATURE_lcdnumber=OFF
  -DFEATURE_splashscreen=OFF -DFEATURE_keysequenceedit=OFF -DFEATURE_toolbox=OFF -DFEATURE_undoview=OFF
  -DFEATURE_columnview=OFF -DFEATURE_commandlinkbutton=OFF -DFEATURE_syntaxhighlighter=OFF
  -DFEATURE_textbrowser=OFF -DFEATURE_scroller=OFF -DFEATURE_fontcombobox=OFF
  -DFEATURE_datawidgetmapper=OFF -DFEATURE_colordialog=OFF -DFEATURE_fontdialog=OFF -DFEATURE_filedialog=OFF
  -DFEATURE_wizard=OFF -DFEATURE_errormessage=OFF -DFEATURE_progressdialog=OFF
  # Gui
  -DFEATURE_undocommand=OFF -DFEATURE_undostack=OFF -DFEATURE_undogroup=OFF -DFEATURE_textodfwriter=OFF
  -DFEATURE_textmarkdownreader=OFF -DFEATURE_textmarkdownwriter=OFF -DFEATURE_pdf=OFF -DFEATURE_movie=OFF
  -DFEATURE_systemtrayicon=OFF -DFEATURE_sessionmanager=OFF
  # Core
  -DFEATURE_mimetype=OFF -DFEATURE_xmlstream=OFF -DFEATURE_xmlstreamreader=OFF -DFEATURE_xmlstreamwriter=OFF
  -DFEATURE_timezone=OFF -DFEATURE_datetimeparser=OFF -DFEATURE_jalalicalendar=OFF -DFEATURE_hijricalendar=OFF
  -DFEATURE_islamiccivilcalendar=OFF -DFEATURE_sharedmemory=OFF -DFEATURE_systemsemaphore=OFF
  -DFEATURE_filesystemwatcher=OFF -DFEATURE_commandlineparser=OFF -DFEATURE_transposeproxymodel=OFF
  -DFEATURE_concatenatetablesproxymodel=OFF -DFEATURE_identityproxymodel=OFF
  -DFEATURE_gestures=OFF
)
# The platform plugin that draws through Direct2D is left out of the build
# (below), which the hash takes in too.
config_hash=$(printf '%s\n' "${features[@]}" "no qdirect2d" | sha256sum | cut -c1-8)
prefix=$cache_root/qt-$qt_version-mingw64-$config_hash
work=$cache_root/qt-$qt_version-work

if [[ -f "$prefix/.complete" ]]; then
  echo "$prefix" >&3
  exit 0
fi

# One build at a time; a second start waits for the first and then finds
# the cache complete.
mkdir -p "$cache_root"
exec 9>"$cache_root/qt-$qt_version.lock"
flock 9
if [[ -f "$prefix/.complete" ]]; then
  echo "$prefix" >&3
  exit 0
fi

scripts/install-deps.sh windows

sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"

# apt-get source needs a deb-src entry for the suites the binaries come from.
if ! grep -rqs '^Types:.*deb-src\|^deb-src ' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  echo "Adding deb-src entries for the configured Debian suites"
  sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
    $sudo tee /etc/apt/sources.list.d/tavlo-deb-src.sources >/dev/null
  $sudo apt-get update -qq
fi

rm -rf "$work"
mkdir -p "$work/fetch"
(
  cd "$work/fetch"
  # The source exactly as the host's Qt was built from it, Debian's patches
  # applied; and Wine's LGPL tablet headers, which Debian's source lacks.
  # (Should the archive have moved on to a newer Debian revision, the
  # suite's own source of the same Qt version serves.)
  apt-get source -qq "qt6-base=$host_version" >/dev/null ||
    apt-get source -qq qt6-base >/dev/null
  apt-get download -qq libwine-dev >/dev/null
  dpkg-deb -x libwine-dev_*.deb wine-dev
)
src=$(find "$work/fetch" -maxdepth 1 -type d -name 'qt6-base-*' | head -n 1)
dsc=$(find "$work/fetch" -maxdepth 1 -name 'qt6-base_*.dsc' | head -n 1)

# The windows plugin includes <wintab.h> and <pktdef.h> from
# src/3rdparty/wintab. Wine's wintab.h uses Wine's DECL_WINELIB_TYPE_AW, and
# Qt declares the entry points with the API calling-convention macro.
wintab=$src/src/3rdparty/wintab
mkdir -p "$wintab"
winehdr=$(find "$work/fetch/wine-dev" -path '*/windows/wintab.h' | head -n 1)
{
  echo '#pragma once'
  echo '#include <windows.h>'
  echo '#ifndef DECL_WINELIB_TYPE_AW'
  echo '#define DECL_WINELIB_TYPE_AW(type) typedef WINELIB_NAME_AW(type) type;'
  echo '#endif'
  echo '#ifndef WINELIB_NAME_AW'
  echo '#ifdef UNICODE'
  echo '#define WINELIB_NAME_AW(func) func##W'
  echo '#else'
  echo '#define WINELIB_NAME_AW(func) func##A'
  echo '#endif'
  echo '#endif'
  echo '#ifndef API'
  echo '#define API WINAPI'
  echo '#endif'
  cat "$winehdr"
} >"$wintab/wintab.h"
cp "$(dirname "$winehdr")/pktdef.h" "$wintab/pktdef.h"
# Their licence goes with every build of Qt that holds them.
cp "$work/fetch/wine-dev/usr/share/doc/libwine-dev/copyright" "$wintab/COPYING-wine"

# The qdirect2d platform plugin (the windows plugin built a second time over
# Direct2D) is never loaded: Tavlo uses the windows plugin, which draws text
# through DirectWrite all the same.
sed -i '/if(QT_FEATURE_direct2d1_1 AND QT_FEATURE_directwrite)/,/endif()/d' "$src/src/plugins/platforms/CMakeLists.txt"

# A toolchain of its own: Qt's DLLs and everything built against them share
# the mingw runtime DLLs (libstdc++-6, libgcc_s_seh-1, libwinpthread-1).
cat >"$work/toolchain.cmake" <<'EOF'
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
EOF

cmake -S "$src" -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$work/toolchain.cmake" \
  -DCMAKE_INSTALL_PREFIX="$prefix" \
  "${features[@]}"

cmake --build "$work/build" --parallel "$jobs"
rm -rf "$prefix"
cmake --install "$work/build" >/dev/null

# Licence texts, and a note saying which source this Qt was built from.
mkdir -p "$prefix/licenses"
cp "$src"/LICENSES/*.txt "$prefix/licenses/" 2>/dev/null || true
cp "$src"/LICENSE.* "$prefix/licenses/" 2>/dev/null || true
cp "$src/debian/copyright" "$prefix/licenses/debian-copyright"
cp "$wintab/COPYING-wine" "$prefix/licenses/wine-wintab-copyright"
source_version=$(sed -n 's/^Version: //p' "$dsc")
{
  echo "Qt $qt_version (qtbase) for x86_64-w64-mingw32, shared, Release."
  echo "Built from Debian's source package qt6-base $source_version"
  echo "(https://sources.debian.org/src/qt6-base/$source_version/),"
  echo "with Debian's patches applied and Wine's LGPL wintab.h and pktdef.h"
  echo "(Debian package libwine-dev) in src/3rdparty/wintab."
  echo "Source description: $(basename "$dsc"), sha256 $(sha256sum "$dsc" | cut -d' ' -f1)"
} >"$prefix/SOURCE.txt"

# The fetched source stays for reference; the build tree goes.
rm -rf "$work/build"
touch "$prefix/.complete"
echo "$prefix" >&3
