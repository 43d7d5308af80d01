#!/usr/bin/env bash
# The real talvo.exe under Wine against the demo service, with a saved VIP account, on the current
# display: signed in at start, both lists fetched, signed in again through 账号登陆, closed cleanly,
# the engine it found said in talvo.log.
# A screenshot of the window goes into ARTIFACTS.
# usage: tests/windows/smoke_test.sh LINUX_BUILD_DIR WINDOWS_BUILD_DIR ARTIFACTS
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
linux=$(cd "$1" && pwd)
windows=$(cd "$2" && pwd)
artifacts=$3
test_name="windows smoke test"
wait_tenths=300
fail_log=client.log
source "$top/tests/support/shell_test.sh"
requests() { grep -c "^GET $1 " "$work/service.log" || true; }

start_demo_service "$linux" "$work"
# Scrambled with table 00, whose body is the text itself: what the login window once saved.
printf '0000000000demo_vip\r\n0000000000vip888\r\n' >"$work/talvoq.dat"

TALVO_APP_DIR="$work" "$top/scripts/wine-run" "$windows/talvo.exe" >"$work/client.log" 2>&1 &
client=$!
window=
title() { xprop -id "$window" _NET_WM_NAME 2>/dev/null; }
find_window() {
  for id in $(xdotool search --onlyvisible --name "V2.02" 2>/dev/null); do window=$id; done
  [[ -n "$window" ]]
}
eventually find_window || fail "the main window never appeared"
eventually '[[ "$(title)" == *"账号：demo_vip VIP用户"* ]]' || fail "not signed in at start: $(title)"
eventually '(($(requests /user/jiemubiao.asp) == 1))' || fail "no programme list"
eventually '(($(requests /user/diantaibiao.asp) == 1))' || fail "no station list after 5 s"
grep -q "^GET /user/jiemubiao.asp yh=demo_vip " "$work/service.log" || fail "the list was not the account's"
sleep 1
mkdir -p "$artifacts"
import -window "$window" "$artifacts/windows-smoke.png"

# 账号登陆, the third entry of the menu bar, from the keyboard: F10 takes the bar, Enter opens it.
xdotool windowactivate --sync "$window" key --clearmodifiers F10 Right Right Return
login=
# Found by _NET_WM_NAME: the X window's WM_NAME need not carry Chinese.
find_login() {
  for id in $(xdotool search --onlyvisible --name "" 2>/dev/null); do
    xprop -id "$id" _NET_WM_NAME 2>/dev/null | grep -q "塔沃用户登录" && login=$id
  done
  [[ -n "$login" ]]
}
eventually find_login || {
  import -window root "$artifacts/windows-smoke-no-login.png"
  fail "账号登陆 did not open the login window"
}
# The boxes hold the saved account; 登陆 is the default button.
xdotool windowactivate --sync "$login" key --clearmodifiers Return
eventually '(($(requests /user/denglu.asp) == 2))' || fail "no second sign-in"

# A second start on the same folder shows the first one's window again and ends, asking nothing.
xdotool windowminimize --sync "$window"
TALVO_APP_DIR="$work" timeout 30 "$top/scripts/wine-run" "$windows/talvo.exe" >"$work/second.log" 2>&1 ||
  fail "a second start ended with code $?: $(cat "$work/second.log")"
eventually '[[ "$(xprop -id "$window" WM_STATE)" == *Normal* ]]' ||
  fail "a second start did not bring the window back: $(xprop -id "$window" WM_STATE)"
(($(requests /user/denglu.asp) == 2)) || fail "a second start signed in"

xdotool windowactivate --sync "$window" key --clearmodifiers alt+F4
for _ in $(seq 300); do kill -0 "$client" 2>/dev/null || break; sleep 0.1; done
kill -0 "$client" 2>/dev/null && fail "closing the window did not end the program"
wait "$client" || fail "the program ended with code $?"
client=
# Wine has neither engine: the loader beside talvo.exe finds no runtime of Edge's, and mshtml none.
grep -q "pages play on none: the views show a notice" "$work/talvo.log" ||
  fail "talvo.log does not say which engine the pages play on: $(grep page: "$work/talvo.log")"
echo "windows smoke test: signed in at start and again, both lists, a second start showed the first, no engine and said so, closed cleanly"
