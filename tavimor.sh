#!/usr/bin/env bash
# Tavimor developer entry point.
#   ./tavimor.sh run    install what is missing, build, start the program
#   ./tavimor.sh test   install what is missing, build, run every test
#   ./tavimor.sh shot   build, start the program under Xvfb and save a screenshot
#   ./tavimor.sh web [PORT]  build the page into build-web/site and serve it on 127.0.0.1
#   ./tavimor.sh bench  build in Release and run the benchmarks
#   ./tavimor.sh package  build the Debian packages tavimor_<version>_<arch>.deb and
#                         python3-tavimor_<version>_<arch>.deb in this folder
set -euo pipefail
cd "$(dirname "$0")"
mode=${1:-test}
BUILD_DIR=${BUILD_DIR:-build}
BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo}
WEB_BUILD_DIR=${WEB_BUILD_DIR:-build-web}

# What building, running and testing need; `shot` also needs a virtual X server.
PKGS=(cmake ninja-build g++ qt6-base-dev libgtest-dev libgmock-dev libbenchmark-dev
      fonts-liberation python3 pybind11-dev python3-dev python3-numpy python3-pytest
      python3-dask python3-distributed python3-pandas python3-pint python3-xarray python3-mypy)
SHOT_PKGS=(xvfb xauth xdotool imagemagick)
# The page: Emscripten (its optimizer needs acorn) and Node.js; its tests: Chromium, its
# driver and Selenium.
WEB_PKGS=(emscripten node-acorn nodejs)
WEB_TEST_PKGS=(chromium chromium-driver python3-selenium)
# dpkg-buildflags, dpkg-shlibdeps and file, which CPack runs for the dependencies.
PACKAGE_PKGS=(dpkg-dev file)
case "$mode" in
  shot) .ci/ensure-packages "${PKGS[@]}" "${SHOT_PKGS[@]}" ;;
  package) .ci/ensure-packages "${PKGS[@]}" "${PACKAGE_PKGS[@]}" ;;
  test) .ci/ensure-packages "${PKGS[@]}" "${WEB_PKGS[@]}" "${WEB_TEST_PKGS[@]}" ;;
  web) .ci/ensure-packages cmake ninja-build python3 "${WEB_PKGS[@]}" ;;
  *) .ci/ensure-packages "${PKGS[@]}" ;;
esac

if [ -z "${XDG_RUNTIME_DIR:-}" ]; then  # Qt warns without it
  export XDG_RUNTIME_DIR="$PWD/$BUILD_DIR/xdg-runtime"
  mkdir -p "$XDG_RUNTIME_DIR"; chmod 700 "$XDG_RUNTIME_DIR"
fi

configure_and_build() {
  # shellcheck disable=SC2086  # CMAKE_ARGS is split on purpose
  cmake -S . -B "$1" -G Ninja -DCMAKE_BUILD_TYPE="$2" ${CMAKE_ARGS:-} "${@:3}"
  cmake --build "$1" -j"$(nproc)"
}

# The page: the Qt-free layers compiled by Emscripten, put together with the static files in
# $WEB_BUILD_DIR/site.
build_web() {
  export NODE_PATH=/usr/share/nodejs
  emcmake cmake -S . -B "$WEB_BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DTAVIMOR_BUILD_GUI=OFF -DBUILD_TESTING=OFF -DTAVIMOR_BENCH=OFF -DTAVIMOR_PYTHON=OFF >/dev/null
  cmake --build "$WEB_BUILD_DIR" -j"$(nproc)"
}

case "$mode" in
  test)
    build_web
    configure_and_build "$BUILD_DIR" "$BUILD_TYPE" -DTAVIMOR_WEB_SITE="$PWD/$WEB_BUILD_DIR/site"
    QT_QPA_PLATFORM=offscreen ctest --test-dir "$BUILD_DIR" --output-on-failure -j"$(nproc)"
    ;;
  run)
    configure_and_build "$BUILD_DIR" "$BUILD_TYPE"
    if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
      echo "No display: here is a sample conversion instead (tavimor-convert --help for more)."
      echo "  tavimor-convert --from dp-c --to ppmv 20"
      "$BUILD_DIR/src/cli/tavimor-convert" --from dp-c --to ppmv 20
      exit 0
    fi
    exec "$BUILD_DIR/src/app/tavimor" "${@:2}"
    ;;
  shot)
    configure_and_build "$BUILD_DIR" "$BUILD_TYPE"
    out=${2:-$BUILD_DIR/screenshot.png}
    # shellcheck disable=SC2016  # expanded by the inner bash
    xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" bash -c '
      "$1" & pid=$!
      timeout 20 xdotool search --sync --onlyvisible --pid "$pid" >/dev/null
      sleep 1; import -window root "$2"; kill "$pid"' _ "$BUILD_DIR/src/app/tavimor" "$out"
    echo "wrote $out"
    ;;
  web)
    build_web
    exec /usr/bin/python3 web/serve.py "$WEB_BUILD_DIR/site" "${2:-8080}"
    ;;
  bench)
    configure_and_build build-release Release
    ./build-release/bench/tavimor_bench "${@:2}"
    ;;
  package)
    # The build type the tests run, with Debian's hardening flags and the build folder's path
    # mapped away, installed under /usr by CPack: tavimor_<version>_<arch>.deb (the desktop
    # program and the command) and python3-tavimor_<version>_<arch>.deb (the Python package,
    # where Debian's own Python packages go). Both are copied here.
    dir=${PACKAGE_BUILD_DIR:-build-package}
    flags() { DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1"; }
    configure_and_build "$dir" RelWithDebInfo -DBUILD_TESTING=OFF -DTAVIMOR_BENCH=OFF \
      -DTAVIMOR_PYTHON=ON -DTAVIMOR_PYTHON_INSTALL_DIR=lib/python3/dist-packages \
      -DCMAKE_CXX_FLAGS="$(flags CXXFLAGS) $(flags CPPFLAGS)" \
      -DCMAKE_EXE_LINKER_FLAGS="$(flags LDFLAGS)" \
      -DCMAKE_MODULE_LINKER_FLAGS="$(flags LDFLAGS)"
    rm -f "$dir"/tavimor_*.deb "$dir"/python3-tavimor_*.deb
    (cd "$dir" && cpack -G DEB)
    for deb in "$dir"/tavimor_*.deb "$dir"/python3-tavimor_*.deb; do
      cp "$deb" .
      echo "wrote ${deb##*/}"
    done
    ;;
  *) echo "usage: $0 [run|test|shot|web|bench|package]" >&2; exit 2 ;;
esac
