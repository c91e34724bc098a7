#!/usr/bin/env bash
# Installs, from Debian's packages, everything monexport needs to build,
# test, benchmark and fuzz (the dashboard's page takes uPlot from npm at
# build time, pinned by web/package-lock.json). Safe to run again: apt
# skips what is present.
set -euo pipefail

packages=(
  build-essential cmake pkg-config ccache
  qtbase5-dev
  libpugixml-dev
  libhdf5-dev
  libcgns-dev
  libkissfft-dev
  libgtest-dev libgmock-dev googletest
  libbenchmark-dev
  libxml2-utils
  libcairo2-dev fonts-dejavu-core
  clang libclang-rt-14-dev
  pybind11-dev python3-pybind11 python3-numpy python3-pandas python3-pytest
  python3-dask python3-distributed
  python3-setuptools python3-wheel python3-pip python3-venv
  libboost1.81-dev
  chromium chromium-driver python3-selenium
)
# npm installs the dashboard's chart library into the build (web/CMakeLists.txt);
# Debian's npm only where the machine has no npm of its own.
command -v npm >/dev/null || packages+=(npm)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  sudo_cmd=()
  [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
