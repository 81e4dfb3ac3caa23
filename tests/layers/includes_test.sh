#!/usr/bin/env bash
# Holds every #include of src/ to the layer table of DEVELOPERS.md: a folder includes only
# its own headers and those of the layers below it, and no layer under the window includes
# Qt. Every library sees the whole src/ folder, so the compiler alone would not notice.
set -u
source=${1:-$(dirname "$0")/../..}
cd "$source/src" || exit 2

# folder: the folders it may include from (itself included)
declare -A allowed=(
    [core]="core"
    [model]="core model"
    [session]="core model session"
    [reference]="core reference"
    [compute]="core model reference compute"
    [checks]="core model reference compute checks"
    [export]="core model reference compute export"
    [imports]="core model reference compute checks imports"
    [print]="core print"
    [screens]="core model reference compute checks imports screens"
    [shell]="core model session reference compute checks export imports print screens shell"
    [cli]="core model reference compute checks export imports print cli"
    [app]="screens shell"
)
qt_free="core model session reference compute checks export imports"

faults=0
for folder in */; do
    folder=${folder%/}
    if [[ -z ${allowed[$folder]+set} ]]; then
        echo "src/$folder is not in the layer table (tests/layers/includes_test.sh, DEVELOPERS.md)"
        faults=$((faults + 1))
        continue
    fi
    while IFS=: read -r file line text; do
        [[ $text =~ ^#include\ \"([a-z]+)/ ]] || continue
        target=${BASH_REMATCH[1]}
        if [[ " ${allowed[$folder]} " != *" $target "* ]]; then
            echo "src/$file:$line: $folder may not include $target: $text"
            faults=$((faults + 1))
        fi
    done < <(grep -rnE '^#include "[a-z]+/' "$folder")
    if [[ " $qt_free " == *" $folder "* ]]; then
        while IFS= read -r hit; do
            echo "src/$hit: no Qt below the window"
            faults=$((faults + 1))
        done < <(grep -rnE '^#include <Q[A-Za-z]+>' "$folder")
    fi
done
((faults == 0)) || { echo "$faults include(s) against the layer table"; exit 1; }
echo "ok"
