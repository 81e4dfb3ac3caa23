#!/usr/bin/env bash
# Alt and the underlined letter answer a question box on X11 under a Russian keyboard
# layout, typed as a person types them (through the X server, not into Qt's queue).
#   alt_letter_x11_test.sh PROBE
# Exit 77 (skipped) when the X tools are missing; every wait is bounded.
set -uo pipefail
probe=$1
for tool in xvfb-run xdotool setxkbmap timeout; do
    command -v "$tool" >/dev/null || { echo "no $tool"; exit 77; }
done

inner=$(mktemp)
out=$(mktemp)
trap 'rm -f "$inner" "$out"' EXIT
cat >"$inner" <<'INNER'
set -u
probe=$1 out=$2
setxkbmap ru || exit 3
QT_QPA_PLATFORM=xcb "$probe" >"$out" &
pid=$!
# The box is up once its window is mapped; then it gets the focus as a window manager gives it.
window=$(timeout 20 xdotool search --sync --onlyvisible --name "Квилмар 2019" | head -n1)
[[ -n "$window" ]] || { echo "the question box never appeared"; kill $pid; exit 1; }
# A window can be mapped before Qt has taken the focus it was given, and a key typed in
# that moment goes nowhere (a busy machine shows it). So the keys are typed again until the
# box answers: a box that has answered is gone, and Alt alone changes nothing in it.
for _ in 1 2 3 4 5; do
    xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window" 2>/dev/null
    xdotool key alt+Cyrillic_en
    for _ in $(seq 100); do
        kill -0 $pid 2>/dev/null || break 2
        sleep 0.1
    done
done
if kill -0 $pid 2>/dev/null; then
    echo "Alt+Н did not answer the question box"
    kill $pid
    exit 1
fi
wait $pid
INNER
timeout 100 xvfb-run -a -s "-screen 0 1024x768x24" bash "$inner" "$probe" "$out" || exit 1
answer=$(cat "$out")
[[ "$answer" == 1 ]] || { echo "answer $answer, expected 1 (Нет)"; exit 1; }
echo "Alt+Н answered Нет"
