#!/usr/bin/env bash
# install_test.sh BUILD_DIR [install|package|checked-package]: an installation
# works from wherever it is put. "install" (the default) installs the build into
# a prefix and moves it; "package" makes the Debian package and extracts it;
# "checked-package" also has lintian check it and bounds its installed size.
set -euo pipefail
build=$(realpath "$1")
mode=${2:-install}
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "install test: $*" >&2; exit 1; }

if [ "$mode" = install ]; then
  cmake --install "$build" --prefix "$tmp/first" >/dev/null
  mv "$tmp/first" "$tmp/moved"
  prefix=$tmp/moved
else
  deb=$("$source_dir/scripts/make-deb" "$build" "$tmp")
  dpkg -x "$deb" "$tmp/extracted"
  prefix=$tmp/extracted/usr
  [ -z "$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | grep -E 'postinst|postrm|preinst|prerm')" ] ||
    fail "the package has maintainer scripts"
  if [ "$mode" = checked-package ]; then
    size=$(dpkg-deb -f "$deb" Installed-Size)
    [ "$size" -le 5120 ] || fail "the package installs $size KiB, more than 5 MiB"
    lintian --fail-on error,warning "$deb" >"$tmp/lintian.out" 2>&1 || { cat "$tmp/lintian.out" >&2; fail "lintian rejects the package"; }
    if readelf -S "$prefix/lib/memorix/memorix" | grep -q debug_info; then fail "the programs keep their debug information"; fi
  fi
fi
dir=$prefix/lib/memorix

for f in bin/memorix bin/memorix-cli bin/memorix-plcsim lib/memorix/Memorix.db lib/memorix/MEMORIXEnu.so \
         lib/memorix/MEMORIXJpn.so lib/memorix/Memorix.conf share/applications/memorix.desktop \
         share/icons/hicolor/scalable/apps/memorix.svg share/mime/packages/memorix.xml \
         share/man/man1/memorix.1.gz share/man/man1/memorix-cli.1.gz share/man/man1/memorix-plcsim.1.gz \
         share/doc/memorix/copyright share/doc/memorix/changelog.gz; do
  [ -e "$prefix/$f" ] || fail "$f is missing"
done
# The libraries are found beside the programs, never in the build folder.
if readelf -d "$dir"/* 2>/dev/null | grep -E 'R(UN)?PATH' | grep -v '\[\$ORIGIN\]'; then
  fail "a search path other than \$ORIGIN"
fi
grep -q '^Language=English$' "$dir/Memorix.conf" || fail "the machine settings do not name the language"

# A clean environment: no build folder on any path, settings in the scratch folder.
run() {
  env -i HOME="$tmp" PATH=/usr/bin:/bin XDG_CONFIG_HOME="$tmp/user" XDG_CONFIG_DIRS="$tmp/system" \
    QT_QPA_PLATFORM=offscreen ASAN_OPTIONS="${ASAN_OPTIONS:-}" UBSAN_OPTIONS="${UBSAN_OPTIONS:-}" "$@"
}
cli=$prefix/bin/memorix-cli
run "$cli" catalogue | grep -q . || fail "no catalogue"
run "$cli" new "$tmp/plant.ldtx" --model 1792 --select DT:0-7 >/dev/null
i=0
for byte in 93 FA 96 7B 8C EA; do
  run "$cli" set "$tmp/plant.ldtx" --device DT --cell $i --radix hex --unit 8 $byte >/dev/null
  i=$((i + 1))
done
run "$cli" info "$tmp/plant.ldtx" | grep -q '^model' || fail "info"

# Installed for Japanese: the code page follows the language of the machine settings.
sed -i 's/^Language=.*/Language=Japanese/' "$dir/Memorix.conf"
run "$cli" dump "$tmp/plant.ldtx" --device DT --unit 8 --columns 8 | grep -q '日本語' ||
  fail "the Japanese installation does not show Shift_JIS text"

# The desktop program starts with the file and keeps running until stopped.
set +e
run timeout 5 "$prefix/bin/memorix" "$tmp/plant.ldtx" >"$tmp/gui.out" 2>&1
status=$?
set -e
[ $status -eq 124 ] || { cat "$tmp/gui.out" >&2; fail "memorix ended with status $status"; }
if grep -qi 'cannot' "$tmp/gui.out"; then cat "$tmp/gui.out" >&2; fail "memorix reported an error"; fi
echo "install test ($mode): ok"
