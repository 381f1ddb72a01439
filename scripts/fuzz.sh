#!/usr/bin/env bash
# Builds the fuzz targets of fuzz/ with clang and libFuzzer (address and undefined-behaviour
# checks on) into their own folder, build-fuzz/, and runs each for SECONDS (default 60):
#   scripts/fuzz.sh [SECONDS]
# Prints one line per target,
#   fuzz <target>: <N> execs, <M> crashes
# and exits non-zero when any target crashed, leaked or hung. The input of each such run is
# kept in build-fuzz/crashes/<target>/, its log beside it. The seed corpora in fuzz/corpus
# are copied to a work folder first; the repository's copies are never written.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -lt 1 ]; then
  echo "usage: scripts/fuzz.sh [SECONDS]" >&2
  exit 2
fi
build="$here/build-fuzz"
crashes="$build/crashes"
# A run that keeps crashing at once is not restarted for ever.
max_crashes=10

# --- what the build needs, from Debian's packages ------------------------------------
install() { "$here/scripts/setup.sh" "$@"; }
install clang cmake make zlib1g-dev libicu-dev
# The fuzzer and sanitizer runtimes come in a package named after clang's major version.
major="$(clang++ -dumpversion | cut -d. -f1)"
if apt-cache show "libclang-rt-$major-dev" >/dev/null 2>&1; then
  install "libclang-rt-$major-dev"
else
  install "libclang-common-$major-dev"
fi

# --- build -------------------------------------------------------------------------------
mkdir -p "$build"
if ! { cmake -S "$here/fuzz" -B "$build" -DCMAKE_CXX_COMPILER=clang++ \
         -DCMAKE_BUILD_TYPE=RelWithDebInfo &&
       cmake --build "$build" -j"$(nproc)"; } >"$build/build.log" 2>&1; then
  cat "$build/build.log" >&2
  echo "fuzz: the build failed" >&2
  exit 1
fi
targets=()
for src in "$here"/fuzz/fuzz_*.cpp; do targets+=("$(basename "$src" .cpp)"); done

# The targets write their scratch files here; memory, when there is some, so that the
# writers' syncs cost nothing.
shm=/dev/shm
[ -d "$shm" ] && [ -w "$shm" ] || shm="$build"
scratch="$(mktemp -d "$shm/vantrel-fuzz.XXXXXX")"
trap 'rm -rf "$scratch"' EXIT

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1}"

# Execs of one libFuzzer log: its final count, else the last status line's.
execs_of() {
  local n
  n="$(sed -n 's/^stat::number_of_executed_units: *\([0-9]*\).*/\1/p' "$1" | tail -n 1)"
  [ -n "$n" ] || n="$(sed -n 's/^#\([0-9][0-9]*\).*/\1/p' "$1" | tail -n 1)"
  echo "${n:-0}"
}

failed=0
for t in "${targets[@]}"; do
  work="$build/run/$t"
  rm -rf "$work" "$crashes/$t"
  mkdir -p "$work/corpus" "$crashes/$t"
  [ -d "$here/fuzz/corpus/$t" ] && cp -r "$here/fuzz/corpus/$t/." "$work/corpus/"
  execs=0
  count=0
  run=0
  start=$(date +%s)
  left=$seconds
  while [ "$left" -gt 0 ] && [ "$count" -lt "$max_crashes" ]; do
    run=$((run + 1))
    log="$crashes/$t/run$run.log"
    rc=0
    # A hang inside one input ends that run (-timeout); one outside any input ends it here.
    TMPDIR="$scratch" timeout -k 10 $((left + 120)) "$build/$t" \
      -max_total_time="$left" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$crashes/$t/" "$work/corpus" >"$log" 2>&1 || rc=$?
    execs=$((execs + $(execs_of "$log")))
    if [ "$rc" -eq 0 ]; then
      rm -f "$log"
      break
    fi
    count=$((count + 1))
    left=$((seconds - ($(date +%s) - start)))
  done
  echo "fuzz $t: $execs execs, $count crashes"
  if [ "$count" -gt 0 ]; then
    failed=1
    echo "fuzz $t: the inputs and logs are kept in $crashes/$t" >&2
  else
    rmdir "$crashes/$t" 2>/dev/null || true
  fi
done
exit "$failed"
