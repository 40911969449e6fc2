# The Debian packages Quillomber needs to build, test and run; sourced by run.sh and test.sh.
QUILLOMBER_PACKAGES=(
    g++ cmake ninja-build
    qt6-base-dev qt6-multimedia-dev qt6-image-formats-plugins
    fonts-liberation2
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth xdg-utils dbus-daemon
)

# Installs whatever is missing; does nothing (and nothing slow) when all is there.
ensure_packages() {
    local missing=()
    local package
    for package in "${QUILLOMBER_PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
}
