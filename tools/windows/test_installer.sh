#!/usr/bin/env bash
# The Windows installer's test, under Wine: a silent install into a fresh folder, the program
# started (a picture of its login screen is kept), --backup and --verify from the installed
# folder, a second install over a laboratory that keeps every one of its files byte for
# byte, and the uninstaller, which removes the program and keeps the data.
#   tools/windows/test_installer.sh <package folder>      (Wine set up as build.sh sets it up)
set -euo pipefail
package="$(realpath "$1")"
setup="$(ls "$package"/Brevanto-*-Setup.exe | head -1)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
check() { # check <what> <command...>
  local what="$1"
  shift
  if "$@"; then echo "  ok: $what"; else echo "  FAILED: $what" >&2; failures=$((failures + 1)); fi
}
winpath() { echo "Z:${1//\//\\}"; }
# Every file in a folder that the package does not bring (the password store is the
# laboratory's own once it is there), with its checksum.
data_sums() {
  (cd "$1" && find . -type f -print | sort | while IFS= read -r f; do
     if [ "$f" = ./unins000.dll ] || [ ! -e "$package/Brevanto/$f" ] && [ "$f" != "./Disinstalla Brevanto.exe" ]; then
       sha256sum "$f"
     fi
   done)
}

echo "The installer: $setup ($(du -m "$setup" | cut -f1) MB)"
folder="$work/Brevanto"
# NSIS takes /D= last and unquoted.
wine "$setup" /S "/D=$(winpath "$folder")"
check "the silent install put the program, the manual and the password store in place" \
  test -s "$folder/brevanto.exe" -a -s "$folder/Guida.pdf" -a -s "$folder/unins000.dll" -a -s "$folder/Disinstalla Brevanto.exe"
check "the installed program carries its Italian version information" \
  grep -qia "archivio delle opere" <(iconv -f UTF-16LE -t UTF-8 -c "$folder/brevanto.exe")

# The program starts and shows the login, on a virtual screen.
shot="$package/test/login.png"
mkdir -p "$(dirname "$shot")"
# Wine's desktop belongs to the server that started it: one started without a display cannot
# show a window, so the server is started again on the virtual screen, and after it without.
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  cd "$1" && QT_QPA_PLATFORM=windows wine brevanto.exe </dev/null >/dev/null 2>&1 &
  for i in $(seq 60); do sleep 1; xwininfo -root -tree 2>/dev/null | grep -q "Brevanto" && break; done
  sleep 3
  xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng > "$2"
  xwininfo -root -tree > "$2.windows" 2>&1
  wineserver -k; wineserver -w' _ "$folder" "$shot" || true
wineserver -p </dev/null >/dev/null 2>&1
check "the program showed its login screen (picture: $shot)" grep -q "frmPassword\|Password\|Brevanto" "$shot.windows"

# The scheduled backup's command line, from the installed folder.
mkdir -p "$work/Backup"
(cd "$folder" && timeout 300 wine brevanto.exe --backup "$(winpath "$work/Backup")" >"$work/backup.out" 2>&1) && status=0 || status=$?
cat "$work/backup.out"
check "--backup exits with 0" test "$status" -eq 0
zip="$(ls "$work"/Backup/*.zip 2>/dev/null | head -1)"
check "--backup wrote a zip" test -n "$zip"
check "--backup said so in one line on its console" test "$(grep -c . "$work/backup.out")" -eq 1
if [ -n "$zip" ]; then
  (cd "$folder" && timeout 300 wine brevanto.exe --verify "$(winpath "$zip")" >"$work/verify.out" 2>&1) && status=0 || status=$?
  cat "$work/verify.out"
  check "--verify exits with 0 on a good backup" test "$status" -eq 0
fi
printf 'not a zip' > "$work/broken.zip"
(cd "$folder" && timeout 300 wine brevanto.exe --verify "$(winpath "$work/broken.zip")" >"$work/broken.out" 2>&1) && status=0 || status=$?
check "--verify exits with an error on a damaged backup" test "$status" -ne 0

# A laboratory in the folder, then a second install over it.
printf '%02925d' 1 > "$folder/Relazioni_Tecniche_Restauro.pro"
head -c 10000 /dev/urandom > "$folder/Inventario_Opere.pro"
printf '[Stampa]\r\nDocumentazione=1\r\n' > "$folder/Brevanto.ini"
printf '[Contratti]\r\n' > "$folder/Contratti.ini"
mkdir -p "$folder/Inventario" "$folder/Restauri/Cronologia" "$folder/Documenti_Allegati"
head -c 5000 /dev/urandom > "$folder/Inventario/1.jpg"
head -c 5000 /dev/urandom > "$folder/Restauri/Cronologia/2-1.jpg"
printf 'contratto' > "$folder/Documenti_Allegati/contratto firmato.pdf"
printf 'changed' >> "$folder/unins000.dll" # a password of the laboratory's own
data_sums "$folder" > "$work/before"
wine "$setup" /S "/D=$(winpath "$folder")"
data_sums "$folder" > "$work/after"
check "a second install kept every file of the laboratory byte for byte" cmp -s "$work/before" "$work/after"
check "a second install kept the laboratory's password store" grep -q changed "$folder/unins000.dll"

# The uninstaller (silent: the data are kept) removes the program alone.
wine "$folder/Disinstalla Brevanto.exe" /S "_?=$(winpath "$folder")"
rm -f "$folder/Disinstalla Brevanto.exe" # run in place (_?=), it cannot remove itself
check "the uninstaller removed the program" test ! -e "$folder/brevanto.exe" -a ! -e "$folder/Guida.pdf" -a ! -e "$folder/platforms"
data_sums "$folder" > "$work/left"
check "the uninstaller kept the laboratory's data byte for byte" cmp -s "$work/before" "$work/left"

if [ "$failures" -ne 0 ]; then
  echo "The installer's test: $failures checks failed" >&2
  exit 1
fi
echo "The installer's test: every check passed"
