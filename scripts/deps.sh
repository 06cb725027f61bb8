#!/usr/bin/env bash
# Installs the Debian packages Tolvane needs to build, run and test, and only those missing;
# packages named as arguments too (scripts/package.sh adds the packaging tools).
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config clang-format
    clang libclang-rt-dev
    qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-translations-l10n libgl-dev libvulkan-dev
    libopencc-dev libopencc-data opencc
    libicu-dev libblkid-dev
    libexiv2-dev exiv2
    unicode-data bzip2
    exfatprogs exfat-fuse fuse3 mount util-linux e2fsprogs psmisc
    ntfs-3g bindfs sshfs openssh-server openssh-client
    xvfb xauth xdotool x11-utils x11-apps imagemagick
    sway grim qt6-wayland
    dbus-daemon at-spi2-core
    libxcb1-dev
    fonts-wqy-microhei fonts-dejavu-core
    desktop-file-utils appstream
    "$@"
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
