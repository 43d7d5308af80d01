#!/usr/bin/env bash
# The installer as a user runs it, silently, under Wine in a prefix of its own: talvo.exe and the
# loader of Edge's engine in Program Files, the Start-menu entry, the uninstaller registered; then
# the silent uninstall takes all of it away again. The portable zip carries the same files, and
# talvo.exe needs no DLL beyond Windows' own (the loader is loaded when the views are made).
# usage: tests/windows/installer_test.sh SETUP.exe PORTABLE.zip
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
setup=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
test_name="installer test"
wait_tenths=300
source "$top/tests/support/shell_test.sh"
export WINEPREFIX=$work/prefix
# The prefix goes once its server has ended and saved it.
before_cleanup() { /usr/lib/wine/wineserver -w; }
wine() { "$top/scripts/wine-run" "$@"; }

programs="$WINEPREFIX/drive_c/Program Files/talvo"
entry="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/塔沃高清影音.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\talvo'

zip=$2
carried=(talvo.exe WebView2Loader.dll WebView2Loader-LICENSE.txt)
listed=$(unzip -Z1 "$zip")
for file in "${carried[@]}"; do
  grep -qx "$file" <<<"$listed" || fail "the zip has no $file"
done
# What Windows itself has: the system's DLLs, and the API sets it maps onto them.
windows_own='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comctl32|comdlg32|ws2_32|'
windows_own+='wininet|urlmon|uxtheme|oleacc|winspool\.drv|version|shlwapi|rpcrt4|crypt32|bcrypt|'
windows_own+='msvcrt|iphlpapi|winmm|secur32|normaliz|wldap32|dwmapi|imm32|msimg32|api-ms-win-.*)'
windows_own+='(\.dll)?$'
unzip -p "$zip" talvo.exe >"$(dirname "$WINEPREFIX")/talvo.exe"
imports=$(x86_64-w64-mingw32-objdump -p "$(dirname "$WINEPREFIX")/talvo.exe" |
  awk '/DLL Name:/ {print tolower($3)}')
[[ -n "$imports" ]] || fail "no imports read from talvo.exe"
foreign=$(grep -Ev "$windows_own" <<<"$imports" || true)
[[ -z "$foreign" ]] || fail "talvo.exe needs DLLs beyond Windows' own: $foreign"

wine "$setup" /S || fail "the silent install failed"
for file in "${carried[@]}"; do
  [[ -s "$programs/$file" ]] || fail "no $file in Program Files"
done
[[ -s "$programs/uninstall.exe" ]] || fail "no uninstaller"
[[ -s "$entry" ]] || fail "no Start-menu entry"
wine reg query "$key" /v UninstallString 2>/dev/null | grep -q 'uninstall.exe' ||
  fail "the uninstaller is not registered"

# The uninstaller copies itself away and goes on alone: what it removes is watched for.
wine "$programs/uninstall.exe" /S || fail "the silent uninstall failed"
eventually '[[ ! -e "$programs" ]]' || fail "Program Files\\talvo is still there"
[[ ! -e "$entry" ]] || fail "the Start-menu entry is still there"
wine reg query "$key" >/dev/null 2>&1 && fail "the uninstaller is still registered"
echo "installer test: the zip and the installer carry ${carried[*]}; installed and uninstalled silently"
