#!/usr/bin/env bash
# Cross-builds the core, the Windows platform and the test programs for 64-bit Windows
# into build-windows/, runs every Windows test program under Wine, and compares the files
# a fixed set of store operations writes on Linux and on Windows, byte for byte.
#
# Wine runs with a prefix of its own in build-windows/, inside a private network
# namespace that holds only loopback with a multicast route, so the socket tests never
# reach a real interface. Any failure, and any sign that Wine did not run the tests,
# ends the script with a non-zero status.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="$here/build-windows"
logs="$build/logs"

fail() {
  echo "test-windows: FAILED: $*" >&2
  exit 1
}

find_wine_tool() {
  local name="$1"
  if command -v "$name" >/dev/null 2>&1; then command -v "$name"; return; fi
  # Debian's wine64 package keeps its programs out of PATH unless "wine" is installed.
  if [ -x "/usr/lib/wine/$name" ]; then echo "/usr/lib/wine/$name"; return; fi
  return 1
}

export WINEPREFIX="$build/wineprefix"
export WINEARCH=win64
export WINEDEBUG=-all
# No Mono or Gecko: nothing here needs them, and their installers would ask.
export WINEDLLOVERRIDES="mscoree,mshtml="

# --- inside the private network namespace: Wine and its server ------------------------
if [ "${VANTREL_WINDOWS_TESTS_INSIDE:-}" = 1 ]; then
  ip link set lo up
  ip route add 224.0.0.0/4 dev lo
  wine="$(find_wine_tool wine64)" || fail "wine64 not found"
  wineserver="$(find_wine_tool wineserver)" || fail "wineserver not found"
  trap '"$wineserver" -k >/dev/null 2>&1 || true' EXIT

  echo "test-windows: starting Wine in $WINEPREFIX"
  if ! "$wine" wineboot -i >"$logs/wineboot.log" 2>&1; then
    cat "$logs/wineboot.log" >&2
    fail "Wine cannot start (wineboot failed)"
  fi

  # Tell the socket tests that they run in the private network (they check it, too).
  export VANTREL_PRIVATE_NETWORK=1
  status=0
  for exe in "$build"/bin/test_*.exe; do
    name="$(basename "$exe" .exe)"
    log="$logs/$name.log"
    rc=0
    (cd "$build/bin" && timeout 900 "$wine" "$exe") >"$log" 2>&1 || rc=$?
    echo "$rc" >"$logs/$name.rc"
    if [ "$rc" -ne 0 ]; then status=1; fi
  done

  # The Windows half of the parity check; the script compares after the namespace ends.
  (cd "$build/bin" && timeout 300 "$wine" store_parity.exe "Z:${here//\//\\}\\tests\\parity\\fixture" \
    "Z:${build//\//\\}\\parity\\windows") >"$logs/store_parity.log" 2>&1 || status=1
  exit "$status"
fi

# --- outside: packages, builds, then the run in the namespace ---------------------------
start=$(date +%s)

packages=(
  cmake make
  g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
  libz-mingw-w64-dev googletest wine64
  iproute2 util-linux
)
"$here/scripts/setup.sh" "${packages[@]}"
# The Linux half of the parity check is built with the Linux build's own packages.
"$here/scripts/setup.sh"

jobs="$(nproc)"
echo "test-windows: cross-building into $build"
cmake -S "$here" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTREL_BUILD_GUI=OFF >/dev/null
cmake --build "$build" -j"$jobs"
echo "test-windows: building the Linux store_parity into $build/linux"
cmake -S "$here" -B "$build/linux" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTREL_BUILD_GUI=OFF >/dev/null
cmake --build "$build/linux" -j"$jobs" --target store_parity

shopt -s nullglob
tests=("$build"/bin/test_*.exe)
shopt -u nullglob
[ ${#tests[@]} -gt 0 ] || fail "no Windows test program was built"
for exe in "${tests[@]}" "$build/bin/store_parity.exe"; do
  file "$exe" 2>/dev/null | grep -q "PE32+ executable.*x86-64" || [ "$(head -c 2 "$exe")" = "MZ" ] ||
    fail "$exe is not a Windows executable"
done

rm -rf "$logs" "$build/parity"
mkdir -p "$logs" "$build/parity"
# A Wine server of this prefix that runs outside the namespace would open the sockets there.
if wineserver="$(find_wine_tool wineserver)"; then "$wineserver" -k >/dev/null 2>&1 || true; fi

if unshare -n true 2>/dev/null; then
  unshare_args=(-n)
elif unshare -rn true 2>/dev/null; then
  unshare_args=(-rn)
else
  fail "cannot make a private network namespace (unshare -n needs root or user namespaces)"
fi
inside_rc=0
VANTREL_WINDOWS_TESTS_INSIDE=1 unshare "${unshare_args[@]}" bash "$here/scripts/test-windows.sh" || inside_rc=$?

# Every program must have run under Wine, printed gtest's summary and passed.
total=0
failed=0
for exe in "${tests[@]}"; do
  name="$(basename "$exe" .exe)"
  log="$logs/$name.log"
  rc="$(cat "$logs/$name.rc" 2>/dev/null || echo missing)"
  passed="$(sed -n 's/^\[  PASSED  \] \([0-9][0-9]*\) tests\{0,1\}\..*/\1/p' "$log" 2>/dev/null | tail -1)"
  ran="$(sed -n 's/^\[==========\] \([0-9][0-9]*\) tests\{0,1\} from .* ran\..*/\1/p' "$log" 2>/dev/null | tail -1)"
  problem=""
  if [ "$rc" != 0 ]; then problem="exit status $rc"; fi
  if [ -z "$ran" ] || [ "$ran" -eq 0 ]; then problem="${problem:+$problem, }no tests ran"; fi
  if [ -z "$passed" ] || [ "$passed" != "$ran" ]; then problem="${problem:+$problem, }not all tests passed"; fi
  if grep -q '^\[  SKIPPED \]' "$log" 2>/dev/null; then problem="${problem:+$problem, }tests were skipped"; fi
  if [ -n "$problem" ]; then
    failed=$((failed + 1))
    echo "---- $name: $problem; its output:" >&2
    grep -E '^\[  (FAILED|SKIPPED) \]|Failure|error|wine:' "$log" >&2 || tail -40 "$log" >&2 || true
  else
    echo "test-windows: $name: $passed tests passed"
    total=$((total + passed))
  fi
done
[ "$failed" -eq 0 ] || fail "$failed of ${#tests[@]} Windows test programs failed (logs in $logs)"
[ "$inside_rc" -eq 0 ] || fail "the run under Wine ended with status $inside_rc (logs in $logs)"
[ "$total" -gt 0 ] || fail "no tests ran"

# The same store operations on Linux; then the two folders must be the same, byte for byte.
"$build/linux/bin/store_parity" "$here/tests/parity/fixture" "$build/parity/linux" >"$logs/store_parity_linux.log" 2>&1 ||
  fail "store_parity on Linux: $(cat "$logs/store_parity_linux.log")"
grep -q "store_parity: done" "$logs/store_parity.log" || fail "store_parity under Wine: $(cat "$logs/store_parity.log")"
files="$(cd "$build/parity/linux" && find . -type f | wc -l)"
[ "$files" -gt 0 ] || fail "store_parity wrote nothing"
if ! diff -r "$build/parity/linux" "$build/parity/windows" >"$logs/parity.diff" 2>&1; then
  cat "$logs/parity.diff" >&2
  fail "the files written on Windows differ from those written on Linux"
fi

elapsed=$(($(date +%s) - start))
echo "test-windows: PASSED: $total tests in ${#tests[@]} Windows programs under Wine;" \
  "$files files the same on Linux and Windows; ${elapsed}s"
