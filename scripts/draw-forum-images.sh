#!/usr/bin/env bash
# Draws the pictures of the forum's list screens into the bundle
# (resources/ unless another folder is given), at 1x and 2x.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-resources}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
g++ -std=c++20 -fPIC -O1 -o "$work/draw" tools/forum-images/DrawForumImages.cpp \
  $(pkg-config --cflags --libs Qt6Gui)
QT_QPA_PLATFORM=offscreen "$work/draw" "$out"
echo "Pictures written to $out."
