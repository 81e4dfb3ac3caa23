#!/usr/bin/env bash
# A person at the keyboard, played by xdotool on a virtual X server: the typical return
# (conditions, taxpayer, a year of salary from one employer, a flat) typed into a new
# document with keys alone, then saved, checked, exported and printed to a PDF file
# through the program's own windows and Qt's file and print dialogs. The return saved on
# the way must export to the same file as examples/typical.qv9 does, and the window's own
# export must pass the schema. A picture of each step is kept for people to look at.
#
#   tools/keyboard-walk.sh [OUTPUT-FOLDER]
#
# Default output: <build>/keyboard-walk. BUILD_DIR picks the build folder (build), which
# must hold kvilmar and kvilmar-cli; ./test.sh installs the X tools. Every wait is bounded.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${BUILD_DIR:-build}")
out=$(realpath -m "${1:-$build/keyboard-walk}")
sample=$(realpath examples/typical.qv9)
for tool in xvfb-run xdotool setxkbmap import pdfinfo; do
    command -v "$tool" >/dev/null || { echo "$tool is missing: ./test.sh installs it" >&2; exit 1; }
done
rm -rf "$out"
mkdir -p "$out/home" "$out/export"

inner=$(mktemp)
trap 'rm -f "$inner"' EXIT
cat >"$inner" <<'INNER'
set -euo pipefail
build=$1 out=$2
export HOME=$out/home XDG_CONFIG_HOME=$out/home/.config XDG_DATA_HOME=$out/home/.local/share
export QT_QPA_PLATFORM=xcb
# A Russian keyboard, as the person has: Cyrillic is typed from its own keys (xdotool would
# otherwise borrow a spare key for each letter, and a fast typist loses letters that way).
setxkbmap ru
shot=0
picture() { shot=$((shot + 1)); import -window root "$(printf '%s/%02d-%s.png' "$out" "$shot" "$1")"; }
fail() { echo "keyboard walk: $*" >&2; picture failed; kill "$pid" 2>/dev/null || true; exit 1; }

# A desktop's window manager gives the keys to the window that opens; the virtual
# server has none, so the walk does that part: it waits for the window whose title
# starts so (a regular expression) and gives it the keys.
window() {
    for _ in $(seq 100); do
        local id
        id=$(xdotool search --onlyvisible --name "^$1" 2>/dev/null | tail -n1 || true)
        if [[ -n $id ]] && xdotool windowfocus --sync "$id" 2>/dev/null; then
            last=$id
            sleep 0.3
            return 0
        fi
        sleep 0.2
    done
    fail "no window \"$1\" came"
}
# Waits until the window given the keys last has closed.
closed() {
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name . 2>/dev/null | grep -qx "$last" || return 0
        sleep 0.2
    done
    fail "the window $last did not close"
}
key() { for k in "$@"; do xdotool key "$k"; sleep 0.3; done; }
typed() { xdotool type --delay 80 -- "$1"; sleep 0.3; }
tabs() { for _ in $(seq "$1"); do key Tab; done; }
main_window() { window "(Без имени|Соколов 2019\.qv9)"; }

"$build/bin/kvilmar" &
pid=$!
main_window
key Escape # the splash, if it is still up, goes at a key

# Conditions: the tax office typed in (its name shows), the OKTMO of residence.
tabs 1; typed 7701
tabs 3; typed 45379000
picture conditions

# The taxpayer; the document's kind from its picker, found by typing its code.
key ctrl+2
typed "Соколов"; tabs 1; typed "Андрей"; tabs 1; typed "Викторович"
tabs 1; typed 770123456703
tabs 1; typed 12.04.1985
tabs 1; typed "г. Москва"
tabs 2; key space
window "Справочник видов документов"
typed 21; key Return; closed
main_window
tabs 1; typed 4509123456
tabs 1; typed 14.05.2009
tabs 1; typed "ОВД района Хамовники г. Москвы"
tabs 3; typed "+7 495 123-45-67"
picture taxpayer

# The employer (Alt+О: "Добавить") and twelve months of salary (Alt+Б: "Добавить доход",
# then Alt+В: "Повторить доход" eleven times), and the tax it withheld.
key ctrl+3 alt+Cyrillic_o
window "Источник выплаты"
typed 'ООО "Северный ветер"'; tabs 1; typed 7701234560; tabs 1; typed 770101001; tabs 1; typed 45379000
tabs 1; key space Return; closed
main_window
key alt+Cyrillic_be
window "Сведения о доходе"
typed 2000; tabs 2; typed 80000; tabs 1; typed 1; key Return; closed
main_window
for _ in $(seq 11); do key alt+Cyrillic_ve; done
tabs 6; typed 124800
picture incomes

# The flat (Alt+О: "Добавить" an object).
key ctrl+6 space alt+Cyrillic_o
window "Данные объекта"
typed "Квартира"; tabs 2; key Home; tabs 1; key Home
tabs 1; typed "77:07:0009001:1342"
tabs 1; typed "г. Москва, ул. Удальцова, д. 3, кв. 57"
tabs 1; typed 20.06.2019
tabs 1; typed 3500000
picture flat
key Return; closed
main_window
picture deductions

# Saved under the name the program proposes, in the home folder.
key ctrl+s
window "Сохранить как"
picture save-as
key Return; closed
main_window

# Checked, with what the return comes to beside the window.
key F7
window "Квилмар 2019"
picture check
key Return; closed
window "Расчёт налога"
picture result
key Escape; closed

# Exported into a folder typed into the folder dialog.
main_window
key ctrl+e
window "Квилмар 2019"
typed "$out/export"; key Return; closed
window "Квилмар 2019"
picture exported
key Return; closed
window "Расчёт налога"
key Escape; closed

# Printed to the PDF file the print dialog proposes.
main_window
key ctrl+p
window "Печать декларации"
picture print
key Return; closed
for _ in $(seq 100); do [[ -s "$HOME/Соколов 2019.pdf" ]] && break; sleep 0.2; done
main_window
key ctrl+q
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
kill -0 "$pid" 2>/dev/null && fail "Ctrl+Q did not close the program"
wait "$pid" || true
INNER
timeout 300 xvfb-run -a -s "-screen 0 1280x1024x24" bash "$inner" "$build" "$out"

# What was typed is the sample: the same day and identifier give the same file.
cli=$build/bin/kvilmar-cli
saved=$out/home/Соколов\ 2019.qv9
exported=$(find "$out/export" -name 'NO_NDFL3_*.xml')
[[ -n $exported ]] || { echo "keyboard walk: the window exported nothing" >&2; exit 1; }
"$cli" validate "$exported" >/dev/null
name=$(basename "$exported" .xml)
day=${name:(-45):8}
guid=${name:(-36)}
mkdir -p "$out/typed" "$out/sample"
"$cli" export "$saved" --out "$out/typed" --date "${day:6:2}.${day:4:2}.${day:0:4}" --guid "$guid" >/dev/null
"$cli" export "$sample" --out "$out/sample" --date "${day:6:2}.${day:4:2}.${day:0:4}" --guid "$guid" >/dev/null
cmp "$out/typed/$name.xml" "$out/sample/$name.xml"
cmp "$out/typed/$name.xml" "$exported"
pages=$(pdfinfo "$out/home/Соколов 2019.pdf" | awk '/^Pages:/ {print $2}')
echo "The typical return, typed with keys alone: saved, checked, exported as the sample exports" \
    "($name.xml, valid) and printed ($pages pages). Pictures in $out"
