#!/bin/sh
# Adds Vantrel Suite to the desktop's application menu, started from this folder. Run it again
# after moving the folder.
set -eu
here="$(cd "$(dirname "$0")" && pwd)"
apps="${XDG_DATA_HOME:-$HOME/.local/share}/applications"
mkdir -p "$apps"
sed "s|VANTREL_DIR|$here|g" "$here/vantrel.desktop" >"$apps/vantrel-suite.desktop.part"
mv "$apps/vantrel-suite.desktop.part" "$apps/vantrel-suite.desktop"
echo "Added $apps/vantrel-suite.desktop"
