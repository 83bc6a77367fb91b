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
    install_missing; check_format; build
    (cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)")
    sanitized_tests ;;
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
  *)
    echo "usage: $0 run|test|sanitize|fuzz" >&2; exit 2 ;;
esac
