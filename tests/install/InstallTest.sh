#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and runs the installed programs through their
# links in bin/: the companion prints the holidays; the program, started without a display,
# answers --help and --version, finds its picture archive and manual on a sample passbook,
# and, given no data folder, keeps its data in the user's folder, never in its writable
# program folder. Usage: InstallTest.sh BUILD-DIR
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
  share/man/man1/tavimrok.1.gz share/man/man1/tavimrok-cli.1.gz share/icons/hicolor/scalable/apps/tavimrok.svg \
  share/doc/tavimrok/copyright share/doc/tavimrok/changelog.gz; do
  [ -f "$root/$f" ] || fail "$f not installed"
done
[ ! -e "$root/lib/tavimrok/portable" ] || fail "the build tree's portable mark was installed"
machine=$dest/etc/xdg/Orvik/tavimrok.ini
[ "$(cat "$machine")" = $'AppDir=/usr/lib/tavimrok\r' ] || fail "machine settings: $(cat -A "$machine" 2>&1)"
for size in 16 24 32 48 64 128 256; do
  [ -f "$root/share/icons/hicolor/${size}x${size}/apps/tavimrok.png" ] || fail "icon ${size}x${size} not installed"
done

holidays=$("$root/bin/tavimrok-cli" holidays 2026)
grep -q $'^2026/01/01\t元日$' <<<"$holidays" || fail "tavimrok-cli holidays 2026: $holidays"

# No display at all: Qt must not be started for these.
nodisplay=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
help=$("${nodisplay[@]}" "$root/bin/tavimrok" --help) || fail "tavimrok --help without a display"
grep -q "^使い方: tavimrok" <<<"$help" || fail "tavimrok --help: $help"
version=$("${nodisplay[@]}" "$root/bin/tavimrok" --version) || fail "tavimrok --version without a display"
grep -q "^もるぽ通帳 (tavimrok) [0-9]" <<<"$version" || fail "tavimrok --version: $version"

# Run as a new user would, without --data-folder: the data goes to the user's folder, whatever
# the program folder allows (here it is writable, as it is for root).
home=$dest/home
mkdir -p "$home"
check=$(HOME=$home "${nodisplay[@]}" -u XDG_DATA_HOME -u XDG_CONFIG_HOME "$root/bin/tavimrok" --self-check) ||
  fail "tavimrok --self-check without a display: $check"
grep -q "^データフォルダ: $home/.local/share/Orvik/もるぽ通帳（通帳 0 冊）$" <<<"$check" || fail "default data folder: $check"
[ -d "$home/.local/share/Orvik/もるぽ通帳" ] || fail "the user's data folder was not made"
[ ! -e "$root/lib/tavimrok/Data" ] || fail "data went into the program folder"

data=$dest/data
"$root/bin/tavimrok-cli" --data-folder "$data" demo --years 1 >/dev/null
check=$(QT_QPA_PLATFORM=offscreen "$root/bin/tavimrok" --data-folder "$data" --self-check) ||
  fail "tavimrok --self-check: $check"
grep -q "^プログラムのフォルダ: $root/lib/tavimrok$" <<<"$check" || fail "program folder: $check"
grep -q "^絵の書庫: あり$" <<<"$check" || fail "archive: $check"
grep -q "（通帳 2 冊）$" <<<"$check" || fail "passbooks: $check"

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$root/share/applications/jp.orvik.tavimrok.desktop"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$root/share/metainfo/jp.orvik.tavimrok.metainfo.xml" >/dev/null ||
    fail "metainfo: $(appstreamcli validate --no-net "$root/share/metainfo/jp.orvik.tavimrok.metainfo.xml")"
fi
echo "installed and ran from $root"
