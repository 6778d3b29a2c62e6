#!/usr/bin/env bash
# Sets up, builds and runs every test: once in a release build, once more with
# AddressSanitizer and UndefinedBehaviorSanitizer. Fails on any failure or sanitizer report.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh test

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
# The program writes its settings and desktop registration under the XDG folders: keep the
# tests' runs out of the user's own.
xdg=$(mktemp -d)
trap 'rm -rf "$xdg"' EXIT
export XDG_CONFIG_HOME=$xdg/config XDG_DATA_HOME=$xdg/data XDG_RUNTIME_DIR=$xdg/runtime
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

echo "== release build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs" | tee build/ctest.log

echo "== sanitizer build (address, undefined)"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPICTARIUM_SANITIZE=address,undefined \
  -DPICTARIUM_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan -j "$jobs"
export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp
ctest --test-dir build-asan --output-on-failure -j "$jobs" | tee build-asan/ctest.log

echo "== fuzz targets: a short fixed run over seeds and past crash inputs"
fuzz/build.sh >/dev/null 2>&1 || fuzz/build.sh
for f in build-fuzz/fuzz/*_fuzzer; do
  t=$(basename "$f" _fuzzer)
  dirs=(build-fuzz/fuzz-seeds/"$t")
  [ -d fuzz/regressions/"$t" ] && dirs+=(fuzz/regressions/"$t")
  printf '%s: ' "$t"
  "$f" -runs=3000 -seed=1 "${dirs[@]}" 2>&1 | tail -1
done

# One closing line over both test runs and the fuzz runs.
total=0
for log in build/ctest.log build-asan/ctest.log; do
  n=$(sed -n 's/.*tests failed out of \([0-9]*\).*/\1/p' "$log" | tail -1)
  total=$((total + ${n:-0}))
done
fuzzers=$(ls build-fuzz/fuzz/*_fuzzer | wc -l)
echo "test.sh: $((total + fuzzers)) passed, 0 failed"
