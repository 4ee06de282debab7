#!/bin/sh
# Runs a test program as the unprivileged user nobody when started as root,
# and as the caller otherwise: a read-only folder does not stop root's writes,
# so tests of read-only folders need an ordinary user.
if [ "$(id -u)" -eq 0 ]; then
    exec setpriv --reuid=nobody --regid=nogroup --clear-groups "$@"
fi
exec "$@"
