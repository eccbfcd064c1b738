#!/bin/sh
# The .deb as a Debian or Ubuntu pilot installs it: made by CPack, installed with apt-get (which
# fetches what it depends on), its starter printing the version and its program opening a window
# on a display of its own (Xvfb); removed again at the end.
#   deb_install_test.sh BUILD_DIR VERSION        (as root; exit 77 = skipped)
set -eu
build="$1"
version="$2"
[ "$(id -u)" -eq 0 ] || { echo "apt-get needs root: skipped"; exit 77; }
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || { echo "no Xvfb or xdotool: skipped"; exit 77; }

work="$(mktemp -d)"
xvfb=""
program=""
cleanup() {
  [ -n "$program" ] && kill "$program" 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  DEBIAN_FRONTEND=noninteractive apt-get remove -y -q vantrel-suite >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

(cd "$build" && cpack -G DEB --config CPackConfig.cmake >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; exit 1; }
deb="$build/packages/vantrel-suite_${version}_amd64.deb"
[ -f "$deb" ] || { echo "no $deb"; cat "$work/cpack.log"; exit 1; }
depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"
for name in libqt6widgets6 libqt6network6 libqt6printsupport6 libespeak-ng1 espeak-ng-data qt6-qpa-plugins; do
  case "$depends" in *"$name"*) ;; *) echo "the package does not depend on $name"; exit 1 ;; esac
done

DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$deb" >"$work/apt.log" 2>&1 || { cat "$work/apt.log"; exit 1; }
for f in /opt/vantrel-suite/vantrel /opt/vantrel-suite/help/manual.pdf /opt/vantrel-suite/LICENSE \
         /usr/bin/vantrel-suite /usr/share/applications/vantrel-suite.desktop; do
  [ -e "$f" ] || { echo "the package did not install $f"; exit 1; }
done

export HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
out="$(vantrel-suite --version)"
[ "$out" = "Vantrel Suite $version" ] || { echo "vantrel-suite --version printed: $out"; exit 1; }

# A display of its own, then the program: without a simulator it first asks about it.
for n in $(seq 300 360); do [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break; done
Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=":$n"
i=0
while [ ! -e "/tmp/.X11-unix/X$n" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
vantrel-suite >"$work/program.log" 2>&1 &
program=$!
i=0
while ! xdotool search --name "^Vantrel Suite" >/dev/null 2>&1; do
  i=$((i + 1))
  [ $i -lt 300 ] || { echo "no window of the program appeared"; cat "$work/program.log"; exit 1; }
  kill -0 "$program" 2>/dev/null || { echo "the program ended"; cat "$work/program.log"; exit 1; }
  sleep 0.1
done
[ -x "$XDG_DATA_HOME/vantrel-suite/vantrel" ] || { echo "no copy of the program in the user's folder"; exit 1; }
echo "the installed program shows its window: $(xdotool search --name '^Vantrel Suite' getwindowname | head -1)"
