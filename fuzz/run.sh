#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs one: ./fuzz/run.sh [TARGET] [SECONDS]
#   e.g. ./fuzz/run.sh fuzz_storage 300
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:-fuzz_storage}
seconds=${2:-300}
corpus=fuzz/corpus/${target#fuzz_}
# The targets that take whole documents share the document seeds.
[[ -d $corpus ]] || corpus=fuzz/corpus/document
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DKV_FUZZ=ON -DKV_CORE_ONLY=ON -DKV_BUILD_TESTS=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKV_SANITIZE=ON >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target "$target"
mkdir -p fuzz/corpus-work/"$target"
exec build-fuzz/bin/"$target" fuzz/corpus-work/"$target" "$corpus" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048
