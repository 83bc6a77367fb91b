#!/usr/bin/env bash
# Makes the Windows packages from a cross-built tree: the program folder (brevanto.exe, the Qt
# DLLs and plugins it loads and no others, the MinGW runtime, the manual, the initial password
# store, the licences), the portable zip of it and the installer.
#   tools/windows/package.sh <cross-build folder> <SDK folder> <host build folder> <version>
set -euo pipefail
build="$(realpath "$1")"
sdk="$(realpath "$2")"
host="$(realpath "$3")"
version="$4"
here="$(cd "$(dirname "$0")" && pwd)"
triple=x86_64-w64-mingw32

out="$build/package"
folder="$out/Brevanto"
rm -rf "$out"
mkdir -p "$folder"

# Where the DLLs a binary imports are found; anything not found here is Windows' own.
search=("$sdk/qt/bin" "$(dirname "$($triple-g++-posix -print-file-name=libstdc++-6.dll)")"
        "/usr/$triple/lib" "$(dirname "$($triple-gcc-posix -print-libgcc-file-name)")")
find_dll() {
  local name="$1" dir
  for dir in "${search[@]}"; do
    local match
    match="$(find "$dir" -maxdepth 1 -iname "$name" -print -quit 2>/dev/null)"
    [ -n "$match" ] && { echo "$match"; return 0; }
  done
  return 1
}

# Copies a binary into the folder and, one after the other, every DLL it needs.
declare -A copied=()
deploy() {
  local binary="$1" into="$2" dll path
  install -D -m755 "$binary" "$folder/$into/$(basename "$binary")"
  $triple-strip --strip-unneeded "$folder/$into/$(basename "$binary")"
  for dll in $($triple-objdump -p "$binary" | awk '/DLL Name:/ {print $3}'); do
    [ -n "${copied[${dll,,}]:-}" ] && continue
    path="$(find_dll "$dll")" || continue
    copied[${dll,,}]=1
    deploy "$path" .
  done
}

deploy "$build/brevanto.exe" .
# The plugins the program loads: the window system (and offscreen, for the scheduled jobs and
# tests), JPEG pictures, Windows printing, and the camera when Qt Multimedia was built.
for plugin in platforms/qwindows.dll platforms/qoffscreen.dll imageformats/qjpeg.dll \
              multimedia/windowsmediaplugin.dll; do
  [ -e "$sdk/qt/plugins/$plugin" ] && deploy "$sdk/qt/plugins/$plugin" "$(dirname "$plugin")"
done
install -m644 "$host/Guida.pdf" "$folder/Guida.pdf"
install -m644 "$host/initial/unins000.dll" "$folder/unins000.dll"

# The licences of what the folder holds.
licences="$folder/Licenze"
mkdir -p "$licences"
cp "$here/../../resources/fonts/LICENSE-Liberation.txt" "$here/../../resources/fonts/LICENSE-DejaVu.txt" "$licences/"
for pkg in qt6-base libzip nettle zlib; do
  src="$(find "$sdk/src" -maxdepth 1 -type d -name "${pkg}-*" -print -quit)"
  [ -n "$src" ] && [ -e "$src/debian/copyright" ] && cp "$src/debian/copyright" "$licences/$pkg.txt"
done
cp /usr/share/common-licenses/LGPL-3 "$licences/LGPL-3.txt"
cp /usr/share/common-licenses/GPL-3 "$licences/GPL-3.txt"
[ -e /usr/share/doc/gcc-mingw-w64-base/copyright ] &&
  cp /usr/share/doc/gcc-mingw-w64-base/copyright "$licences/mingw-w64-runtime.txt"

# The portable zip: the folder, runnable where it is unpacked.
zipfile="$out/Brevanto-$version-windows-x64.zip"
(cd "$out" && zip -q -r -9 -X "$zipfile" Brevanto)

# The uninstaller removes exactly the files of the package, then the folders they were in.
files="$out/files.nsh"
{
  (cd "$folder" && find . -type f ! -name unins000.dll | sed 's|^\./||' | sort) |
    while IFS= read -r f; do printf 'Delete "$INSTDIR\\%s"\n' "${f//\//\\}"; done
  (cd "$folder" && find . -mindepth 1 -type d | sed 's|^\./||' | sort -r) |
    while IFS= read -r d; do printf 'RMDir "$INSTDIR\\%s"\n' "${d//\//\\}"; done
} > "$files"
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DPACKAGE="$folder" \
  -DOUTFILE="$out/Brevanto-$version-Setup.exe" -DICON="$here/../../resources/pictures/app_icon.ico" \
  -DFILES="$files" "$here/installer.nsi"

printf 'Windows packages in %s:\n' "$out"
ls -l "$zipfile" "$out/Brevanto-$version-Setup.exe" | awk '{printf "  %s  %.1f MB\n", $NF, $5 / 1048576}'
