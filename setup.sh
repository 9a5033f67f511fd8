#!/usr/bin/env bash
# Installs what Kibiki needs on Debian 12 and builds it.
#   ./setup.sh run          build and start the trainer
#   ./setup.sh test         build and run the tests
#   ./setup.sh sanitize     build the core with AddressSanitizer + UBSan and run its tests
#   ./setup.sh fuzz [SECS]  build the libFuzzer targets with clang and run each for SECS (60)
#   ./setup.sh package      build the Debian package (build-deb/kibiki_*.deb) and check it
set -euo pipefail
cd "$(dirname "$0")"
SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
mode=${1:-run}

PKGS=(build-essential cmake ninja-build pkg-config libgtest-dev libgmock-dev libbenchmark-dev libsqlite3-dev
      qt6-base-dev qt6-translations-l10n fonts-ipafont-gothic libx11-dev libxtst-dev)
case "$mode" in
  test) PKGS+=(xvfb xdotool x11-utils xclip sway wtype qt6-wayland libkkc-common at-spi2-core python3-pyatspi dbus) ;;
  fuzz) PKGS+=(clang libclang-rt-14-dev) ;;
  package) PKGS+=(git dpkg-dev desktop-file-utils appstream lintian) ;;
esac
missing=()
for p in "${PKGS[@]}"; do dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p"); done
if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi

jobs=$(nproc)
case "$mode" in
  run|test)
    BUILD=${KIBIKI_BUILD_DIR:-build}
    cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$BUILD" -j"$jobs"
    if [ "$mode" = run ]; then exec "$BUILD/src/ui/kibiki"; fi
    ctest --test-dir "$BUILD" --output-on-failure -j"$jobs"
    ;;
  sanitize)
    BUILD=${KIBIKI_BUILD_DIR:-build-sanitize}
    cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKIBIKI_SANITIZE=ON \
          -DKIBIKI_BUILD_UI=OFF -DKIBIKI_BUILD_BENCH=OFF >/dev/null
    cmake --build "$BUILD" -j"$jobs"
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
      ctest --test-dir "$BUILD" --output-on-failure -j"$jobs"
    ;;
  fuzz)
    secs=${2:-60}
    BUILD=${KIBIKI_BUILD_DIR:-build-fuzz}
    CXX=clang++ cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKIBIKI_FUZZ=ON \
          -DKIBIKI_BUILD_UI=OFF -DKIBIKI_BUILD_TESTS=OFF -DKIBIKI_BUILD_BENCH=OFF >/dev/null
    cmake --build "$BUILD" -j"$jobs"
    for fuzzer in "$BUILD"/fuzz/*_fuzzer; do
      name=$(basename "$fuzzer" _fuzzer)
      work=$(mktemp -d)
      echo "== $name: ${secs}s"
      # New inputs go to a scratch folder; the saved corpus is only read.
      "$fuzzer" -max_total_time="$secs" -print_final_stats=1 -artifact_prefix="$work/" \
        "$work" "fuzz/corpus/$name" 2>&1 | grep -E '^(stat::number_of_executed_units|==|SUMMARY)' || true
      if ls "$work"/crash-* "$work"/leak-* "$work"/timeout-* >/dev/null 2>&1; then
        echo "$name: finding saved in $work" >&2
        exit 1
      fi
      rm -rf "$work"
    done
    ;;
  package)
    BUILD=${KIBIKI_BUILD_DIR:-build-deb}
    # Debian's own compiler and linker flags, all hardening on; the build type adds none of its own.
    export DEB_BUILD_MAINT_OPTIONS=hardening=+all
    cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=None -DCMAKE_INSTALL_PREFIX=/usr \
          -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
          -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
          -DKIBIKI_BUILD_TESTS=OFF -DKIBIKI_BUILD_BENCH=OFF >/dev/null
    cmake --build "$BUILD" -j"$jobs"
    rm -f "$BUILD"/kibiki_*.deb
    (cd "$BUILD" && cpack -G DEB >/dev/null)
    deb=$(ls "$BUILD"/kibiki_*.deb)
    tools/check_package.sh "$deb"
    echo "$deb"
    ;;
  *) echo "usage: $0 [run|test|sanitize|fuzz [SECS]|package]" >&2; exit 2 ;;
esac
