#!/usr/bin/env bash
# Installs what ZuvanFatigue needs to build and test on a Debian machine,
# skipping what is already there. Safe to run again.
set -euo pipefail

packages=(g++ cmake make libboost-filesystem-dev libboost-locale-dev
          libgtest-dev nlohmann-json3-dev locales clang libclang-rt-14-dev
          python3 python3-matplotlib
          parallel                     # zuvan-study --engine local
          slurm-wlm slurm-client munge # zuvan-study --engine slurm, and its test cluster
          dpkg-dev)  # dpkg-shlibdeps, for cpack -G DEB
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing: ${missing[*]}" >&2
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}" >&2
fi

# The end-to-end tests run the program under a French locale.
if ! locale -a 2>/dev/null | grep -qi '^fr_FR\.utf-\?8$'; then
    echo "Generating the fr_FR.UTF-8 locale" >&2
    if [ -f /etc/locale.gen ]; then
        $SUDO sed -i 's/^# *\(fr_FR.UTF-8 UTF-8\)/\1/' /etc/locale.gen
        grep -q '^fr_FR.UTF-8 UTF-8' /etc/locale.gen || echo 'fr_FR.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
        $SUDO locale-gen >&2
    else
        $SUDO localedef -i fr_FR -f UTF-8 fr_FR.UTF-8
    fi
fi
