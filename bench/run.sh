#!/usr/bin/env bash
# Builds the benchmarks (Release, in build-bench/) and prints one table: save, open,
# compute and export of generated returns of growing size, the yardsticks they are
# held against, the peak memory of a process that opens, computes and exports each
# return, and the GUI figures. Options: --quick (fewer repetitions), --no-build.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

repetitions=5
min_time=0.5
build=1
for arg in "$@"; do
    case "$arg" in
    --quick) repetitions=2 min_time=0.1 ;;
    --no-build) build=0 ;;
    *) echo "usage: bench/run.sh [--quick] [--no-build]" >&2; exit 2 ;;
    esac
done

builddir="$root/build-bench"
if ((build)); then
    source tools/ensure-packages.sh
    ensure_packages
    cmake -S . -B "$builddir" -DCMAKE_BUILD_TYPE=Release -DKV_BENCH=ON >/dev/null
    jobs=${KV_BENCH_JOBS:-2}
    cmake --build "$builddir" -j"$jobs" --target kv-bench-document kv-bench-return kv-bench-table kv-bench-rates >/dev/null
    # The GUI figures need the main window; a GUI that does not build leaves them out, and says so.
    rm -f "$builddir/bin/kv-bench-gui"
    if cmake --build "$builddir" --target help | grep "kv-bench-gui" >/dev/null; then
        cmake --build "$builddir" -j"$jobs" --target kv-bench-gui >"$builddir/bench-gui-build.log" 2>&1 ||
            echo "The GUI benchmarks did not build (see $builddir/bench-gui-build.log); their rows are left out." >&2
    fi
fi
bin="$builddir/bin"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Peak memory (maximum resident set) of one process that opens, computes and exports
# a return; "new" is the smallest return the program writes, the program's own baseline.
peak="$work/peak.txt"
for size in new 10x12 100x12 1000x12 1000x100; do
    bytes=$("$bin/kv-bench-return" write "$size" "$work/$size.qv9")
    /usr/bin/time -v -o "$work/time-$size.txt" "$bin/kv-bench-return" process "$work/$size.qv9" >/dev/null
    kib=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time-$size.txt")
    echo "$size $bytes $kib" >>"$peak"
done

# A step runs right before its yardstick (open before the item pass, export before the
# XML parse), each repetition in a warm loop; the fastest repetition counts.
"$bin/kv-bench-document" --benchmark_repetitions="$repetitions" --benchmark_report_aggregates_only=true \
    --benchmark_min_time="$min_time" --benchmark_out="$work/document.json" --benchmark_out_format=json \
    >/dev/null

gui=()
if [[ -x "$bin/kv-bench-gui" ]]; then
    QT_QPA_PLATFORM=offscreen "$bin/kv-bench-gui" --benchmark_repetitions="$repetitions" \
        --benchmark_report_aggregates_only=true --benchmark_out="$work/gui.json" \
        --benchmark_out_format=json >/dev/null
    gui=("$work/gui.json")
fi

echo "Machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(nproc) cores," \
    "$(awk '/MemTotal/ {printf "%.0f GB", $2/1048576}' /proc/meminfo) RAM; load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo
"$bin/kv-bench-table" "$work/document.json" "$peak" "${gui[@]}"
echo
echo "Rates merge into the currency-rate directory (the fit must be N or NlgN, never N^2):"
"$bin/kv-bench-rates" --benchmark_min_time="$min_time"
