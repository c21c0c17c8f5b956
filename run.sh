#!/usr/bin/env bash
# Installs what is missing, builds Tradumar (Release), prepares the demo
# project in demo/ when there is none, and starts the editor from the demo
# folder so that "Proyecto > Abrir" lands next to Demo.tpr.
set -euo pipefail
cd "$(dirname "$0")"
here=$(pwd)

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run.sh: no display found (DISPLAY and WAYLAND_DISPLAY are both empty)." >&2
  echo "Tradumar is a desktop program: run this from a graphical session," >&2
  echo "or under a virtual one, for example: xvfb-run -a ./run.sh" >&2
  exit 1
fi

./tools/install-deps.sh

cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DTRADUMAR_TESTS=OFF >/dev/null
cmake --build build-release -j"$(nproc)" --target tradumar make_demo

if [ ! -f demo/Demo.tpr ]; then
  build-release/tools/make-demo/make_demo "$here/demo"
fi

cd demo
exec "$here/build-release/src/tradumar"
