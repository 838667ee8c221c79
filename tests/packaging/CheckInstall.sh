#!/usr/bin/env bash
# Installs the build into a fresh prefix: exactly the program's files arrive, the desktop entry and
# the AppStream metadata pass their validators and name the installed program, icon and window
# class, and the installed executable still carries its version data.
# Usage: CheckInstall.sh <build dir> <desktop id> <window class> <version block>
set -euo pipefail
build=$1 id=$2 class=$3 block=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

want="bin/Kelvane
share/applications/$id.desktop
share/icons/hicolor/16x16/apps/$id.png
share/icons/hicolor/32x32/apps/$id.png
share/icons/hicolor/48x48/apps/$id.png
share/kelvane/rdap/asn.json
share/kelvane/rdap/dns.json
share/kelvane/rdap/ipv4.json
share/kelvane/rdap/ipv6.json
share/kelvane/rdap/object-tags.json
share/metainfo/$id.metainfo.xml"
got=$(cd "$prefix" && find . ! -type d | sed 's|^\./||' | LC_ALL=C sort)
[ "$got" = "$want" ] || fail "installed files differ: $(diff <(echo "$want") <(echo "$got") || true)"

entry=$prefix/share/applications/$id.desktop
report=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $report"
[ -z "$report" ] || fail "desktop-file-validate has remarks: $report"
key() { sed -n "s/^$1=//p" "$entry"; }
[ -x "$prefix/bin/$(key Exec)" ] || fail "Exec=$(key Exec) is not the installed program"
[ "$(key Icon)" = "$id" ] || fail "Icon=$(key Icon) is not the installed icon $id"
[ "$(key StartupWMClass)" = "$class" ] || fail "StartupWMClass=$(key StartupWMClass), want $class"
[ "$(key Terminal)" = false ] && [ "$(key Categories)" = "Network;" ] && [ -n "$(key 'Comment\[ja\]')" ] &&
    [ -n "$(key 'GenericName\[ja\]')" ] || fail "desktop entry lacks a required key"

metainfo=$prefix/share/metainfo/$id.metainfo.xml
report=$(appstreamcli validate --no-net --no-color "$metainfo" 2>&1) || fail "appstreamcli: $report"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "the metadata does not launch $id.desktop"

objcopy --dump-section .versioninfo="$work/section" "$prefix/bin/Kelvane" "$work/copy" ||
    fail "the installed program lost its version data"
cmp -s "$work/section" "$block" || fail "the installed program's version data differs"
echo "installed: $(echo "$got" | tr '\n' ' ')"
