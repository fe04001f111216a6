#!/usr/bin/env bash
# Installs what is missing, checks the include directions, configures, builds
# and runs every test: through ctest (one process per test), then every test
# program directly as one process, in a shuffled order, so that no test leans
# on running alone or after another; then what only a real display shows, on
# a virtual X server (scripts/check-on-x.sh: the start-up, 50 times, and a
# walk with the mouse). With MU_SANITIZE=ON the tests run again in a build
# with the address and undefined-behaviour sanitizers, the direct runs with
# the leak check; that build is made with Ninja when it is new (the first
# with Make), so that the tests see both generators.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/check-includes.sh
werror=OFF
[ "${CI:-}" = "true" ] && werror=ON
export QT_QPA_PLATFORM=offscreen

# One test program, shuffled. The leak checker's own tracer now and then
# fails to stop the program's threads at exit ("LeakSanitizer has
# encountered a fatal error"); that, and only that, is tried once more.
run_program() {
  local program=$1 out status attempt
  for attempt in 1 2; do
    set +e
    out=$(timeout 900 "$program" --gtest_shuffle --gtest_brief=1 2>&1)
    status=$?
    set -e
    if [ "$status" -eq 0 ]; then
      echo "$out" | tail -n 2
      return 0
    fi
    if [ "$attempt" -eq 1 ] && grep -q "LeakSanitizer has encountered a fatal error" <<<"$out" \
        && ! grep -q "detected memory leaks" <<<"$out"; then
      echo "(the leak checker's tracer failed; once more)"
      continue
    fi
    break
  done
  echo "$out"
  return "$status"
}

run_suite() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Debug -DMU_WERROR=$werror "$@"
  cmake --build "$dir" -j"$(nproc)"
  (cd "$dir" && ASAN_OPTIONS=detect_leaks=0 ctest --output-on-failure -j"$(nproc)" --timeout 300)
  local program
  while IFS= read -r program; do
    echo "== $program (one process, shuffled)"
    run_program "$program"
  done <"$dir/test-programs.txt"
}

run_suite build
scripts/check-on-x.sh build
if [ "${MU_SANITIZE:-OFF}" = "ON" ]; then
  export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1
  generator=()
  [ -f build-sanitize/CMakeCache.txt ] || generator=(-G Ninja)
  run_suite build-sanitize "${generator[@]}" -DMU_SANITIZE=ON
fi
