# Sourced by run.sh and test.sh: installs the Debian packages of tools/debian-packages.txt that are missing.
ensure_packages() {
    local list missing=()
    list="$(dirname "${BASH_SOURCE[0]}")/debian-packages.txt"
    while read -r pkg; do
        [[ -z "$pkg" || "$pkg" == \#* ]] && continue
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
    done <"$list"
    if ((${#missing[@]})); then
        echo "Installing: ${missing[*]}"
        local sudo=""
        [[ $(id -u) -ne 0 ]] && sudo="sudo"
        $sudo apt-get update -q
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
    fi
}
