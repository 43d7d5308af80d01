#!/usr/bin/env bash
# The .deb as a user gets it: built, its fields and files validated, unpacked into a temporary
# root, and the installed talvo started by an ordinary user (who cannot write beside the
# executable) against the demo service, on the current display.
# usage: tests/package/install_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
test_name="install test"
wait_tenths=200
source "$(dirname "$0")/../support/shell_test.sh"
chmod 755 "$work"

cpack --config "$build/CPackConfig.cmake" -B "$work/deb" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail "cpack failed"; }
deb=$(ls "$work"/deb/talvo_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
recommends=$(dpkg-deb -f "$deb" Recommends)
[[ "$depends" == *libwxgtk3.2* && "$depends" == *libwebkit2gtk* ]] || fail "Depends lacks the libraries: $depends"
[[ "$depends" == *fonts-wqy-microhei* ]] || fail "Depends lacks a CJK font: $depends"
[[ "$recommends" == *gstreamer1.0-libav* && "$recommends" == *gstreamer1.0-plugins-bad* ]] ||
  fail "Recommends lacks the media plugins: $recommends"

root="$work/root"
dpkg -x "$deb" "$root"
id=example.talvo.Client
desktop-file-validate "$root/usr/share/applications/$id.desktop" || fail "desktop file invalid"
appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" >"$work/appstream.log" ||
  { cat "$work/appstream.log"; fail "metainfo invalid"; }
for size in 16 32 48 64 128 256; do
  [[ -s "$root/usr/share/icons/hicolor/${size}x$size/apps/$id.png" ]] || fail "no ${size}px icon"
done
[[ -s "$root/usr/share/icons/hicolor/scalable/apps/$id.svg" ]] || fail "no scalable icon"

# An ordinary user: the executable's folder is not theirs, so the per-user data folder is used.
home="$work/home"
mkdir -p "$home/data/talvo"
start_demo_service "$build" "$home/data/talvo"
chown -R nobody:nogroup "$home"
setpriv --reuid=nobody --regid=nogroup --clear-groups \
  env -u TALVO_APP_DIR HOME="$home" XDG_DATA_HOME="$home/data" XDG_CACHE_HOME="$home/cache" \
  "$root/usr/bin/talvo" >"$work/client.log" 2>&1 &
client=$!

window=
find_window() {
  local id
  for id in $(xdotool search --onlyvisible --pid "$client" 2>/dev/null); do
    if xprop -id "$id" _NET_WM_NAME 2>/dev/null | grep -q "V2.02"; then window=$id; return 0; fi
  done
  return 1
}
eventually find_window || { cat "$work/client.log"; fail "the installed client's window never appeared"; }
title=$(xprop -id "$window" _NET_WM_NAME)
[[ "$title" == *"备用网站：http://127.0.0.1:$port"* ]] || fail "talvo.ini in the per-user folder was not read: $title"
xprop -id "$window" _NET_WM_ICON >"$work/icon.txt" 2>&1 || true
# Ours, not the toolkit's default (one 48 px icon): every size the program carries.
for size in 16 32 48 64; do
  grep -q "Icon ($size x $size)" "$work/icon.txt" || fail "the window lacks its ${size}px icon"
done

xdotool windowactivate --sync "$window" key --clearmodifiers alt+F4 2>/dev/null || true
eventually '! kill -0 "$client" 2>/dev/null' || fail "the installed client did not end when closed"
wait "$client" || fail "the installed client ended with an error"
client=
echo "install test: built, validated, installed and started the package"
echo "1 passed, 0 failed"
