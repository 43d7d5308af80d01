#!/usr/bin/env bash
# The installer as a user runs it, silently, under Wine in a prefix of its own: talvo.exe in
# Program Files, the Start-menu entry, the uninstaller registered; then the silent uninstall
# takes all of it away again.
# usage: tests/windows/installer_test.sh SETUP.exe
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
setup=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
export WINEPREFIX
WINEPREFIX=$(mktemp -d)/prefix
# The prefix goes once its server has ended and saved it.
trap '/usr/lib/wine/wineserver -w; rm -rf "$(dirname "$WINEPREFIX")"' EXIT
fail() { echo "installer test: $*" >&2; exit 1; }
wine() { "$top/scripts/wine-run" "$@"; }
# Bounded: 30 s.
eventually() { for _ in $(seq 300); do eval "$1" && return 0; sleep 0.1; done; return 1; }

programs="$WINEPREFIX/drive_c/Program Files/talvo"
entry="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/塔沃高清影音.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\talvo'

wine "$setup" /S || fail "the silent install failed"
[[ -s "$programs/talvo.exe" ]] || fail "no talvo.exe in Program Files"
[[ -s "$programs/uninstall.exe" ]] || fail "no uninstaller"
[[ -s "$entry" ]] || fail "no Start-menu entry"
wine reg query "$key" /v UninstallString 2>/dev/null | grep -q 'uninstall.exe' ||
  fail "the uninstaller is not registered"

# The uninstaller copies itself away and goes on alone: what it removes is watched for.
wine "$programs/uninstall.exe" /S || fail "the silent uninstall failed"
eventually '[[ ! -e "$programs" ]]' || fail "Program Files\\talvo is still there"
[[ ! -e "$entry" ]] || fail "the Start-menu entry is still there"
wine reg query "$key" >/dev/null 2>&1 && fail "the uninstaller is still registered"
echo "installer test: installed and uninstalled silently"
