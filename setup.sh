#!/usr/bin/env bash
# Sets up a Debian 12 machine for this program, builds it, and either starts
# it ("run") or runs every test ("test"). Safe to run again: it installs only
# what is missing and rebuilds only what changed.
set -euo pipefail

cd "$(dirname "$0")"
mode=${1:-run}

packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-charts-dev libgl-dev qt6-translations-l10n
  libssl-dev libcurl4-openssl-dev libcpp-httplib-dev nlohmann-json3-dev ca-certificates
  libgtest-dev libbenchmark-dev
  fonts-noto-cjk fonts-arphic-ukai fonts-dejavu-core
  desktop-file-utils appstream
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build=build
# The tests build as CI does: every warning is an error.
werror=OFF
[ "$mode" = test ] && werror=ON
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DDLT_WERROR=$werror >/dev/null
cmake --build "$build" -j"$(nproc)"

case "$mode" in
  run)
    # The program serves the bundled maker's site on 127.0.0.1 itself.
    "$build/app/qvemtrod"
    ;;
  test)
    export QT_QPA_PLATFORM=offscreen
    ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
    ;;
  *)
    echo "usage: $0 [run|test]" >&2
    exit 2
    ;;
esac
