#!/usr/bin/env bash
# Sets up, builds a release build and starts Pictarium. Arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh run
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"
# Without arguments: a sample library of the program's own icons, made by the build.
if [ $# -eq 0 ] && [ -f build/sample.ilf ]; then
  set -- build/sample.ilf
fi
exec build/app/pictarium "$@"
