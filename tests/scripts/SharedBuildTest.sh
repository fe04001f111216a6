#!/usr/bin/env bash
# Test runs that share a build folder at once (ctest's beside another run's,
# or two ctest runs): three copies of a program whose tests write pictures
# to the gallery and read them back run together, over and over, and each
# must pass; afterwards the gallery holds their pictures, whole, and nothing
# of theirs half-done. Arguments: the test program and the gallery folder.
set -euo pipefail
program=$1
gallery=$2
run=$(mktemp -d)
trap 'rm -rf "$run"' EXIT
touch "$run/started"
sleep 1

pids=()
for copy in 1 2 3; do
  QT_QPA_PLATFORM=offscreen "$program" --gtest_filter='GalleryTest.*' --gtest_repeat=4 --gtest_brief=1 \
    >"$run/copy-$copy.log" 2>&1 &
  pids+=($!)
done
failed=0
for copy in 1 2 3; do
  if ! wait "${pids[$((copy - 1))]}"; then
    echo "FAIL: copy $copy of $(basename "$program") failed beside the others:"
    grep -A4 -E 'Failure|FAILED' "$run/copy-$copy.log" | head -n 20
    failed=1
  fi
done

# What the programs wrote: every picture replaced whole (a PNG's signature
# and end), and no folder of theirs left behind.
for picture in controls.png alert.png web_view.png; do
  file="$gallery/$picture"
  if [ ! "$file" -nt "$run/started" ]; then
    echo "FAIL: the gallery has no new $picture"
    failed=1
  elif [ "$(head -c 8 "$file" | od -An -tx1 | tr -d ' \n')" != "89504e470d0a1a0a" ] \
      || [ "$(tail -c 8 "$file" | od -An -tx1 | tr -d ' \n')" != "49454e44ae426082" ]; then
    echo "FAIL: the gallery's $picture is not a whole picture"
    failed=1
  fi
done
for pid in "${pids[@]}"; do
  if compgen -G "$gallery/.writing-$pid" >/dev/null; then
    echo "FAIL: the gallery keeps the folder of a run that ended ($gallery/.writing-$pid)"
    failed=1
  fi
done
exit "$failed"
