# The Debian packages Quillomber needs to build, test and run; sourced by run.sh and test.sh.
QUILLOMBER_PACKAGES=(
    g++ cmake ninja-build
    qt6-base-dev
    # More picture formats for the picture reader (it asks Qt which formats it can read).
    qt6-image-formats-plugins
    # Metric stand-ins for Arial, the default font of the items and captions.
    fonts-liberation2
    libgtest-dev libgmock-dev libbenchmark-dev
    # run.sh starts the program on a virtual display through xvfb-run, which needs xauth.
    xvfb xauth
    # Files open in their desktop application through xdg-open.
    xdg-utils
    # The wallpaper-broadcast test runs a private session bus.
    dbus-daemon
    # Video thumbnails are frames made by the desktops' video thumbnailer.
    ffmpegthumbnailer
    # The media player plays through Qt Multimedia on its GStreamer backend.
    qt6-multimedia-dev
    # GStreamer's playback elements with Ogg, Vorbis and Theora.
    gstreamer1.0-plugins-base
    # WAV, MP4, Matroska and FLAC, and the audio sink that falls back to silence without a sound server.
    gstreamer1.0-plugins-good
    # The FFmpeg decoders, for H.264, AAC, MP3 and the like.
    gstreamer1.0-libav
    # The installer's tests check its desktop entries with desktop-file-validate.
    desktop-file-utils
)

# The reference tools the benchmarks time against; the tests do not need them.
QUILLOMBER_BENCH_PACKAGES=(
    libbenchmark-dev
    rsync
    # The thumbnail benchmark times vipsthumbnail and ImageMagick 6's convert.
    libvips-tools imagemagick
    # The search benchmark times ripgrep and fdupes (find and grep come with the system).
    ripgrep fdupes
    # The start-up benchmark watches the display for the window's mapping.
    libx11-dev
)

# Installs whatever is missing of the named list (QUILLOMBER_PACKAGES by default); does
# nothing (and nothing slow) when all is there.
ensure_packages() {
    local -n wanted=${1:-QUILLOMBER_PACKAGES}
    local missing=()
    local package
    for package in "${wanted[@]}"; do
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
