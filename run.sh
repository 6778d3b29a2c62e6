#!/usr/bin/env bash
# Sets up, builds a release build of the program and starts Pictarium. Arguments go to the
# program. Tests and benchmarks are left out here (./test.sh builds those), so only the
# program's own packages are needed.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh run
cmake -S . -B build-run -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPICTARIUM_BUILD_TESTS=OFF -DPICTARIUM_BUILD_BENCH=OFF >/dev/null
cmake --build build-run -j "$(nproc)" --target pictarium ilftool pictarium_sample_library
# Without arguments: a sample library of the program's own icons, made by the build.
if [ $# -eq 0 ] && [ -f build-run/sample.ilf ]; then
  set -- build-run/sample.ilf
fi
exec build-run/app/pictarium "$@"
