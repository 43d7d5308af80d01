#!/usr/bin/env bash
# A home network of the test's own, for the 投屏 tests: run inside a network namespace that
# `unshare -n` has just made (the test's command line does), it brings up the loopback and a veth
# pair whose two ends are both in this namespace (10.77.0.1 and 10.77.0.2), with multicast routed
# through it, then runs the given command. Nothing sent here reaches the machine's real interfaces:
# they are not in this namespace. libupnp, the test renderer's stack, refuses the loopback itself,
# hence the pair.
# usage: unshare -n tests/cast/home_network.sh COMMAND [ARG...]
set -euo pipefail

# A namespace of our own has only its loopback: refuse to touch any other.
if ip -o link show | grep -qv ': lo:'; then
  echo "home_network.sh: this namespace has interfaces besides lo; run it under unshare -n" >&2
  exit 1
fi
ip link set lo up
ip link add cast0 type veth peer name cast1
ip addr add 10.77.0.1/24 dev cast0
ip addr add 10.77.0.2/24 dev cast1
ip link set cast0 up
ip link set cast1 up
ip route add 239.0.0.0/8 dev cast0
export TALVO_HOME_NETWORK=cast1
exec "$@"
