#!/bin/sh
# Runs a test program as an ordinary user, so that a rule that only holds for root fails:
#   as_ordinary_user.sh PROGRAM [ARGUMENTS...]
# Under root: as the user scripts/install-deps.sh creates (vantrel-tester), else as nobody,
# with a fresh home of its own and no runtime folder of root's. Otherwise as the caller.
set -eu
if [ "$(id -u)" -ne 0 ]; then
  exec "$@"
fi
user=vantrel-tester
id -u "$user" >/dev/null 2>&1 || user=nobody
home=$(mktemp -d /tmp/vantrel-user-home-XXXXXX)
chown "$user:$(id -g "$user")" "$home"
trap 'rm -rf "$home"' EXIT INT TERM
status=0
setpriv --reuid="$user" --regid="$(id -g "$user")" --init-groups \
  env -u XDG_RUNTIME_DIR -u WINEPREFIX HOME="$home" USER="$user" LOGNAME="$user" "$@" || status=$?
exit "$status"
