#!/usr/bin/env bash
# Sets up, builds a release build and starts Pictarium. Arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh run
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"
if [ -x build/app/pictarium ]; then
  exec build/app/pictarium "$@"
fi
# Until the window is built: show a sample library through ilftool.
sample=build/sample.ilf
build/cli/ilftool new "$sample"
build/cli/ilftool info "$sample"
