#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Kavrino Pro need.
set -euo pipefail
packages=(
    cmake ninja-build g++ clang libclang-rt-14-dev llvm python3
    qt6-base-dev qt6-base-dev-tools qt6-charts-dev qt6-svg-dev libqt6opengl6-dev qt6-qpa-plugins libgl-dev
    libqt6svg6
    nlohmann-json3-dev libfmt-dev libgeographiclib-dev
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    fonts-dejavu-core fonts-lato xvfb xauth poppler-utils
    ca-certificates
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -o DPkg::Lock::Timeout=120
"${sudo_cmd[@]}" apt-get install -y -o DPkg::Lock::Timeout=120 --no-install-recommends "${missing[@]}"
