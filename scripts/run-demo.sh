#!/usr/bin/env bash
# Shows the application on the loopback test forum: installs what is missing,
# builds the application and the test forum, starts the forum with its seeded
# content on a free loopback port, and starts the application pointed at it.
# The application keeps its settings, signed-in member and pictures in a
# temporary folder for this run only, so the user's own are untouched.
# Closing the window ends both; so does Ctrl-C. Arguments go to the
# application (e.g. --zoom 2).
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat >&2 <<'EOF'
run-demo: there is no display to show the application on.
On a machine without one, run it under a virtual X display:

    sudo apt-get install xvfb
    xvfb-run -a -s "-screen 0 1024x768x24" scripts/run-demo.sh

The window is then drawn on the virtual display, where no one sees it; to
watch and use it, run the demo on a desktop session (or over ssh -X).
EOF
  exit 1
fi

scripts/install-deps.sh
build=${MU_DEMO_BUILD:-build}
# A build folder is configured once, when it is new; one that exists is
# built as it is, whatever its generator and build type.
if [ ! -f "$build/CMakeCache.txt" ]; then
  echo "Configuring $build/ ..."
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug >/dev/null
fi
echo "Building in $build/ (a few minutes the first time) ..."
show() {
  if [ -t 1 ]; then printf '\r  %3s%% built' "$1"; else echo "  $1% built"; fi
}
# The build's progress as it goes, on one line where the terminal allows;
# its whole log stays in the build folder, and its end shows if it fails.
# Make says "[ 42%]" and Ninja "[17/40]" as a step starts, and the last
# step (a link) takes a while: the progress stays below 100% until the
# build has ended well.
progress() {
  local line now shown=-1
  while IFS= read -r line; do
    if [[ $line =~ ^\[\ *([0-9]+)%\] ]]; then
      now=${BASH_REMATCH[1]}
    elif [[ $line =~ ^\[([0-9]+)/([0-9]+)\] ]]; then
      now=$((100 * BASH_REMATCH[1] / BASH_REMATCH[2]))
    else
      continue
    fi
    [ "$now" -le 99 ] || now=99
    # Parallel steps finish out of order: the count only goes up.
    [ "$now" -gt "$shown" ] || continue
    shown=$now
    show "$shown"
  done
  return 0
}
log="$build/demo-build.log"
# One target for both programs, so that one progress covers both.
if ! cmake --build "$build" -j"$(nproc)" --target demo 2>&1 | tee "$log" | progress; then
  if [ -t 1 ]; then echo; fi
  echo "run-demo: the build failed; the end of its log ($log):" >&2
  tail -n 30 "$log" >&2
  exit 1
fi
show 100
if [ -t 1 ]; then echo; fi

run=$(mktemp -d "${TMPDIR:-/tmp}/muforum-demo.XXXXXX")
forum_pid=""
app_pid=""
cleanup() {
  trap - EXIT INT TERM
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$forum_pid" ] && kill "$forum_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$run"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

"$build/testforum/testforum_server" --port 0 >"$run/forum.out" 2>"$run/forum.log" &
forum_pid=$!
# Its first line is its base address.
for _ in $(seq 100); do
  grep -q '^http' "$run/forum.out" 2>/dev/null && break
  if ! kill -0 "$forum_pid" 2>/dev/null; then
    echo "run-demo: the test forum did not start:" >&2
    cat "$run/forum.log" >&2
    exit 1
  fi
  sleep 0.1
done
address=$(head -n 1 "$run/forum.out")
if [[ $address != http* ]]; then
  echo "run-demo: the test forum did not say where it listens" >&2
  exit 1
fi

echo
echo "The test forum is at $address (its log: $run/forum.log)."
"$build/testforum/testforum_server" --help | sed -n '/^Seeded members/,$p'
echo "Sign in with one of them, or go on with \"Skip for now\"; a protected forum asks for its password"
echo "when opened. Close the window to end."
echo

MU_HOME="$run/home" "$build/muforum" --forum "$address" "$@" &
app_pid=$!
# Whichever ends first, the other ends with it.
status=0
wait -n "$app_pid" "$forum_pid" || status=$?
exit "$status"
