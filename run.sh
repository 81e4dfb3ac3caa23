#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it; an optional argument is a return to open.
set -euo pipefail
cd "$(dirname "$0")"
source tools/ensure-packages.sh
ensure_packages
source tools/build-tree.sh
# Running needs the program alone. A folder test.sh configured keeps its tests (to be built
# by test.sh); otherwise the test targets and their packages are left out.
tests=OFF
grep -qs '^KV_BUILD_TESTS:BOOL=ON$' build/CMakeCache.txt && tests=ON
configure_tree build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKV_BUILD_TESTS=$tests -DKV_BENCH=$tests
cmake --build build -j"$(nproc)" --target kvilmar kvilmar-cli
exec build/bin/kvilmar "$@"
