#!/usr/bin/env bash
# What a screen reader finds, and what the keyboard alone does, in the real client against the
# demo service: the AT-SPI tree on a private session bus (tests/e2e/accessibility_tree.py).
# usage: tests/e2e/accessibility_test.sh BUILD_DIR   (on a display, inside dbus-run-session)
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
test_name=accessibility_test wait_tenths=100 fail_log=client.log
source "$top/tests/support/shell_test.sh"

# The toolkit's bridge speaks only where the accessibility bus runs, and a test may have turned
# it off for the others.
unset NO_AT_BRIDGE
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/bus.log" 2>&1 &
bus=$!
eventually 'gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
  --method org.a11y.Bus.GetAddress >/dev/null 2>&1' || { kill "$bus"; fail "the accessibility bus did not start"; }

mkdir -p "$work/app"
start_demo_service "$build" "$work/app"
TALVO_APP_DIR="$work/app" "$build/talvo" >"$work/client.log" 2>&1 &
client=$!
status=0
/usr/bin/python3 "$top/tests/e2e/accessibility_tree.py" "$client" "$work/service.log" || status=$?
kill "$bus" 2>/dev/null || true
exit "$status"
