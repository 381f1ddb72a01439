#!/usr/bin/env bash
# Sets up, builds and runs every test.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build}"
"$here/scripts/build.sh" "$build"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
