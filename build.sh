#!/bin/sh
# Set up, build and run or test vob4 on a Debian machine.
#   ./build.sh run    install what is missing, build, start the program
#   ./build.sh test   install what is missing, build, run the whole suite
#   ./build.sh build  install what is missing and build only
# This script is the one place that knows the Debian packages.
set -eu

cd "$(dirname "$0")"
ROOT=$(pwd)
BUILD_DIR=${BUILD_DIR:-$ROOT/build}

# Build tools and libraries;
# then the independent readers that the tests check written files with (DXF,
# dBASE tables, memos and indexes, STL, IGES and STEP, HTML); the desktop's
# opener that hands written files (workbooks, documents) to the program
# associated with them; a font with the Korean and Chinese letters of
# those interface languages; the faces that the configured graphics
# font ("Arial") becomes on common desktops, which the tests force one by
# one to prove that texts fit their cells with each; the mesher that
# bench/step_mesh_bench meshes the program's STEP gears with (netgen); and
# xdotool, whose real key presses work the program's window in
# tests/app/dotted_names_x_events_test.cpp, with xwd (x11-apps), which
# takes the window's picture in tests/app/findings_x_events_test.cpp,
# where openbox frames the windows as a desktop's window manager does and
# xwininfo and xprop (x11-utils) tell where the frames stand.
PACKAGES="build-essential cmake ninja-build pkg-config qt6-base-dev \
libgtest-dev libgmock-dev libbenchmark-dev locales \
xvfb xauth python3-ezdxf python3-dbfread python3-dbf dbview libdbd-xbase-perl \
admesh occt-draw tidy xdg-utils fonts-noto-cjk \
fonts-dejavu-core fonts-liberation2 fonts-urw-base35 netgen xdotool x11-apps \
openbox x11-utils"

install_packages() {
  missing=""
  for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing="$missing $p"
    fi
  done
  if [ -n "$missing" ]; then
    echo "Installing:$missing"
    SUDO=""
    if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; fi
    $SUDO apt-get update
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends $missing
  fi
  # Number text must not depend on the locale; the tests prove it under a
  # German locale (decimal comma), so make one available when we can.
  if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    if [ "$(id -u)" -eq 0 ]; then
      localedef -i de_DE -f UTF-8 de_DE.UTF-8 2>/dev/null || true
    fi
  fi
}

configure_and_build() {
  generator=""
  if command -v ninja >/dev/null 2>&1; then generator="-G Ninja"; fi
  if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
    # shellcheck disable=SC2086
    # Optimised as in RelWithDebInfo, but without debug information: it halves
    # the link time of the many test programs. Configure a build directory of
    # your own with -DCMAKE_BUILD_TYPE=RelWithDebInfo to debug.
    cmake -S "$ROOT" -B "$BUILD_DIR" $generator -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG"
  fi
  cmake --build "$BUILD_DIR" --parallel "$(nproc)"
}

cmd=${1:-run}
[ $# -gt 0 ] && shift
case "$cmd" in
  run)
    install_packages
    configure_and_build
    cd "$ROOT/resources"
    exec "$BUILD_DIR/vob4" "$@"
    ;;
  test)
    install_packages
    configure_and_build
    cd "$BUILD_DIR"
    ctest --output-on-failure --parallel "$(nproc)" --timeout 600
    ;;
  build)
    install_packages
    configure_and_build
    ;;
  *)
    echo "usage: $0 run|test|build" >&2
    exit 2
    ;;
esac
