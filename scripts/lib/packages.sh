# Sourced by scripts/run and scripts/test: installs the packages named in the
# given list files that are not installed yet (apt-get update once, then one
# apt-get install for all that is missing).
vorlane_install_packages() {
    local wanted=() missing=() name file
    for file in "$@"; do
        while read -r name; do
            name=${name%%#*}
            name=${name//[[:space:]]/}
            [ -n "$name" ] && wanted+=("$name")
        done <"$file"
    done
    for name in "${wanted[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$name" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$name")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq || return 1
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
        "${missing[@]}" || return 1
}

# Configures and builds into $1 (Release with assertions kept, warnings as errors when $2 is ON).
vorlane_build() {
    local dir=$1 werror=${2:-OFF}
    cmake -S "$VORLANE_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DVORLANE_WARNINGS_AS_ERRORS="$werror" >/dev/null || return 1
    cmake --build "$dir" -j2
}
