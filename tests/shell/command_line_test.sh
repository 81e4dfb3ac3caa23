#!/usr/bin/env bash
# The window program answers --help and --version and refuses an unknown option without
# a display: no window system is offered, so reaching the window would fail the test.
set -u
program=$1
fail() { echo "FAIL: $*"; exit 1; }
export QT_QPA_PLATFORM=xcb
unset DISPLAY WAYLAND_DISPLAY

out=$("$program" --version 2>&1); status=$?
[[ $status == 0 && $out == "kvilmar "[0-9]*" (Квилмар 2019)" ]] || fail "--version: $status «$out»"

out=$("$program" --help 2>/dev/null); status=$?
[[ $status == 0 && $out == *"Использование: kvilmar [[-p] ФАЙЛ.qv9]"* && $out == *"--version"* ]] ||
    fail "--help: $status «$out»"

out=$("$program" --frobnicate 2>&1 >/dev/null); status=$?
[[ $status == 2 && $out == "kvilmar: неизвестный параметр «--frobnicate»"* ]] || fail "--frobnicate: $status «$out»"
echo "ok"
