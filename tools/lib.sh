# Shared by tools/run, tools/test and tools/bench: installs what is missing
# and builds both the cross build (the .exe and Windows tests) and the native
# build (portable core and its tests).

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${CORV_BUILD_DIR:-$ROOT/build}
JOBS=$(nproc 2>/dev/null || echo 2)

# Debian packages the build and the tests need.
CORV_PACKAGES=(cmake make g++ googletest g++-mingw-w64-i686 mingw-w64-tools
               wine wine32:i386 xvfb xauth imagemagick libimage-exiftool-perl fonts-nanum
               locales clang libclang-rt-14-dev)

log() { printf '== %s\n' "$*" >&2; }

as_root() {
    if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

ensure_packages() {
    local missing=() pkg
    for pkg in "${CORV_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && { ensure_korean_locale; return 0; }
    log "installing: ${missing[*]}"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        as_root dpkg --add-architecture i386
    fi
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
    ensure_korean_locale
}

# Wine maps file names to the host's through the host locale: without a real
# ko_KR.UTF-8 locale, names with Hangul cannot be created or opened.
ensure_korean_locale() {
    locale -a 2>/dev/null | grep -qix 'ko_KR\.utf-\?8' && return 0
    log "generating the ko_KR.UTF-8 locale"
    as_root localedef -i ko_KR -f UTF-8 ko_KR.UTF-8
}

build_windows() {
    local type=${1:-RelWithDebInfo}
    log "cross build ($type)"
    cmake -S "$ROOT" -B "$BUILD/win" -DCMAKE_BUILD_TYPE="$type" \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" >/dev/null
    cmake --build "$BUILD/win" -j "$JOBS"
}

build_native() {
    log "native build"
    cmake -S "$ROOT" -B "$BUILD/native" -DCORV_WIN_BUILD_DIR="$BUILD/win" \
        -DCORV_FUZZ_BUILD_DIR="$BUILD/fuzz" >/dev/null
    cmake --build "$BUILD/native" -j "$JOBS"
}

# The libFuzzer targets of the portable core (tests/fuzz), built by clang.
build_fuzz() {
    log "fuzz build"
    cmake -S "$ROOT/tests/fuzz" -B "$BUILD/fuzz" -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_BUILD_TYPE= >/dev/null
    cmake --build "$BUILD/fuzz" -j "$JOBS"
}
