#!/bin/sh
# Runs a test program as the unprivileged user nobody when started as root,
# and as the caller otherwise: a read-only folder does not stop root's writes,
# so tests of read-only folders need an ordinary user. The program is copied
# to a fresh folder first, as the build folder may be closed to other users.
set -e
if [ "$(id -u)" -ne 0 ]; then
    exec "$@"
fi
program=$1
shift
place=$(mktemp -d)
trap 'rm -rf "$place"' EXIT
chmod 755 "$place"
cp "$program" "$place/"
setpriv --reuid=nobody --regid=nogroup --clear-groups "$place/$(basename "$program")" "$@"
