#!/usr/bin/env bash
# Sets up, builds and runs the demo: the sample panel "C172 Skyhawk" starts on the sample
# data folder build/demo-data, made from demo/ when it is missing (delete it to start
# afresh). A user's own panels are never touched. Arguments after -- go to the program
# in place of "start".
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/build.sh" "$here/build"
data="$here/build/demo-data"
if [ ! -d "$data" ]; then
  mkdir -p "$data.tmp"
  cp -R "$here/demo/." "$data.tmp/"
  mv "$data.tmp" "$data"
  echo "demo: sample panels copied to $data" >&2
fi
[ "${1:-}" = "--" ] && shift
[ $# -eq 0 ] && set -- start
export APPDATA="$data"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  # A virtual screen nobody sees: its display and key are printed so that a picture of it
  # can be taken (README).
  auth="$here/build/demo-xauth"
  exec xvfb-run -a -f "$auth" -s "-screen 0 1920x1080x24" sh -c \
    'echo "demo: no display; running on the virtual display $DISPLAY (1920x1080), key in $XAUTHORITY" >&2
     exec "$0" "$@"' "$here/build/bin/vantrel" "$@"
fi
exec "$here/build/bin/vantrel" "$@"
