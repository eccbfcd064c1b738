#!/bin/sh
# Adds Vantrel Suite to the desktop's application menu, started from this folder. Run it again
# after moving the folder. The folder's path may hold spaces or other special characters: Exec=
# gets it quoted and escaped as desktop menus read it, Path= and Icon= as plain
# strings.
set -eu
here="$(cd "$(dirname "$0")" && pwd)"
apps="${XDG_DATA_HOME:-$HOME/.local/share}/applications"
mkdir -p "$apps"
# Inside the quotes: \ " ` $ get a backslash; then the value's own escaping doubles every
# backslash; % is written %%.
quoted="$(printf '%s/vantrel' "$here" | sed -e 's/[\\"`$]/\\&/g' -e 's/\\/\\\\/g' -e 's/%/%%/g')"
plain="$(printf '%s' "$here" | sed -e 's/\\/\\\\/g')"
QUOTED="\"$quoted\"" PLAIN="$plain" awk '
  function put(line, mark, value,    i) {
    while ((i = index(line, mark)) > 0) line = substr(line, 1, i - 1) value substr(line, i + length(mark))
    return line
  }
  /^Exec=/ { print put($0, "\"VANTREL_DIR/vantrel\"", ENVIRON["QUOTED"]); next }
  { print put($0, "VANTREL_DIR", ENVIRON["PLAIN"]) }
' "$here/vantrel.desktop" >"$apps/vantrel-suite.desktop.part"
mv "$apps/vantrel-suite.desktop.part" "$apps/vantrel-suite.desktop"
echo "Added $apps/vantrel-suite.desktop"
