#!/usr/bin/env bash
# The installed program as a Linux desktop sees it: the layout an install lays out, the
# installed kvilmar-cli finding its files, the desktop entry and metainfo validators, the
# MIME database recognising a return, bash completion, and the Debian package under lintian.
#
#   desktop_test.sh install|validate|mime|completion|package BUILD-DIR SOURCE-DIR
#
# Exit 77 (a skip for ctest) only when a tool the check needs is missing.
set -euo pipefail
mode=$1 build=$(realpath "$2") source=$(realpath "$3")
export LC_ALL=C.UTF-8
root=$build/desktop-root
prefix=$root/usr

need() {
    for tool; do
        command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
    done
}
fail() { echo "FAIL: $*"; exit 1; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

case $mode in
install)
    rm -rf "$root"
    DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
    expected=(
        bin/kvilmar
        bin/kvilmar-cli
        share/kvilmar/InspectionNumbers.xml
        share/kvilmar/Oksm.xml
        share/kvilmar/Sp_OKVED2.xml
        share/kvilmar/CurrencyRates.xml
        share/kvilmar/NDFL3_5.14.xsd
        share/kvilmar/NDFL4_5.03.xsd
        share/kvilmar/NDFL2_5.06.xsd
        share/kvilmar/help/runprogramm.htm
        share/kvilmar/help/EditSOUN.htm
        share/applications/ru.zentar.kvilmar.desktop
        share/metainfo/ru.zentar.kvilmar.metainfo.xml
        share/mime/packages/kvilmar.xml
        share/icons/hicolor/scalable/apps/kvilmar.svg
        share/icons/hicolor/scalable/mimetypes/application-x-kvilmar-return.svg
        share/man/man1/kvilmar.1.gz
        share/man/ru/man1/kvilmar.1.gz
        share/man/man1/kvilmar-cli.1.gz
        share/man/ru/man1/kvilmar-cli.1.gz
        share/bash-completion/completions/kvilmar-cli
        share/doc/kvilmar/copyright
        share/doc/kvilmar/changelog.gz
        share/lintian/overrides/kvilmar
    )
    for file in "${expected[@]}"; do
        [[ -f $prefix/$file ]] || fail "missing $file"
    done
    for file in bin/kvilmar bin/kvilmar-cli; do
        [[ -x $prefix/$file ]] || fail "$file is not executable"
    done
    # Nothing of the build tree, the tests or the tools is installed.
    extra=$(cd "$prefix" && find . -type f | sed 's|^\./||' | sort | comm -23 - <({
        printf '%s\n' "${expected[@]}"
        (cd "$source/data/help" && ls | sed 's|^|share/kvilmar/help/|')
    } | sort))
    [[ -z $extra ]] || fail "unexpected files installed: $extra"
    # The manual pages are readable troff.
    for page in man1/kvilmar man1/kvilmar-cli ru/man1/kvilmar ru/man1/kvilmar-cli; do
        zcat "$prefix/share/man/$page.1.gz" | grep -q '^\.TH' || fail "$page.1 has no title line"
    done

    # The installed tool finds the shipped directory files in ../share/kvilmar ...
    export HOME=$scratch/home XDG_DATA_HOME=$scratch/data
    out=$("$prefix/bin/kvilmar-cli" directories) || fail "directories: exit $?"$'\n'"$out"
    for file in InspectionNumbers.xml Oksm.xml Sp_OKVED2.xml CurrencyRates.xml; do
        grep -qxF "$file"$'\t'"прочитан"$'\t'"$prefix/share/kvilmar/$file" <<<"$out" ||
            fail "$file not read from the installed share/kvilmar:"$'\n'"$out"
    done
    # ... and an imported copy in the user's data folder first.
    mkdir -p "$XDG_DATA_HOME/kvilmar"
    cp "$prefix/share/kvilmar/Oksm.xml" "$XDG_DATA_HOME/kvilmar/"
    out=$("$prefix/bin/kvilmar-cli" directories)
    grep -qxF "Oksm.xml"$'\t'"прочитан"$'\t'"$XDG_DATA_HOME/kvilmar/Oksm.xml" <<<"$out" ||
        fail "the user's copy is not preferred:"$'\n'"$out"
    # The installed tool works on a return.
    "$prefix/bin/kvilmar-cli" compute "$source/examples/typical.qv9" >/dev/null || fail "compute: exit $?"
    ;;
validate)
    need desktop-file-validate appstreamcli
    desktop-file-validate "$prefix/share/applications/ru.zentar.kvilmar.desktop"
    appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/ru.zentar.kvilmar.metainfo.xml"
    # The launcher names the installed program and the icon the installed picture.
    grep -qx 'Exec=kvilmar %f' "$prefix/share/applications/ru.zentar.kvilmar.desktop" || fail "Exec line"
    [[ -f $prefix/share/icons/hicolor/scalable/apps/$(sed -n 's/^Icon=//p' \
        "$prefix/share/applications/ru.zentar.kvilmar.desktop").svg ]] || fail "icon of the desktop entry"
    ;;
mime)
    need update-mime-database update-desktop-database xdg-mime mimetype
    data=$scratch/share
    mkdir -p "$data/mime/packages" "$data/applications"
    cp "$prefix/share/mime/packages/kvilmar.xml" "$data/mime/packages/"
    cp "$prefix/share/applications/ru.zentar.kvilmar.desktop" "$data/applications/"
    update-mime-database "$data/mime" >/dev/null
    update-desktop-database "$data/applications" >/dev/null
    # Only this folder and the system's MIME database; no desktop's own tool.
    export XDG_DATA_DIRS=$data:/usr/share XDG_DATA_HOME=$scratch/none HOME=$scratch/home
    unset XDG_CURRENT_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID
    cp "$source/examples/typical.qv9" "$scratch/no-extension"
    printf 'plain text, not a return\n' >"$scratch/not-a-return"
    cp "$source/examples/new-return.qv9" "$scratch/return.qv9"
    while read -r file expected; do
        got=$(xdg-mime query filetype "$scratch/$file")
        [[ $got == "$expected" ]] || fail "$file: $got, expected $expected"
    done <<'CASES'
no-extension application/x-kvilmar-return
return.qv9 application/x-kvilmar-return
not-a-return text/plain
CASES
    # Opening a return (a double click) starts the program of the desktop entry.
    got=$(xdg-mime query default application/x-kvilmar-return)
    [[ $got == ru.zentar.kvilmar.desktop ]] || fail "default application: '$got'"
    ;;
completion)
    need bash
    [[ -f /usr/share/bash-completion/bash_completion ]] || { echo "SKIP: bash-completion"; exit 77; }
    complete() {
        bash -c '
            source /usr/share/bash-completion/bash_completion
            source "$1"; shift
            COMP_WORDS=("$@"); COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
            COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}
            _kvilmar_cli kvilmar-cli "${COMP_WORDS[-1]}" "${COMP_WORDS[-2]}"
            printf "%s\n" "${COMPREPLY[@]}" | sort | tr "\n" " "
        ' complete "$prefix/share/bash-completion/completions/kvilmar-cli" "$@"
    }
    cd "$scratch"
    touch a.qv9 b.txt
    while IFS='|' read -r words expected; do
        read -ra w <<<"$words"
        [[ $words == *' ' ]] && w+=("")
        got=$(complete "${w[@]}")
        [[ $got == "$expected" ]] || fail "'$words': '$got', expected '$expected'"
    done <<'CASES'
kvilmar-cli ex|export 
kvilmar-cli import-|import-2ndfl import-okved import-rates import-soun 
kvilmar-cli export --|--date --guid --no-check --out 
kvilmar-cli pdf --n|--no-check 
kvilmar-cli check |a.qv9 
CASES
    # Every command the tool lists is completed.
    commands=$(complete kvilmar-cli "")
    for command in $("$prefix/bin/kvilmar-cli" --help | sed -n 's/^  \([a-z][a-z0-9-]*\).*/\1/p'); do
        [[ " $commands " == *" $command "* ]] || fail "command $command is not completed"
    done
    ;;
package)
    # The Debian package as cpack builds it, held to lintian's pedantic checks: any tag
    # not explained in dist/linux/lintian-overrides fails.
    need cpack lintian
    cpack -G DEB -B "$scratch" --config "$build/CPackConfig.cmake" >/dev/null
    deb=$(find "$scratch" -maxdepth 1 -name 'kvilmar_*.deb')
    [[ -n $deb ]] || fail "cpack built no package"
    status=0
    report=$(lintian --pedantic -I -E --fail-on error,warning,info,pedantic,experimental "$deb" 2>&1) || status=$?
    grep -v 'running with root privileges' <<<"$report" || true
    ((status == 0)) || fail "lintian reports the tags above"
    ;;
*)
    fail "unknown mode $mode"
    ;;
esac
echo "OK: $mode"
