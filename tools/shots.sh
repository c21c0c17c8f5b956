#!/usr/bin/env bash
# Takes the documentation's pictures into docs/: builds tradumar_shots and the
# demo maker in build/ (the folder test.sh uses), makes a fresh demo project in
# build/shots-demo/ and runs every shot, or only the files named:
#   tools/shots.sh [main_window.png ...]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${TRADUMAR_BUILD_DIR:-build}

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target tradumar_shots make_demo

demo="$(pwd)/$build/shots-demo/demo"
rm -rf "$demo"
"$build/tools/make-demo/make_demo" "$demo" >/dev/null
(cd "$demo" && "$OLDPWD/$build/tools/shots/tradumar_shots" "$demo/Demo.tpr" "$OLDPWD/docs" "$@")
