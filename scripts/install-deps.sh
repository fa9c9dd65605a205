#!/usr/bin/env bash
# Installs the Debian packages that building and testing the tester need,
# only those that are missing. Extra package names may be passed as arguments.
set -euo pipefail

packages=(cmake ninja-build g++ qt6-base-dev fonts-dejavu-core "$@")

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then
        echo "Run as root (or install these packages first): ${missing[*]}" >&2
        exit 1
    fi
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
