#!/usr/bin/env bash
# Makes the Debian package of a build with cpack, checks its control fields
# and its dependencies against the libraries this machine has, unpacks it
# into a scratch root and checks what it holds there as an install.
#   package_test.sh CPACK BUILD_DIR VERSION
set -uo pipefail
cpack=$1
build=$(realpath "$2")
version=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() {
  echo "$*"
  failed=1
}

"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; exit 1; }
arch=$(dpkg --print-architecture)
deb=$work/out/fxt_${version}_$arch.deb
[ -f "$deb" ] || { echo "no $deb: $(ls "$work/out")"; exit 1; }
dpkg-deb --info "$deb"

field() { dpkg-deb --field "$deb" "$1"; }
while read -r name want; do
  [ "$(field "$name")" = "$want" ] || fail "$name: '$(field "$name")', expected '$want'"
done <<FIELDS
Package fxt
Version $version
Architecture $arch
Section devel
Priority optional
FIELDS
for name in Maintainer Description Installed-Size; do
  [ -n "$(field "$name")" ] || fail "no $name field"
done
depends=$(field Depends)
for library in libc6 libstdc++6 libgcc-s1; do
  grep -q "\b$library\b" <<<"$depends" || fail "Depends lacks $library: $depends"
done

# Every dependency is a package this machine has, at a version that satisfies
# it: the programs that the test runs below need nothing more.
IFS=',' read -r -a relations <<<"$depends"
for relation in "${relations[@]}"; do
  read -r package operator wanted <<<"$(tr -d '()' <<<"$relation")"
  installed=$(dpkg-query -W -f '${Version}' "$package" 2>/dev/null) ||
    { fail "dependency $package is not installed here"; continue; }
  if [ -n "${operator:-}" ] && ! dpkg --compare-versions "$installed" "$operator" "$wanted"; then
    fail "dependency $relation: $package is $installed here"
  fi
done

# Files stand under /usr only, owned by root.
contents=$(dpkg-deb --contents "$deb")
outside=$(awk '$6 !~ /^\.\/(usr\/.*)?$/ { print $6 }' <<<"$contents")
[ -z "$outside" ] || fail "files outside /usr: $outside"
not_root=$(awk '$2 != "root/root" { print $6 }' <<<"$contents")
[ -z "$not_root" ] || fail "files not owned by root: $not_root"

dpkg -x "$deb" "$work/root"
bash "$(dirname "$0")/installed_tree_test.sh" "$work/root/usr" "$version" \
  parse fxtdump fxtlint fxtfmt fxtchart fxt-language-server fxtimport || failed=1

[ "$failed" = 0 ] && echo "the package holds the programs, their pages, the examples and the editor files"
exit $failed
