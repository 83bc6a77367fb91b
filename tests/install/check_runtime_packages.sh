#!/usr/bin/env bash
# The portable package's README names the Debian packages a machine without the development
# packages needs. This check holds that list against what the program really loads: every
# shared library of the executable and of the Qt plugins it loads (the window system, JPEG,
# printing, the camera) must belong to a package the list names or one those depend on.
# Run by CTest: check_runtime_packages.sh <brevanto executable> <README.md>
set -euo pipefail
exe="$1"
readme="$2"

fail() {
  echo "runtime packages: $*" >&2
  exit 1
}
command -v dpkg-query >/dev/null || { echo "dpkg is missing: not a Debian machine, nothing to check"; exit 0; }

# The apt-get line of the README's portable package section, with its continuation lines.
listed="$(awk '/install the Qt runtime first/ {seen = 1; next}
              seen && /^```/ {fence++; if (fence == 2) exit; next}
              fence == 1 {print}' "$readme" |
          tr -d '\\' | tr ' ' '\n' | grep -E '^[a-z0-9][a-z0-9.+-]+$' | grep -vx -e apt-get -e install || true)"
[ -n "$listed" ] || fail "no 'apt-get install' line found after 'install the Qt runtime first' in $readme"

# The installed packages, their dependencies and which provide each virtual package, read once.
declare -A installed=() providers=() depends=()
while IFS=$'\t' read -r pkg status deps provides; do
  [ "$status" = "install ok installed" ] || continue
  installed[$pkg]=1
  depends[$pkg]="$deps"
  [ -z "$provides" ] && continue
  # "a (= 1), b" -> "a b", without a process per package
  provides="${provides//,/ }"
  for v in $provides; do
    case "$v" in "("* | *")") continue ;; esac
    providers[$v]+=" $pkg"
  done
done < <(dpkg-query -W -f='${Package}\t${Status}\t${Depends}, ${Pre-Depends}\t${Provides}\n')

# Every package the listed ones bring with them, as the installed packages' dependencies say;
# for alternatives and virtual packages, every installed package that can satisfy the relation.
declare -A closure=()
queue=($listed)
for ((next = 0; next < ${#queue[@]}; next++)); do
  p="${queue[$next]}"
  [ -n "${closure[$p]:-}" ] && continue
  [ -n "${installed[$p]:-}" ] || fail "the README names $p, which is not installed here"
  closure[$p]=1
  deps="${depends[$p]//[,|]/ }"
  for d in $deps; do
    case "$d" in "("* | *")") continue ;; esac
    d="${d%:any}"
    [ -n "${closure[$d]:-}" ] && continue
    [ -n "${installed[$d]:-}" ] && queue+=("$d")
    for provider in ${providers[$d]:-}; do queue+=("$provider"); done
  done
done

plugins=/usr/lib/x86_64-linux-gnu/qt6/plugins
objects=("$exe" "$plugins/platforms/libqxcb.so" "$plugins/imageformats/libqjpeg.so"
         "$plugins/printsupport/libcupsprintersupport.so")
for f in "$plugins"/multimedia/*.so; do objects+=("$f"); done

# Each library the binaries load, and the binary that first needs it.
declare -A needer=()
for object in "${objects[@]}"; do
  [ -e "$object" ] || fail "$object does not exist"
  out="$(ldd "$object")"
  if [[ "$out" == *"not found"* ]]; then
    fail "$object needs libraries that are not installed: $(echo "$out" | grep 'not found' | tr -s ' \t' ' ')"
  fi
  libs=($(echo "$out" | awk '/=> \// {print $3}'))
  [ ${#libs[@]} -eq 0 ] && continue
  for real in $(realpath "${libs[@]}"); do
    [ -n "${needer[$real]:-}" ] || needer[$real]="$(basename "$object")"
  done
done

# One dpkg -S for them all; with the merged /usr a file may be listed under /lib.
declare -A owner=()
while IFS= read -r line; do
  pkg="${line%%:*}"
  path="${line##*: }"
  owner[$path]="$pkg"
  owner[/usr$path]="$pkg" # a file listed under /lib is the same file under /usr/lib
done < <(dpkg -S "${!needer[@]}" $(printf '%s\n' "${!needer[@]}" | sed 's|^/usr||') 2>/dev/null || true)

missing=()
for lib in "${!needer[@]}"; do
  pkg="${owner[$lib]:-}"
  [ -n "$pkg" ] || fail "no Debian package holds $lib (needed by ${needer[$lib]})"
  [ -n "${closure[$pkg]:-}" ] || missing+=("$pkg ($lib, for ${needer[$lib]})")
done
if [ ${#missing[@]} -gt 0 ]; then
  printf 'runtime packages: the README list lacks (or brings no package holding):\n' >&2
  printf '  %s\n' "${missing[@]}" | sort -u >&2
  exit 1
fi
echo "runtime packages: ${#objects[@]} binaries checked against ${#closure[@]} packages"
