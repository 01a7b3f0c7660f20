# Shared by ./run and ./test: install what is missing, configure and build.

LEXORA_PACKAGES="build-essential cmake pkg-config ninja-build qt6-base-dev qt6-base-dev-tools
 qt6-webengine-dev qt6-translations-l10n libgumbo-dev libzip-dev libsodium-dev libgtest-dev
 libgmock-dev xvfb xauth fonts-dejavu-core clang libfuzzer-14-dev imagemagick zip
 unzip qt6-svg-dev shared-mime-info desktop-file-utils xdg-utils libfile-mimeinfo-perl"

lexora_install_packages() {
    local missing=()
    local pkg
    for pkg in $LEXORA_PACKAGES; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" \
            || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing missing packages: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}

# lexora_build BUILD_DIR [cmake options...]
lexora_build() {
    local dir=$1
    shift
    cmake -S "$LEXORA_ROOT" -B "$dir" -G Ninja "$@"
    cmake --build "$dir" --parallel "$(nproc)"
}

# Runs a command with a display: the current one, or a virtual one from Xvfb. Without -noreset
# Xvfb resets whenever its last client leaves, and a test connecting during that reset is
# refused ("could not connect to display").
lexora_with_display() {
    if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
        "$@"
    else
        xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$@"
    fi
}
