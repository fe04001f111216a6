#!/usr/bin/env bash
# The demo as a newcomer starts it, on an existing build folder (given as the
# first argument), whatever its generator and build type: it shows the
# build's progress up to 100% once all is built, names every password the
# seeded forum asks for, starts the forum and the application, fills no
# terminal with the same line, and leaves the build folder as it was (it
# configures no folder that is configured). The application draws offscreen
# here, so no display is needed.
set -euo pipefail
build=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
out=$(mktemp)
demo=""
# The demo runs in a process group of its own: stopping the group ends the
# forum and the application (the demo's own trap ends them too) and a build
# still under way.
stop() {
  if [ -n "$demo" ]; then
    kill -TERM -- -"$demo" 2>/dev/null || true
    wait "$demo" 2>/dev/null || true
    demo=""
  fi
}
trap 'stop; rm -f "$out"' EXIT

cache="$build/CMakeCache.txt"
cache_before=$(stat -c '%y %s' "$cache")
sum_before=$(md5sum <"$cache")

DISPLAY=${DISPLAY:-:mu-demo-test} QT_QPA_PLATFORM=offscreen MU_DEMO_BUILD="$build" \
  setsid "$root/scripts/run-demo.sh" >"$out" 2>&1 &
demo=$!
started=""
for _ in $(seq 600); do
  kill -0 "$demo" 2>/dev/null || break
  if grep -q "Close the window to end" "$out"; then
    # The application's first requests.
    sleep 3
    started=yes
    break
  fi
  sleep 0.2
done
stop

failed=0
expect() {
  if ! grep -qE "$1" "$out"; then
    echo "FAIL: the demo's output has no line matching: $1"
    failed=1
  fi
}
[ -n "$started" ] || { echo "FAIL: the demo did not start"; failed=1; }
expect '^  [0-9]+% built$'
# The last step of the build (a link) takes a while: 100% comes once, after
# every other step.
last=$(grep -E '^  [0-9]+% built$' "$out" | tail -n 1 || true)
if [ "$last" != "  100% built" ] || [ "$(grep -c '^  100% built$' "$out" || true)" -ne 1 ]; then
  echo "FAIL: the progress does not end at 100% once (its last line: '$last')"
  failed=1
fi
if [ "$(stat -c '%y %s' "$cache")" != "$cache_before" ] || [ "$(md5sum <"$cache")" != "$sum_before" ]; then
  echo "FAIL: the demo configured the build folder again ($cache changed)"
  failed=1
fi
expect 'alice / secret1'
expect 'Staff Lounge / letmein'
expect '^The test forum is at http://127\.0\.0\.1:[0-9]+/forum'
analytics=$(grep -c "Analytics error" "$out" || true)
if [ "$analytics" -gt 1 ]; then
  echo "FAIL: the same analytics line $analytics times"
  failed=1
fi
if [ "$failed" -ne 0 ]; then
  echo "---- the demo's output:"
  cat "$out"
fi
exit "$failed"
