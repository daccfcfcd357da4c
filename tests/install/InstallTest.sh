#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and runs the installed programs through their
# links in bin/: the companion prints the holidays, and the program, started without a display
# on a sample passbook, finds its picture archive and manual. Usage: InstallTest.sh BUILD-DIR
set -euo pipefail
build=$1
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
DESTDIR=$dest cmake --install "$build" --prefix /usr >/dev/null
root=$dest/usr
fail() { echo "FAIL: $*" >&2; exit 1; }

for f in bin/tavimrok bin/tavimrok-cli; do
  [ -L "$root/$f" ] || fail "$f is not a link"
done
for f in lib/tavimrok/tavimrok lib/tavimrok/tavimrok-cli lib/tavimrok/zevazuvu.arc lib/tavimrok/tavimrok_s.html \
  share/applications/jp.orvik.tavimrok.desktop share/metainfo/jp.orvik.tavimrok.metainfo.xml \
  share/man/man1/tavimrok-cli.1 share/icons/hicolor/scalable/apps/tavimrok.svg; do
  [ -f "$root/$f" ] || fail "$f not installed"
done
for size in 16 24 32 48 64 128 256; do
  [ -f "$root/share/icons/hicolor/${size}x${size}/apps/tavimrok.png" ] || fail "icon ${size}x${size} not installed"
done

holidays=$("$root/bin/tavimrok-cli" holidays 2026)
grep -q $'^2026/01/01\t元日$' <<<"$holidays" || fail "tavimrok-cli holidays 2026: $holidays"

data=$dest/data
"$root/bin/tavimrok-cli" --data-folder "$data" demo --years 1 >/dev/null
check=$(QT_QPA_PLATFORM=offscreen "$root/bin/tavimrok" --data-folder "$data" --self-check) ||
  fail "tavimrok --self-check: $check"
grep -q "^program folder: $root/lib/tavimrok$" <<<"$check" || fail "program folder: $check"
grep -q "^picture archive: found$" <<<"$check" || fail "archive: $check"
grep -q "(2 passbooks)$" <<<"$check" || fail "passbooks: $check"

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$root/share/applications/jp.orvik.tavimrok.desktop"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$root/share/metainfo/jp.orvik.tavimrok.metainfo.xml" >/dev/null ||
    fail "metainfo: $(appstreamcli validate --no-net "$root/share/metainfo/jp.orvik.tavimrok.metainfo.xml")"
fi
echo "installed and ran from $root"
