# Sourced by run.sh and test.sh: configures a build folder with Ninja. A folder configured
# earlier with another generator is reconfigured from scratch (CMake refuses to switch).
configure_tree() {
    local dir=$1
    shift
    if [[ -f $dir/CMakeCache.txt ]] && ! grep -q '^CMAKE_GENERATOR:INTERNAL=Ninja$' "$dir/CMakeCache.txt"; then
        rm -rf "$dir/CMakeCache.txt" "$dir/CMakeFiles"
    fi
    cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
}
