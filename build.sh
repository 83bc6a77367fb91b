#!/usr/bin/env bash
# One entry point for a fresh Debian 12 machine:
#   ./build.sh run   installs what is missing, builds, installs the program into its
#                    program folder ($BREVANTO_HOME, by default ~/Brevanto) and starts it
#   ./build.sh test  installs what is missing, checks the formatting, builds with warnings
#                    as errors (Ninja), runs every test headless, then runs them all again built
#                    with AddressSanitizer and UndefinedBehaviorSanitizer (Unix Makefiles)
#   ./build.sh sanitize   only the sanitizer run of the whole test suite (build-asan/)
#   ./build.sh fuzz       the libFuzzer targets, each for BREVANTO_FUZZ_SECONDS (default 20)
#                         seconds, with both sanitizers (clang, build-fuzz/)
#   ./build.sh windows    the Windows program, cross-built with MinGW-w64: the toolchain once
#                         (Qt and the libraries, into ~/.cache/brevanto), then the program, the
#                         portable zip and the installer (build-windows/package/)
#   ./build.sh test-windows  the same, then the whole suite and the installer's test under Wine
#   ./build.sh bench-windows the search benchmark by the Linux and, under Wine, the Windows build
set -euo pipefail
cd "$(dirname "$0")"

packages=(g++ cmake ninja-build qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev
          libqt6svg6-dev libsimpleini-dev pkg-config libzip-dev libarchive-dev nettle-dev zlib1g-dev libgl1-mesa-dev
          poppler-utils fonts-dejavu-core fonts-liberation2 desktop-file-utils qt6-translations-l10n
          ruby-asciidoctor-pdf)

install_missing() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}

build() {
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBREVANTO_WERROR=ON >/dev/null
  cmake --build build
}

# Every C++ file as .clang-format writes it.
check_format() {
  local wrong=()
  while IFS= read -r f; do
    clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || wrong+=("$f")
  done < <(git ls-files '*.cpp' '*.h' 2>/dev/null || find . -path ./build\* -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
  if [ ${#wrong[@]} -gt 0 ]; then
    echo "Not formatted as .clang-format says (run clang-format -i on them):" >&2
    printf '  %s\n' "${wrong[@]}" >&2
    exit 1
  fi
}

# The sanitizer build uses CMake's default generator (Unix Makefiles), as packagers build, so
# that every run of the test command builds the tree with both generators.
sanitized_tests() {
  if grep -qs '^CMAKE_GENERATOR:INTERNAL=Ninja$' build-asan/CMakeCache.txt; then
    rm -rf build-asan # made by an earlier version with Ninja: a generator cannot be changed in place
  fi
  cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBREVANTO_SANITIZE=ON \
    -DBREVANTO_WERROR=ON >/dev/null
  cmake --build build-asan --parallel "$(nproc)"
  # Qt's own libraries are not instrumented: leaks they keep until exit are not ours.
  (cd build-asan && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 \
    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 ctest --output-on-failure -j"$(nproc)" -LE fuzz)
}

# The program keeps its data beside the executable, so it runs from a program folder of
# its own, never from the build tree: a clean rebuild must not take the catalogue with it.
program_folder() {
  local home
  home="$(realpath -m "${BREVANTO_HOME:-$HOME/Brevanto}")"
  case "$home/" in
    "$(pwd -P)"/*) echo "BREVANTO_HOME ($home) must lie outside the source tree $(pwd -P)" >&2; exit 2 ;;
  esac
  mkdir -p "$home"
  echo "$home"
}

# Data that an earlier version kept in build/ is copied once into a new program folder.
adopt_old_data() {
  local home="$1"
  [ -e "$home/Inventario_Opere.pro" ] || [ -e "$home/Relazioni_Tecniche_Restauro.pro" ] && return
  [ -e build/Inventario_Opere.pro ] || [ -e build/Relazioni_Tecniche_Restauro.pro ] || return 0
  echo "Copying the archives found in build/ into $home"
  for f in unins000.dll Inventario_Opere.pro Relazioni_Tecniche_Restauro.pro Contratti.ini Brevanto.ini \
           Logo.bmp Inventario_Opere.xls Inventario Restauri Documenti_Allegati; do
    [ -e "build/$f" ] && cp -a "build/$f" "$home/"
  done
  return 0
}

# ---- Windows, cross-built on this machine and tested under Wine ---------------------------
windows_packages=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64
                  nsis xvfb xauth x11-apps x11-utils netpbm dpkg-dev m4 perl python3 zip unzip libarchive-tools)

# The toolchain (built once, resumable), then the program and its tests for Windows.
windows_build() {
  local t0 sdk
  t0=$(date +%s)
  sdk="$(tools/windows/sdk.sh | tail -1)"
  export BREVANTO_WINDOWS_SDK="$sdk"
  echo "Windows toolchain: $sdk ($(cat "$sdk/stamps/done"); checked in $(( $(date +%s) - t0 )) s)"
  # The manual and the initial password store are the same on both systems: the host makes them.
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBREVANTO_WERROR=ON >/dev/null
  cmake --build build --target guida initial_store
  t0=$(date +%s)
  cmake -S . -B build-windows -G Ninja -DCMAKE_BUILD_TYPE=Release -DBREVANTO_WERROR=ON \
    -DCMAKE_TOOLCHAIN_FILE="$sdk/qt/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$(pwd)/tools/windows/mingw-w64.cmake" \
    -DCMAKE_CROSSCOMPILING_EMULATOR=wine >/dev/null
  cmake --build build-windows --parallel "$(nproc)" "$@"
  echo "The program's Windows build took $(( $(date +%s) - t0 )) s"
}

windows_package() {
  local version
  version="$(sed -n 's/^project(Brevanto VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
  tools/windows/package.sh build-windows "$BREVANTO_WINDOWS_SDK" build "$version"
}

# Wine in a prefix of its own, quiet, finding the Windows Qt's DLLs and plugins.
wine_environment() {
  local sdk="$BREVANTO_WINDOWS_SDK" gcc_dir
  gcc_dir="$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")"
  export WINEPREFIX="${BREVANTO_WINEPREFIX:-$HOME/.cache/brevanto/wine}"
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
  # Wine hands no QT_* variable to a Windows program: Qt finds its plugins from its own prefix.
  export WINEPATH="Z:${sdk//\//\\}\\qt\\bin;Z:${gcc_dir//\//\\};Z:\\usr\\x86_64-w64-mingw32\\lib"
  [ -e "$WINEPREFIX/system.reg" ] || wineboot --init >/dev/null 2>&1 </dev/null
  # One server and one set of Wine's own services for the whole run, started here: started by
  # the first test, they would hold that test's output open and CTest would wait for it.
  wineserver -k >/dev/null 2>&1 || true
  wineserver -p </dev/null >/dev/null 2>&1
  wine cmd /c exit </dev/null >/dev/null 2>&1
}

# The Windows suite under Wine, on a virtual screen of its own (Xvfb), every window in one Wine
# desktop: without a display Wine gives no window the keyboard focus, and on a bare X screen,
# with no window manager, it waits about two seconds on each window it shows or hides.
windows_suite() {
  local display=90 xvfb status=0
  while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do display=$((display + 1)); done
  Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Brevanto /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Brevanto /d 1280x1024 /f >/dev/null 2>&1
  wineserver -k >/dev/null 2>&1 || true
  (
    export DISPLAY=":$display"
    # Wine's desktop belongs to the server that started it: started again on this screen.
    wineserver -p </dev/null >/dev/null 2>&1
    wine cmd /c exit </dev/null >/dev/null 2>&1
    # One test at a time: two programs in one Wine desktop take the keyboard focus from
    # each other.
    cd build-windows && ctest --output-on-failure -j1 -LE fuzz
  ) || status=$?
  wine reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null 2>&1 || true
  wineserver -k >/dev/null 2>&1 || true
  kill "$xvfb" 2>/dev/null || true
  wineserver -p </dev/null >/dev/null 2>&1
  return "$status"
}

windows_tests() {
  local status=0
  wine_environment
  windows_suite || status=$?
  tools/windows/test_installer.sh build-windows/package || status=$?
  wineserver -k || true
  return "$status"
}

case "${1:-run}" in
  run)
    install_missing; build
    home="$(program_folder)"
    adopt_old_data "$home"
    cmake --install build --prefix "$home" --component program >/dev/null
    cmake --install build --prefix "$home" --component desktop >/dev/null
    cd "$home" && exec "$home/brevanto" ;;
  test)
    # The export is read back as a worksheet by LibreOffice in one test.
    packages+=(libreoffice-calc-nogui clang-format unzip)
    # The Windows suite runs where the Windows toolchain is built (about an hour, once, by
    # ./build.sh windows); a test run never builds it.
    windows_sdk="$(tools/windows/sdk.sh --path)"
    [ -e "$windows_sdk/stamps/done" ] && packages+=("${windows_packages[@]}")
    install_missing; check_format; build
    (cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)")
    sanitized_tests
    if [ -e "$windows_sdk/stamps/done" ]; then
      windows_build; windows_package; windows_tests
    else
      echo "Windows suite skipped: the Windows toolchain is not built on this machine (./build.sh windows builds it once, in about an hour)"
    fi ;;
  sanitize)
    packages+=(libreoffice-calc-nogui unzip)
    install_missing; sanitized_tests ;;
  fuzz)
    packages+=(clang-14 libclang-rt-14-dev)
    install_missing
    CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DBREVANTO_SANITIZE=ON -DBREVANTO_FUZZ=ON -DBREVANTO_FUZZ_SECONDS="${BREVANTO_FUZZ_SECONDS:-20}" >/dev/null
    cmake --build build-fuzz --target fuzz_records fuzz_settings fuzz_pictures fuzz_journal fuzz_backup fuzz_doclist fuzz_seed_files
    cd build-fuzz && ASAN_OPTIONS=detect_leaks=0 ctest --output-on-failure -L fuzz ;;
  windows)
    packages+=("${windows_packages[@]}")
    install_missing; windows_build --target brevanto; windows_package ;;
  test-windows)
    packages+=("${windows_packages[@]}")
    install_missing; windows_build; windows_package; windows_tests ;;
  bench-windows)
    # The search of 100 000 reports by the Linux build and, on the same files, by the Windows
    # build under Wine, side by side; then the sizes of the Windows packages.
    packages+=("${windows_packages[@]}")
    install_missing; windows_build --target search_bench brevanto; windows_package >/dev/null
    cmake --build build --target search_bench
    folder="${BREVANTO_BENCH_FOLDER:-/tmp/brevanto-bench}"
    echo "Linux:"; QT_QPA_PLATFORM=offscreen build/tools/bench/search_bench 100000 "$folder" | tee /tmp/bench-linux.txt
    wine_environment
    echo "Windows, under Wine:"
    QT_QPA_PLATFORM=offscreen wine build-windows/tools/bench/search_bench.exe 100000 "$folder" | tr -d '\r' |
      tee /tmp/bench-wine.txt
    wineserver -k || true
    paste <(grep -E '^(report|artwork) search' /tmp/bench-linux.txt) <(grep -E '^(report|artwork) search' /tmp/bench-wine.txt) |
      awk -F'\t' '{ split($1, a, " ms"); split($2, b, " ms"); n = split(a[1], x, " "); m = split(b[1], y, " ");
                    printf "%-45s Wine/Linux %.2f\n", substr($1, 1, index($1, ")") ? index($1, ")") : 38), y[m] / x[n] }'
    ls -l build-windows/package/*.zip build-windows/package/*.exe | awk '{printf "%-60s %.1f MB\n", $NF, $5 / 1048576}' ;;
  *)
    echo "usage: $0 run|test|sanitize|fuzz|windows|test-windows|bench-windows" >&2; exit 2 ;;
esac
