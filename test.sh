#!/usr/bin/env bash
# Installs what is missing, builds everything, and runs every test: first the core
# libraries with AddressSanitizer and UndefinedBehaviorSanitizer, then the whole build.
set -euo pipefail
cd "$(dirname "$0")"
source tools/ensure-packages.sh
ensure_packages

jobs=$(nproc)
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DKV_CORE_ONLY=ON -DKV_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$jobs"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
echo "== Sanitizer run (core libraries) =="
(cd build-asan && ctest --output-on-failure -j"$jobs")
echo "== Full run =="
cd build && ctest --output-on-failure -j"$jobs"
