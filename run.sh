#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it; an optional argument is a return to open.
set -euo pipefail
cd "$(dirname "$0")"
source tools/ensure-packages.sh
ensure_packages
source tools/build-tree.sh
configure_tree build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
if [[ -x build/bin/kvilmar ]]; then
    exec build/bin/kvilmar "$@"
fi
exec build/bin/kvilmar-cli --help
