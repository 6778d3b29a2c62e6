#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer + UndefinedBehaviorSanitizer) in
# build-fuzz/ and makes their seed corpora. Prints the build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPICTARIUM_BUILD_FUZZ=ON -DPICTARIUM_SANITIZE=address,undefined \
  -DPICTARIUM_BUILD_GUI=OFF -DPICTARIUM_BUILD_TESTS=OFF -DPICTARIUM_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz -j "$(nproc)" >&2
build-fuzz/fuzz/fuzz_seeds build-fuzz/fuzz-seeds
