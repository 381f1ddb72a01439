#!/usr/bin/env bash
# Sets up, builds and starts the program; arguments after -- go to the program.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/build.sh" "$here/build"
[ "${1:-}" = "--" ] && shift
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run: no display; starting under xvfb-run" >&2
  exec xvfb-run -a "$here/build/bin/vantrel" "$@"
fi
exec "$here/build/bin/vantrel" "$@"
