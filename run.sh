#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it; an optional argument is a return to open.
set -euo pipefail
cd "$(dirname "$0")"
source tools/ensure-packages.sh
ensure_packages
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
if [[ -x build/bin/kvilmar ]]; then
    exec build/bin/kvilmar "$@"
fi
exec build/bin/kvilmar-cli --help
