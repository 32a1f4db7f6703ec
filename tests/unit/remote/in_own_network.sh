#!/bin/sh
# Runs a command in a network namespace of its own: loopback up, with the address 10.77.0.1/24
# and a default route through it, so that a broadcast to 255.255.255.255 goes out through
# loopback and comes back to the namespace's own sockets, and nowhere else. Exits 77 (the
# test is skipped) where no namespace can be made (no privilege, no unshare or ip).
command -v unshare >/dev/null && command -v ip >/dev/null || exit 77
unshare --net true 2>/dev/null || exit 77
exec unshare --net sh -c '
  ip link set lo up && ip addr add 10.77.0.1/24 dev lo &&
  ip route add default dev lo src 10.77.0.1 || exit 77
  KV_OWN_NETWORK_NAMESPACE=1 exec "$@"' sh "$@"
