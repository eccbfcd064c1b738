#!/bin/sh
# Ends every process whose environment names the Wine prefix (WINEPREFIX=PREFIX): Wine's
# service processes of a prefix with 32-bit and 64-bit Wine can outlive "wineserver -k".
#   end_wine_prefix_processes.sh PREFIX
for environ in /proc/[0-9]*/environ; do
  if { tr '\0' '\n' <"$environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$1"; then
    pid=${environ#/proc/}
    kill -9 "${pid%/environ}" 2>/dev/null
  fi
done
exit 0
