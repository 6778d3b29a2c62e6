#!/usr/bin/env bash
# Builds and runs the benchmark suite (release build), then prints the ratios the goals are
# held to. Extra arguments go to Google Benchmark (e.g. --benchmark_filter=Library).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test >/dev/null
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target pictarium_bench >/dev/null
out=$(mktemp)
QT_QPA_PLATFORM=offscreen build/bench/pictarium_bench --benchmark_out="$out" \
  --benchmark_out_format=json "$@"
python3 - "$out" <<'PY'
import json, sys
every = {b["name"]: b for b in json.load(open(sys.argv[1]))["benchmarks"]}
runs = {n: b for n, b in every.items() if b.get("run_type") == "iteration"}
def cpu(name):
    b = runs.get(name)
    return b and b["cpu_time"]
def real(name):
    b = runs.get(name)
    return b and b["real_time"]
print("\nRatios (CPU time unless said; goal in brackets):")
for shape, label in ((0, "2,000 x 50"), (1, "100 x 5,000")):
    r, k, u = cpu(f"BM_ReadLibrary/{shape}/real_time"), cpu(f"BM_PlainUncompressKept/{shape}/real_time"), cpu(f"BM_PlainUncompress/{shape}/real_time")
    w1, w2, c = cpu(f"BM_WriteLibrary/{shape}/1/real_time"), real(f"BM_WriteLibrary/{shape}/2/real_time"), cpu(f"BM_PlainCompress/{shape}/real_time")
    if r and k: print(f"  read {label}: {r/k:.2f}x uncompress into kept buffers [<= 1.3], {r/u:.2f}x into one reused buffer")
    if w1 and c: print(f"  write {label}, 1 thread: {w1/c:.2f}x compress [<= 1.2]")
    if w2 and c: print(f"  write {label}, 2 threads (wall): {w2/real(f'BM_PlainCompress/{shape}/real_time'):.2f}x compress [<= 0.65]")
    m = runs.get(f"BM_ReadLibrary/{shape}/real_time", {}).get("peak_over_payload")
    if m: print(f"  read {label}: peak heap {m:.2f}x the uncompressed payload [<= 1.5]")
i, rb = cpu("BM_ImportModuleIcons"), cpu("BM_ReadModuleBytes")
if i and rb:
    print(f"  import of a 500-icon module: {500 / (i / 1e3):,.0f} icons/s [>= 10,000], {i/rb:.1f}x reading its bytes")
one, cmd = cpu("BM_ImportModulesOneByOne/real_time"), cpu("BM_ImportModulesInOneCommand/real_time")
if one and cmd:
    print(f"  200 modules in one command: {cmd:.0f} ms, {cmd/one:.2f}x importing them without the window [<= 1.2]")
def median(name):
    b = every.get(f"{name}_median")
    return b and b["cpu_time"]
load, open_ = median("BM_LoadLibraryFile/repeats:3/real_time"), median("BM_OpenProgramWithLibrary/repeats:3/real_time")
if load and open_:
    print(f"  opening the program on a 100 MB library: {open_:.0f} ms, {open_/load:.2f}x loading the file [<= 1.2] (medians of 3)")
for name in ("BM_SelectNode", "BM_SelectNodeFirstVisit"):
    small, big = cpu(f"{name}/10"), cpu(f"{name}/100000")
    if small and big:
        print(f"  {name[3:]}: 100,000 icons {big:.1f} ms, {big/small:.1f}x a node of 10 [<= 10]")
for name in ("BM_DeleteHalfOfNode", "BM_CutHalfOfNode", "BM_DragHalfOfNodeToAnother"):
    t = [cpu(f"{name}/{n}") for n in (1000, 10000, 100000)]
    rms = every.get(f"{name}_RMS", {}).get("rms")
    if all(t) and rms is not None:
        print(f"  {name[3:]}: {t[0]:.3f} / {t[1]:.2f} / {t[2]:.1f} ms for 1k / 10k / 100k entries; "
              f"O(N) fit off by {rms*100:.0f}% RMS [<= 20%]")
PY
[ -n "${BENCH_JSON:-}" ] && cp "$out" "$BENCH_JSON"
rm -f "$out"
