#!/usr/bin/env bash
# Installs the Debian packages the build needs when they are missing.
# Usage: scripts/deps.sh [extra-package ...]
set -euo pipefail
pkgs=(cmake ninja-build g++ pkg-config libgtest-dev libcli11-dev nlohmann-json3-dev
      # The Python module, its tests and its Dask example; pip install . in a venv.
      pybind11-dev python3-dev python3-numpy python3-pytest python3-pandas python3-dask python3-distributed
      python3-venv python3-setuptools python3-pip
      "$@")
missing=()
for p in "${pkgs[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}" >&2
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}" >/dev/null
fi
