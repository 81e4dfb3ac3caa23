#!/usr/bin/env bash
# Starts the program under a virtual X server with an example return, opens each
# section in turn and saves a PNG of each, for people to look at.
#
#   tools/screenshots.sh [OUTPUT-FOLDER] [RETURN.qv9]
#
# Defaults: <build>/screenshots and examples/typical.qv9. BUILD_DIR picks the build folder (build).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
out=$(realpath -m "${1:-$build/screenshots}")
return_file=$(realpath -m "${2:-examples/typical.qv9}")

source tools/ensure-packages.sh
ensure_packages
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target kvilmar kvilmar-screenshots
mkdir -p "$out"

# The program as a user starts it: the splash, then the main window with the return.
# Then every section, inner screen, About and help, each window on its own.
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    set -euo pipefail
    "$1/bin/kvilmar" "$3" &
    pid=$!
    sleep 1
    import -window root "$2/00-start-splash.png"
    sleep 4
    import -window root "$2/00-start-window.png"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    "$1/bin/kvilmar-screenshots" "$2" "$3"
' screenshots "$build" "$out" "$return_file"
echo "Pictures in $out; the questions answered on the way are in $out/questions.txt"
