# Sourced by the shell tests: a work folder of their own, the client and the service they start
# ended and the folder removed on exit, `fail`, and bounded waits.
# Set before sourcing: test_name (for messages), wait_tenths (how long `eventually` waits, in
# tenths of a second) and, where a failure should show it, fail_log.
work=$(mktemp -d)
client=
service=
cleanup() {
  # A test's own last step (a Wine prefix's server to end before its folder goes), when it has one.
  if declare -F before_cleanup >/dev/null; then before_cleanup || true; fi
  [[ -n "$client" ]] && kill "$client" 2>/dev/null || true
  [[ -n "$service" ]] && kill "$service" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "$test_name: $*" >&2
  [[ -n "${fail_log:-}" ]] && cat "$work/$fail_log" >&2 || true
  exit 1
}
eventually() { for _ in $(seq "$wait_tenths"); do eval "$1" && return 0; sleep 0.1; done; return 1; }
# Starts the demo service from BIN_DIR on a free port, its log in $work/service.log, and writes
# a talvo.ini into APP_FOLDER that sends every host there.
# usage: start_demo_service BIN_DIR APP_FOLDER
start_demo_service() {
  "$1/talvo-demo-service" --port 0 >"$work/service.log" 2>&1 &
  service=$!
  eventually '[[ "$(head -n 1 "$work/service.log" 2>/dev/null)" =~ ^[0-9]+$ ]]' ||
    fail "the demo service did not start"
  port=$(head -n 1 "$work/service.log")
  printf '[service]\nprimary_host = 127.0.0.1:%s\ntv_host = 127.0.0.1:%s\nchannel_host = 127.0.0.1:%s\n' \
    "$port" "$port" "$port" >"$2/talvo.ini"
}
