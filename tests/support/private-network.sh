#!/bin/sh
# Runs a test program in a network of its own, loopback only, where the system lets us make
# one (as root, or in a user namespace of ours): no other program's terminals, hosts or ports
# are there. Elsewhere it runs as it is, and takes addresses no other program holds.
#   private-network.sh PROGRAM [ARGUMENTS...]
for own in -n -rn; do
  if unshare "$own" true 2>/dev/null; then
    exec unshare "$own" sh -c 'ip link set lo up && exec "$0" "$@"' "$@"
  fi
done
exec "$@"
