#!/usr/bin/env bash
# One entry point for every set-up, build and check of the calculator.
#   ./build.sh deps    install the Debian packages the project needs (skips what is present)
#   ./build.sh build   configure and build into build/ (executables in build/bin/)
#   ./build.sh test    build and run every test through CTest (the printing tests start and
#                      stop a print scheduler of their own: the system's printers stay as they are)
#   ./build.sh bench   build and run the benchmarks (bagsolve's start against cat with hyperfine,
#                      the web page's first load in headless chromium)
#   ./build.sh run     build and start the calculator
#   ./build.sh asan-test   build everything again in build-asan/ with AddressSanitizer,
#                          UndefinedBehaviorSanitizer and leak checking, and run every test
#   ./build.sh package build the Debian package build/trevana2023_VERSION_ARCH.deb
#   ./build.sh package-test  build the package, install it, use it as a new user and as root,
#                      remove it (changes the machine: for CI and throw-away machines)
#   ./build.sh fuzz [SECONDS]  build the libFuzzer targets with clang and run each one
#   ./build.sh web     build the web page (the engine in WebAssembly) into build/web/
#   ./build.sh web-serve [PORT]  build it and serve it on http://localhost:PORT/ (default 8000)
#   ./build.sh windows build bagsolve.exe for 64-bit Windows with MinGW-w64 and its zip,
#                      build/windows/bagsolve-VERSION-windows-x64.zip
#   ./build.sh windows-test  build the zip and run bagsolve.exe under Wine against the Linux
#                      bagsolve, byte for byte
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")"

PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-qpa-plugins libgl-dev qt6-translations-l10n
  libgtest-dev libgmock-dev libbenchmark-dev
  libqrencode-dev fp-utils
  fonts-arphic-uming fonts-noto-cjk
  cups printer-driver-cups-pdf poppler-utils
  unrtf zbar-tools libchm-bin libreoffice-writer-nogui
  coinor-cbc python3
  clang libclang-rt-14-dev
  xvfb xauth x11-apps imagemagick xdotool
  openbox x11-utils libxcb1-dev
  desktop-file-utils appstream librsvg2-bin bash-completion groff-base hyperfine
  dpkg-dev lintian man-db
  emscripten chromium
)

# What a person who starts the calculator with ./build.sh run needs beyond the build: a help
# viewer for the help menu (the tests stand in for it and never need it).
RUN_PACKAGES=(xchm)

# bagsolve for Windows needs only these (./build.sh windows and windows-test install no more):
# the host tree's compiler and Qt's core for gbkgen, the MinGW-w64 cross compiler (its POSIX
# threads flavour), and Wine for the test.
WINDOWS_PACKAGES=(cmake ninja-build g++ qt6-base-dev g++-mingw-w64-x86-64-posix)
WINDOWS_TEST_PACKAGES=(wine64)

# The web page's browser tests drive chromium with puppeteer-core, pinned by its lock file and
# installed under build/npm (the source tree stays clean).
NPM_LOCK=tests/web/package-lock.json
NPM_DIR=build/npm

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs the named Debian packages that are missing.
deps_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    as_root apt-get update -qq
    DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

deps() {
  deps_packages "${PACKAGES[@]}"
  # npm: a machine whose node comes from elsewhere (it carries its own npm) keeps it.
  if ! command -v npm >/dev/null; then
    as_root apt-get update -qq
    DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends npm
  fi
  if ! cmp -s "$NPM_LOCK" "$NPM_DIR/package-lock.json" || [ ! -d "$NPM_DIR/node_modules" ]; then
    mkdir -p "$NPM_DIR"
    cp tests/web/package.json "$NPM_LOCK" "$NPM_DIR/"
    (cd "$NPM_DIR" && npm ci --no-audit --no-fund)
  fi
  # An unprivileged account for the tests of saving as a normal user.
  if ! id trevana-test >/dev/null 2>&1; then
    as_root useradd --system --no-create-home --shell /usr/sbin/nologin trevana-test
  fi
}

# build [--target NAME]: configure and build everything, or one target and what it needs.
build() {
  deps
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build -j "$(nproc)" "$@"
}

# The first report of any sanitizer ends the program that made it, and so fails its test.
SANITIZE_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/leak-suppressions.txt:print_suppressions=0}

asan_build() {
  deps
  cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS="$SANITIZE_FLAGS" -DCMAKE_EXE_LINKER_FLAGS="$SANITIZE_FLAGS" >/dev/null
  cmake --build build-asan -j "$(nproc)"
}

# The package's own build tree (inside build/): the install prefix /usr, Debian's hardening
# flags, the settings kept per user. It builds only what the package installs.
package() {
  deps
  local tree=build/package-tree
  export DEB_BUILD_MAINT_OPTIONS=hardening=+all
  cmake -S . -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
    -DTREVANA_PER_USER_SETTINGS=ON -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
  cmake --build "$tree" --target installable
  rm -f build/trevana2023_*.deb
  cpack --config "$tree/CPackConfig.cmake" -B "$PWD/build" >/dev/null
  ls build/trevana2023_*.deb
}

# bagsolve for Windows. A cross build cannot run the gbkgen it would build, so a host tree of
# bagsolve alone (build/windows-host) writes the GBK table first; its Linux bagsolve is the
# one the Wine test compares with.
windows() {
  deps_packages "${WINDOWS_PACKAGES[@]}"
  local host=build/windows-host
  cmake -S . -B "$host" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTREVANA_BAGSOLVE_ONLY=ON \
    >/dev/null
  cmake --build "$host" -j "$(nproc)" --target gbktable_cpp bagsolve
  cmake -S . -B build/windows -G Ninja --toolchain windows/mingw-w64.cmake \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTREVANA_BAGSOLVE_ONLY=ON \
    -DTREVANA_GBK_TABLE_CPP="$PWD/$host/plaintext/gbktable.cpp" >/dev/null
  cmake --build build/windows -j "$(nproc)"
  ls build/windows/bagsolve-*-windows-x64.zip
}

cmd=${1:-build}
shift || true
case "$cmd" in
  deps) deps ;;
  build) build ;;
  test)
    build
    ctest --test-dir build --output-on-failure -j "$(nproc)" "$@"
    ;;
  asan-test)
    asan_build
    ctest --test-dir build-asan --output-on-failure -j "$(nproc)" "$@"
    ;;
  bench)
    build
    for b in build/bin/bench_*; do "$b" "$@"; done
    bench/bagsolve_start.sh build/bin/bagsolve samples/sample.txt
    node bench/web_firstload.mjs build/web "$NPM_DIR" "$(command -v chromium)"
    ;;
  package) package ;;
  package-test)
    build
    package
    as_root tests/package/install_test.sh build/trevana2023_*.deb build/bin/bagsolve
    ;;
  run)
    build
    deps_packages "${RUN_PACKAGES[@]}"
    exec build/bin/Trevana2023 "$@"
    ;;
  web)
    build --target web
    echo "The web page is in build/web/"
    ;;
  web-serve)
    build --target web
    port=${1:-8000}
    echo "Serving build/web/ on http://localhost:$port/ (Ctrl+C ends it)"
    exec python3 -m http.server "$port" --bind 127.0.0.1 --directory build/web
    ;;
  windows) windows ;;
  windows-test)
    windows
    deps_packages "${WINDOWS_TEST_PACKAGES[@]}"
    tests/windows/wine_test.sh build/windows-host/bin/bagsolve build/windows/bagsolve-*-windows-x64.zip
    ;;
  fuzz)
    deps
    seconds=${1:-600}
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DTREVANA_FUZZ=ON \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build build-fuzz -j "$(nproc)"
    for f in build-fuzz/bin/fuzz_*; do
      name=$(basename "$f")
      corpus=fuzz/corpus/${name#fuzz_}
      work=build-fuzz/corpus-${name#fuzz_}
      mkdir -p "$work"
      "$f" -max_total_time="$seconds" -timeout=60 -rss_limit_mb=2048 \
        -artifact_prefix="build-fuzz/$name-" "$work" "$corpus"
    done
    ;;
  *)
    echo "usage: ./build.sh deps|build|test|asan-test|bench|run|package|package-test|fuzz [SECONDS]|web|web-serve [PORT]|windows|windows-test" >&2
    exit 2
    ;;
esac
