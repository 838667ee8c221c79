#!/usr/bin/env bash
# Packs the build as a Debian package with CPack and reads it back with dpkg-deb: its name and
# control fields, exactly the program's files, and a stripped executable that still carries its
# version data.
# Usage: CheckPackage.sh <build dir> <desktop id> <version data file> <version block>
set -euo pipefail
build=$1 id=$2 data=$3 block=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/out" >/dev/null)
version=$(sed -n 's/^[[:space:]]*FileVersion[[:space:]]*=[[:space:]]*\([0-9.]*\).*/\1/p' "$data" | head -n 1)
arch=$(dpkg --print-architecture)
deb=$work/out/kelvane_${version}_$arch.deb
[ -f "$deb" ] || fail "no $(basename "$deb"); made: $(ls "$work/out")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = kelvane ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version), want $version"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture: $(field Architecture)"
[ "$(field Section)" = net ] || fail "Section: $(field Section)"
[ -n "$(field Maintainer)" ] && [ -n "$(field Description)" ] || fail "no Maintainer or Description"
depends=$(field Depends | tr ',' '\n' | sed 's/(.*//; s/[[:space:]]//g')
for need in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 \
    fonts-ipafont-gothic qt6-translations-l10n; do
    grep -Fxq "$need" <<<"$depends" || fail "Depends lacks $need: $(field Depends)"
done

want="./usr/bin/Kelvane
./usr/share/applications/$id.desktop
./usr/share/icons/hicolor/16x16/apps/$id.png
./usr/share/icons/hicolor/32x32/apps/$id.png
./usr/share/icons/hicolor/48x48/apps/$id.png
./usr/share/kelvane/rdap/asn.json
./usr/share/kelvane/rdap/dns.json
./usr/share/kelvane/rdap/ipv4.json
./usr/share/kelvane/rdap/ipv6.json
./usr/share/kelvane/rdap/object-tags.json
./usr/share/metainfo/$id.metainfo.xml"
got=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | LC_ALL=C sort)
[ "$got" = "$want" ] || fail "packed files differ: $(diff <(echo "$want") <(echo "$got") || true)"

dpkg-deb -x "$deb" "$work/root"
exe=$work/root/usr/bin/Kelvane
! readelf -S "$exe" | grep -q '\.symtab' || fail "the packed program is not stripped"
objcopy --dump-section .versioninfo="$work/section" "$exe" "$work/copy" ||
    fail "the packed program lost its version data"
cmp -s "$work/section" "$block" || fail "the packed program's version data differs"
echo "packed $(basename "$deb"): Depends: $(field Depends)"
