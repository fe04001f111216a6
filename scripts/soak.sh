#!/usr/bin/env bash
# Runs the whole suite several times in a row, each time at twice the cores
# in parallel, in a build with the address and undefined-behaviour
# sanitizers: a test that leans on timing, on running alone or on a quiet
# machine fails here when it would fail by chance elsewhere. Then says how
# many runs passed and failed, and which tests failed how often.
#
#   scripts/soak.sh [RUNS] [JOBS]
#
# RUNS defaults to 5, JOBS to twice the cores. The build is its own folder,
# build-soak (SOAK_BUILD_DIR names another); every run's output is kept in
# its soak/ folder. Not part of scripts/test.sh: it takes a while.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-5}
jobs=${2:-$((2 * $(nproc)))}
dir=${SOAK_BUILD_DIR:-build-soak}
export QT_QPA_PLATFORM=offscreen
# As the README's test command runs ctest in the sanitizer build: leaks are
# checked in its direct runs, not here.
export ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1

cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Debug -DMU_SANITIZE=ON
cmake --build "$dir" -j"$(nproc)"

mkdir -p "$dir/soak"
passed=0
failed=0
declare -A failures=()
declare -A failedIn=()
for run in $(seq 1 "$runs"); do
  log="$dir/soak/run-$run.log"
  echo "== run $run of $runs, $jobs at a time"
  set +e
  (cd "$dir" && ctest -j"$jobs" --timeout 300 --output-on-failure) >"$log" 2>&1
  status=$?
  set -e
  tail -n 3 "$log"
  if [ "$status" -eq 0 ]; then
    passed=$((passed + 1))
    continue
  fi
  failed=$((failed + 1))
  # ctest names the failed tests there as "number:name"; without it, ctest
  # itself failed.
  failedList="$dir/Testing/Temporary/LastTestsFailed.log"
  [ -f "$failedList" ] || echo "0:(ctest itself, see the log)" >"$failedList"
  while IFS=: read -r _ name; do
    [ -n "$name" ] || continue
    failures[$name]=$((${failures[$name]:-0} + 1))
    failedIn[$name]="${failedIn[$name]:-}${failedIn[$name]:+, }$run"
  done <"$failedList"
  rm -f "$failedList"
done

echo
echo "$runs runs of the whole suite, $jobs at a time: $passed passed, $failed failed"
if [ "$failed" -eq 0 ]; then
  exit 0
fi
echo "Failed tests (times, runs; the output is in $dir/soak/run-N.log):"
for name in "${!failures[@]}"; do
  echo "  ${failures[$name]}x $name (run ${failedIn[$name]})"
done | sort
exit 1
