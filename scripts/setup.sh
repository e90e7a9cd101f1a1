#!/usr/bin/env bash
# Installs the Debian packages Verrane needs (only those missing) and
# configures the build tree. Safe to run again: it does nothing it need not.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$here"

packages=(g++ cmake ninja-build pkg-config qt6-base-dev libshp-dev libsqlite3-dev
          nlohmann-json3-dev libcli11-dev libgtest-dev libgmock-dev libbenchmark-dev
          fonts-liberation xvfb xauth poppler-utils unzip zlib1g-dev libgeos-dev
          clang-format clang-tidy git desktop-file-utils shared-mime-info)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo_cmd apt-get update -q
  $sudo_cmd apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

build="${VERRANE_BUILD_DIR:-build}"
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
