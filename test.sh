#!/usr/bin/env bash
# Installs what is missing, builds everything, and runs every test: first the core
# libraries with AddressSanitizer and UndefinedBehaviorSanitizer, then the whole build.
set -euo pipefail
cd "$(dirname "$0")"
source tools/ensure-packages.sh
ensure_packages debian-packages.txt debian-packages-test.txt
source tools/build-tree.sh

jobs=$(nproc)
# The benchmarks are built by the full build; sanitized, they would only cost time.
configure_tree build-asan -DCMAKE_BUILD_TYPE=Debug -DKV_CORE_ONLY=ON -DKV_SANITIZE=ON -DKV_BENCH=OFF
cmake --build build-asan -j"$jobs"
configure_tree build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKV_BUILD_TESTS=ON -DKV_BENCH=ON
cmake --build build -j"$jobs"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# A test that sets no limit of its own is ended after two minutes: a hang costs minutes, not the run.
echo "== Sanitizer run (core libraries) =="
(cd build-asan && ctest --output-on-failure -j"$jobs" --timeout 120)
echo "== Full run =="
cd build && ctest --output-on-failure -j"$jobs" --timeout 120
