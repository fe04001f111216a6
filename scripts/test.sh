#!/usr/bin/env bash
# Installs what is missing, checks the include directions, configures, builds
# and runs every test: through ctest (one process per test), then every test
# program directly as one process, in a shuffled order, so that no test leans
# on running alone or after another. MU_SANITIZE=ON does all of it again in a
# build with the address and undefined-behaviour sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/check-includes.sh
werror=OFF
[ "${CI:-}" = "true" ] && werror=ON

run_suite() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Debug -DMU_WERROR=$werror "$@"
  cmake --build "$dir" -j"$(nproc)"
  (cd "$dir" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" --timeout 120)
  local program
  while IFS= read -r program; do
    echo "== $program (one process, shuffled)"
    QT_QPA_PLATFORM=offscreen timeout 900 "$program" --gtest_shuffle --gtest_brief=1
  done < <(find "$dir" -type f -executable -name 'test_*' -not -path '*/CMakeFiles/*' | sort)
}

run_suite build
if [ "${MU_SANITIZE:-OFF}" = "ON" ]; then
  export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1
  run_suite build-sanitize -DMU_SANITIZE=ON
fi
