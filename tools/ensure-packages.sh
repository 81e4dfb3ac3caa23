# Sourced by run.sh and test.sh: installs the Debian packages of the named lists in tools/
# (debian-packages.txt when none is named) that are missing.
ensure_packages() {
    local list missing=() folder
    folder="$(dirname "${BASH_SOURCE[0]}")"
    (($#)) || set -- debian-packages.txt
    for list in "$@"; do
        while read -r pkg; do
            [[ -z "$pkg" || "$pkg" == \#* ]] && continue
            dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
        done <"$folder/$list"
    done
    if ((${#missing[@]})); then
        echo "Installing: ${missing[*]}"
        local sudo=""
        [[ $(id -u) -ne 0 ]] && sudo="sudo"
        $sudo apt-get update -q
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
    fi
}
