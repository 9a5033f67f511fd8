#!/usr/bin/env bash
# Installs what Kibiki needs on Debian 12 and builds it.
#   ./setup.sh run    build and start the trainer
#   ./setup.sh test   build and run the tests
set -euo pipefail
cd "$(dirname "$0")"
SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
PKGS=(build-essential cmake ninja-build pkg-config libgtest-dev libgmock-dev libbenchmark-dev
      qt6-base-dev qt6-translations-l10n fonts-ipafont-gothic)
missing=()
for p in "${PKGS[@]}"; do dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p"); done
if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
BUILD=${KIBIKI_BUILD_DIR:-build}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" -j"$(nproc)"
case "${1:-run}" in
  run)  exec "$BUILD/src/ui/kibiki" ;;
  test) ctest --test-dir "$BUILD" --output-on-failure -j"$(nproc)" ;;
  *) echo "usage: $0 [run|test]" >&2; exit 2 ;;
esac
