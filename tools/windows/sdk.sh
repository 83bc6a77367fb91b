#!/usr/bin/env bash
# Builds, once, what the Windows build of Brevanto links against: zlib, SimpleIni, libzip (the backup's zip
# files), nettle (SHA-256), libarchive (which the tests read backups with), Qt Base and Qt
# Multimedia (the webcam), all
# cross-compiled with MinGW-w64 from
# Debian's own source packages of the same versions the Linux build uses. The result is a
# cache folder outside the source tree; prints its path on the last line of standard output.
#
#   tools/windows/sdk.sh          build what is missing (each step resumes where it stopped)
#   tools/windows/sdk.sh --path   only print the folder the SDK lives in
#
# BREVANTO_WINDOWS_SDK overrides the folder. The versions are in the folder's name: a new
# version (or a new revision of this script's options) builds a new SDK beside the old one.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"

qt_version=6.4.2
revision=2
sdk="${BREVANTO_WINDOWS_SDK:-${XDG_CACHE_HOME:-$HOME/.cache}/brevanto/windows-sdk-qt${qt_version}-r${revision}}"
if [ "${1:-}" = "--path" ]; then
  echo "$sdk"
  exit 0
fi

triple=x86_64-w64-mingw32
toolchain="$here/mingw-w64.cmake"
jobs="$(nproc)"
export BREVANTO_WINDOWS_SDK="$sdk"
mkdir -p "$sdk/src" "$sdk/stamps"
log="$sdk/build.log"

sudo_cmd() {
  if [ "$(id -u)" -ne 0 ]; then sudo "$@"; else "$@"; fi
}

# apt-get source needs a deb-src line for the same archive the binary packages come from.
ensure_deb_src() {
  if apt-get source --print-uris -qq zlib >/dev/null 2>&1; then return; fi
  echo "Adding the Debian source archive (deb-src) for apt-get source"
  local uri suites
  uri="$(grep -hE '^URIs:' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -1 | awk '{print $2}')"
  suites="$(grep -hE '^Suites:' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -1 | cut -d' ' -f2-)"
  uri="${uri:-http://deb.debian.org/debian}"
  suites="${suites:-bookworm bookworm-updates}"
  printf 'Types: deb-src\nURIs: %s\nSuites: %s\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
    "$uri" "$suites" | sudo_cmd tee /etc/apt/sources.list.d/brevanto-deb-src.sources >/dev/null
  sudo_cmd apt-get update -qq
}

# Each build function returns non-zero at its first failure (errexit does not hold inside a
# function whose status is tested), so that a step is stamped done only when it is.

# Unpacks a Debian source package (with Debian's patches applied) and prints its folder.
source_of() {
  local pkg="$1" dir
  dir="$(find "$sdk/src" -maxdepth 1 -type d -name "$2" | head -1)"
  if [ -z "$dir" ]; then
    (cd "$sdk/src" && apt-get source -qq "$pkg" >>"$log" 2>&1)
    dir="$(find "$sdk/src" -maxdepth 1 -type d -name "$2" | head -1)"
  fi
  [ -n "$dir" ] || { echo "apt-get source $pkg did not give a folder $2" >&2; exit 1; }
  echo "$dir"
}

step() {
  local name="$1"
  shift
  [ -e "$sdk/stamps/$name" ] && return 0
  local t0=$(date +%s)
  echo "Building $name for Windows (log: $log)"
  "$@" >>"$log" 2>&1 || { echo "Building $name failed; the end of $log:" >&2; tail -40 "$log" >&2; return 1; }
  echo "$(( $(date +%s) - t0 ))" > "$sdk/stamps/$name" # the seconds it took
  echo "  $name: $(cat "$sdk/stamps/$name") s"
}

# Debian's source of zlib leaves out its Windows makefiles: the library is its C files.
build_zlib() {
  local src f
  src="$(source_of zlib 'zlib-1.*')" || return 1
  rm -rf "$sdk/build/zlib" && mkdir -p "$sdk/build/zlib" || return 1
  for f in adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback inffast inflate inftrees trees \
           uncompr zutil; do
    "$triple-gcc-posix" -O2 -I"$src" -c "$src/$f.c" -o "$sdk/build/zlib/$f.o" || return 1
  done
  rm -f "$sdk/build/zlib/libz.a"
  "$triple-ar" rcs "$sdk/build/zlib/libz.a" "$sdk/build/zlib"/*.o || return 1
  install -D -m644 "$sdk/build/zlib/libz.a" "$sdk/lib/libz.a" &&
    install -D -m644 "$src/zlib.h" "$sdk/include/zlib.h" &&
    install -D -m644 "$src/zconf.h" "$sdk/include/zconf.h"
}

# The settings files' reader is one header (Debian's libsimpleini-dev), the same for Windows.
build_simpleini() {
  install -D -m644 /usr/include/SimpleIni.h "$sdk/include/SimpleIni.h"
}

# Only what a zip with deflate needs: no other compressors, no crypto, no ACLs, no tools. Its
# configuration runs one test program (how zlib was built), under Wine.
build_libarchive() {
  local src
  src="$(source_of libarchive 'libarchive-3.*')" || return 1
  cmake -S "$src" -B "$sdk/build/libarchive" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$sdk" \
    -DZLIB_LIBRARY="$sdk/lib/libz.a" -DZLIB_INCLUDE_DIR="$sdk/include" -DCMAKE_CROSSCOMPILING_EMULATOR=wine \
    -DENABLE_OPENSSL=OFF -DENABLE_MBEDTLS=OFF -DENABLE_NETTLE=OFF -DENABLE_CNG=OFF -DENABLE_LZMA=OFF \
    -DENABLE_ZSTD=OFF -DENABLE_LZ4=OFF -DENABLE_BZip2=OFF -DENABLE_LIBB2=OFF -DENABLE_LZO=OFF \
    -DENABLE_LIBXML2=OFF -DENABLE_EXPAT=OFF -DENABLE_PCREPOSIX=OFF -DENABLE_ICONV=OFF -DENABLE_ACL=OFF \
    -DENABLE_XATTR=OFF -DENABLE_TAR=OFF -DENABLE_CPIO=OFF -DENABLE_CAT=OFF -DENABLE_TEST=OFF \
    -DENABLE_COVERAGE=OFF -DENABLE_INSTALL=ON || return 1
  cmake --build "$sdk/build/libarchive" --target archive_static || return 1
  install -D -m644 "$sdk/build/libarchive/libarchive/libarchive_static.a" "$sdk/lib/libarchive.a" &&
    install -D -m644 "$src/libarchive/archive.h" "$sdk/include/archive.h" &&
    install -D -m644 "$src/libarchive/archive_entry.h" "$sdk/include/archive_entry.h"
}

# The backup's zip files: zlib's deflate only, no other compressor, no encryption, no tools.
build_libzip() {
  local src
  src="$(source_of libzip 'libzip-1.*')" || return 1
  cmake -S "$src" -B "$sdk/build/libzip" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$sdk" -DBUILD_SHARED_LIBS=OFF \
    -DZLIB_LIBRARY="$sdk/lib/libz.a" -DZLIB_INCLUDE_DIR="$sdk/include" \
    -DENABLE_BZIP2=OFF -DENABLE_LZMA=OFF -DENABLE_ZSTD=OFF -DENABLE_OPENSSL=OFF -DENABLE_GNUTLS=OFF \
    -DENABLE_MBEDTLS=OFF -DENABLE_COMMONCRYPTO=OFF -DENABLE_WINDOWS_CRYPTO=OFF -DBUILD_TOOLS=OFF \
    -DBUILD_REGRESS=OFF -DBUILD_OSSFUZZ=OFF -DBUILD_EXAMPLES=OFF -DBUILD_DOC=OFF || return 1
  cmake --build "$sdk/build/libzip" || return 1
  cmake --install "$sdk/build/libzip"
}

# SHA-256 only: no public-key code (so no GMP), no documentation.
build_nettle() {
  local src
  src="$(source_of nettle 'nettle-3.*')" || return 1
  # Debian's patch leaves configure newer than the header template: without this, make would
  # ask for autoheader to make a config.h.in that is already right.
  touch -r "$src/configure" "$src/config.h.in" "$src/stamp-h.in" || return 1
  rm -rf "$sdk/build/nettle" && mkdir -p "$sdk/build/nettle" || return 1
  (cd "$sdk/build/nettle" && "$src/configure" --host="$triple" --prefix="$sdk" --disable-shared \
     --enable-static --disable-public-key --disable-documentation --disable-openssl \
     CC="$triple-gcc-posix" && make -j"$jobs" libnettle.a && make install-headers install-static)
}

# Only the modules the program uses; Qt Network is built for Qt Multimedia (without TLS) and
# is not shipped, since the program does not load it. SQL, OpenGL, Vulkan, D-Bus, XML, tests and examples are left out. Direct2D
# stays: without it Qt 6.4 leaves out the DirectWrite font engine that printing links to.
# Tablets are left out: Debian's source lacks the tablet driver's header (wintab.h).
build_qtbase() {
  local src
  src="$(source_of qt6-base 'qt6-base-*')" || return 1
  cmake -S "$src" -B "$sdk/build/qtbase" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$sdk/qt" -DBUILD_SHARED_LIBS=ON \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_sql=OFF -DINPUT_opengl=no -DFEATURE_opengl=OFF -DFEATURE_vulkan=OFF -DFEATURE_dbus=OFF -DFEATURE_xml=OFF \
    -DFEATURE_concurrent=OFF -DFEATURE_ssl=OFF -DFEATURE_openssl=OFF -DFEATURE_schannel=OFF \
    -DFEATURE_sql_sqlite=OFF -DFEATURE_gif=OFF -DFEATURE_ico=OFF -DFEATURE_icu=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
    -DFEATURE_system_pcre2=OFF -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF \
    -DFEATURE_testlib=ON -DFEATURE_printsupport=ON -DFEATURE_optimize_size=ON -DFEATURE_direct2d=ON \
    -DFEATURE_tabletevent=OFF || return 1
  cmake --build "$sdk/build/qtbase" --parallel "$jobs" || return 1
  cmake --install "$sdk/build/qtbase" --strip
}

# The webcam: Qt Multimedia with its Windows Media Foundation backend. Its video shaders are
# compiled while it builds by qsb, which comes from Debian's host packages of the same version
# (qt6-shader-baker, qt6-shadertools-dev) through QT_HOST_PATH: a small package file in the SDK
# hands the host's tool and its functions to the cross build, so that Qt Shader Tools is never
# cross-built. MinGW's import libraries are lower-case, which the module's search does not
# expect on a file system that tells case apart: they are named here.
build_qtmultimedia() {
  local src lib="/usr/$triple/lib" shadertools="$sdk/qt/lib/cmake/Qt6ShaderTools"
  src="$(source_of qt6-multimedia 'qt6-multimedia-*')" || return 1
  # Its Windows sources name some headers in another case than MinGW's and Qt's files have
  # (<Mferror.h>, "Mfidl.h", "QUrl.h"), which a file system that tells case apart does not find:
  # a folder of links gives each the name it is asked by.
  local shims="$sdk/build/qtmultimedia-headers" header found
  mkdir -p "$shims" || return 1
  grep -rhoE '#include [<"][A-Za-z0-9_]+\.h[>"]' "$src/src/multimedia" "$src/src/plugins/multimedia/windows" |
    sed -E 's/#include [<"]//; s/[>"]$//' | sort -u | grep '[A-Z]' | while read -r header; do
      [ -e "/usr/$triple/include/$header" ] && continue
      found="$(find "/usr/$triple/include" -maxdepth 1 -iname "$header" -print -quit)"
      [ -n "$found" ] || found="$(find "$sdk/qt/include" -mindepth 2 -maxdepth 2 -iname "$header" -print -quit)"
      [ -n "$found" ] && [ "$(basename "$found")" != "$header" ] && ln -sf "$found" "$shims/$header"
    done
  # The capture plugin saves a still in a thread with QtConcurrent::run, the one use of Qt
  # Concurrent (left out of this Qt, and not linked by the plugin): a thread-pool call stands for it.
  mkdir -p "$shims/QtConcurrent" || return 1
  cat >"$shims/QtConcurrent/qtconcurrentrun.h" <<'HEADER' || return 1
#pragma once
#include <QtCore/qthreadpool.h>
#include <functional>
namespace QtConcurrent {
template <class Function, class... Args> void run(Function function, Args... args)
{
    QThreadPool::globalInstance()->start([=]() { std::invoke(function, args...); });
}
} // namespace QtConcurrent
HEADER
  mkdir -p "$shadertools" || return 1
  cat >"$shadertools/Qt6ShaderToolsConfig.cmake" <<'CMAKE' || return 1
# Qt Shader Tools is not built for Windows: the host's qsb and its functions stand for it.
find_package(Qt6ShaderToolsTools REQUIRED CONFIG PATHS "${QT_HOST_PATH_CMAKE_DIR}" NO_DEFAULT_PATH
             NO_CMAKE_FIND_ROOT_PATH)
set(Qt6ShaderTools_FOUND TRUE)
CMAKE
  printf 'set(PACKAGE_VERSION %s)\nset(PACKAGE_VERSION_COMPATIBLE TRUE)\n' "$qt_version" \
    >"$shadertools/Qt6ShaderToolsConfigVersion.cmake" || return 1
  cmake -S "$src" -B "$sdk/build/qtmultimedia" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$sdk/qt/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$sdk/qt" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DFEATURE_spatialaudio=OFF -DFEATURE_ffmpeg=OFF \
    -DFEATURE_gstreamer=OFF -DCMAKE_CXX_FLAGS="-isystem $shims" \
    -DWMF_STRMIIDS_LIBRARY="$lib/libstrmiids.a" -DWMF_AMSTRMID_LIBRARY="$lib/libamstrmid.a" \
    -DWMF_DMOGUIDS_LIBRARY="$lib/libdmoguids.a" -DWMF_UUID_LIBRARY="$lib/libuuid.a" \
    -DWMF_MSDMO_LIBRARY="$lib/libmsdmo.a" -DWMF_OLE32_LIBRARY="$lib/libole32.a" \
    -DWMF_OLEAUT32_LIBRARY="$lib/liboleaut32.a" -DWMF_MF_LIBRARY="$lib/libmf.a" \
    -DWMF_MFUUID_LIBRARY="$lib/libmfuuid.a" -DWMF_MFPLAT_LIBRARY="$lib/libmfplat.a" \
    -DWMF_MFCORE_LIBRARY="$lib/libmfcore.a" -DWMF_PROPSYS_LIBRARY="$lib/libpropsys.a" || return 1
  grep -q '^QT_FEATURE_wmf:INTERNAL=ON' "$sdk/build/qtmultimedia/CMakeCache.txt" ||
    { echo "Qt Multimedia was configured without Windows Media Foundation" >&2; return 1; }
  cmake --build "$sdk/build/qtmultimedia" --parallel "$jobs" || return 1
  cmake --install "$sdk/build/qtmultimedia" --strip
}

ensure_deb_src
steps=(zlib simpleini libarchive libzip nettle qtbase qtmultimedia)
for s in "${steps[@]}"; do
  step "$s" "build_$s" || exit 1
done
# The time every step took, interrupted runs aside.
total=0
for stamp in "${steps[@]}"; do
  total=$(( total + $(cat "$sdk/stamps/$stamp" 2>/dev/null || echo 0) + 0 ))
done
echo "The Windows toolchain took $(( total / 60 )) min to build" | tee "$sdk/stamps/done"
echo "$sdk"
