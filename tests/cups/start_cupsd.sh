#!/usr/bin/env bash
# Runs a private CUPS server in the foreground: its own configuration, spool
# and socket ($WORKDIR/run/cups.sock) under WORKDIR, which is made afresh.
# The caller stops it by its process id.
#   start_cupsd.sh WORKDIR
set -euo pipefail
work=$1
cupsd=$(command -v cupsd || echo /usr/sbin/cupsd)
[ -x "$cupsd" ] || { echo "missing cupsd"; exit 1; }

rm -rf "$work"
mkdir -p "$work"/{conf,spool,cache,state,log,run}
sock="$work/run/cups.sock"
cat >"$work/conf/cupsd.conf" <<CONF
Listen $sock
LogLevel warn
DirtyCleanInterval 0
PreserveJobFiles Yes
PreserveJobHistory Yes
<Location />
  Order allow,deny
  Allow all
</Location>
<Location /admin>
  Order allow,deny
  Allow all
</Location>
CONF
cat >"$work/conf/cups-files.conf" <<CONF
ServerRoot $work/conf
RequestRoot $work/spool
CacheDir $work/cache
StateDir $work/state
TempDir $work/spool
ErrorLog $work/log/error_log
AccessLog $work/log/access_log
PageLog $work/log/page_log
CONF
if [ "$(id -u)" -eq 0 ]; then
  # cupsd will not run its filters as root: give them the lp account.
  printf 'User lp\nGroup lp\n' >>"$work/conf/cups-files.conf"
  chmod -R a+rwX "$work"
fi
exec "$cupsd" -f -c "$work/conf/cupsd.conf" -s "$work/conf/cups-files.conf"
