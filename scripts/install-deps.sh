#!/usr/bin/env bash
# Installs the Debian packages Veltorina needs to build, test and run.
# Idempotent: only packages that are missing are installed.
# Extra package names given as arguments are installed too: benchmarks and fuzz targets bring
# their own programs this way (`./scripts/install-deps.sh nginx wrk`), so `make test` needs none.
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    qtbase5-dev qtbase5-dev-tools qt5-qmake libqt5opengl5-dev libqt5svg5-dev
    qtmultimedia5-dev libqt5multimedia5-plugins libqt5multimediawidgets5
    qttools5-dev qttools5-dev-tools qt5-image-formats-plugins
    libqrcodegencpp-dev zlib1g-dev libpng-dev libseccomp-dev
    zip unzip poppler-utils ffmpeg
    xvfb xauth x11-apps xdotool imagemagick xdg-utils libxcb1-dev
    chromium
    fonts-dejavu-core
    # Writing styles the handwriting templates are learnt from at build time.
    hershey-fonts-data fonts-klee fonts-breip fonts-dkg-handwriting fonts-sjfonts
    fonts-humor-sans fonts-bwht fonts-rufscript fonts-seto fonts-yusei-magic fonts-comic-neue
    fonts-tomsontalks
    openclipart-svg
    gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-libav
    qttranslations5-l10n
    libgl1-mesa-dri libglu1-mesa-dev mesa-utils
    "$@"
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ $status == "install ok installed" ]] || missing+=("$package")
done

if ((${#missing[@]} == 0)); then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [[ $(id -u) -ne 0 ]]; then
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
# Another install (a second checkout's build, the system's own updates) may hold the lock: wait.
lock_wait=(-o DPkg::Lock::Timeout=900)
$sudo apt-get "${lock_wait[@]}" update -qq
$sudo apt-get "${lock_wait[@]}" install -y -qq --no-install-recommends "${missing[@]}"
