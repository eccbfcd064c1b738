#!/bin/sh
# The link's Wine tests as they run for a pilot: in prefixes of the user's own (Wine takes no
# other user's), a 64-bit and a 32-bit one, made first and removed after:
#   wine_tests_in_own_prefixes.sh TEST_PROGRAM GTEST_FILTER
# From the environment: CMAKE, PREFIX_SCRIPT (cmake/wine_prefix.cmake), WINE and WINE32 (the
# 64-bit and 32-bit loaders), WINESERVER, KEEPER and KEEPER32 (link-driver.exe of each build).
set -u
program=$1
filter=$2
prefix64=$HOME/wine-prefix
prefix32=$HOME/wine-prefix-32
prefix() { # ACTION PREFIX LOADER KEEPER ARCH
  "$CMAKE" -DACTION="$1" -DPREFIX="$2" -DWINE="$3" -DWINESERVER="$WINESERVER" -DKEEPER="$4" -DARCH="$5" \
    -P "$PREFIX_SCRIPT"
}
status=0
prefix create "$prefix64" "$WINE" "$KEEPER" win64 && prefix create "$prefix32" "$WINE32" "$KEEPER32" win32 &&
  VANTREL_TEST_WINE_PREFIX=$prefix64 VANTREL_TEST_WINE32_PREFIX=$prefix32 "$program" --gtest_filter="$filter" ||
  status=1
prefix remove "$prefix64" "$WINE" "" win64
prefix remove "$prefix32" "$WINE32" "" win32
exit "$status"
