# Shared by tools/run, tools/test and tools/bench: finds out which Windows
# build can run under Wine on this host, installs what is missing and builds
# the cross builds (the .exe and Windows tests) and the native build
# (portable core and its tests).

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${CORV_BUILD_DIR:-$ROOT/build}
JOBS=$(nproc 2>/dev/null || echo 2)

log() { printf '== %s\n' "$*" >&2; }

as_root() {
    if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

# Can this host run 32-bit x86 programs at all? Some kernels lack IA-32
# emulation, and then Debian's wine32 can never start. A 93-byte static i386
# program that only calls exit(0) tells, before any package is installed.
host_runs_32bit() {
    local probe
    mkdir -p "$BUILD"
    probe=$(mktemp "$BUILD/.probe32.XXXXXX")
    printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00' >"$probe"
    printf '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00' >>"$probe"
    printf '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00' >>"$probe"
    printf '\x00\x00\x00\x00' >>"$probe"
    printf '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08' >>"$probe"
    printf '\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00' >>"$probe"
    printf '\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' >>"$probe"
    chmod +x "$probe"
    local code=0
    "$probe" 2>/dev/null || code=$?
    rm -f "$probe"
    return "$code"
}

# Which Windows build the Wine tests and tools/run use: CORV_WINE_ARCH=win32
# (the shipped 32-bit program) or win64 (the same code built for x86_64).
# Set it to force a path; otherwise the host decides.
select_wine_arch() {
    if [ -n "${CORV_WINE_ARCH:-}" ]; then
        WINE_REASON="forced by CORV_WINE_ARCH=$CORV_WINE_ARCH"
    elif host_runs_32bit; then
        CORV_WINE_ARCH=win32
        WINE_REASON="this host runs 32-bit programs"
    else
        CORV_WINE_ARCH=win64
        WINE_REASON="this host cannot run 32-bit programs"
    fi
    case "$CORV_WINE_ARCH" in
    win32) WIN_BUILD=$BUILD/win WIN_TOOLCHAIN=$ROOT/cmake/mingw-i686.cmake ;;
    win64) WIN_BUILD=$BUILD/win64 WIN_TOOLCHAIN=$ROOT/cmake/mingw-x86_64.cmake ;;
    *) log "CORV_WINE_ARCH must be win32 or win64"; return 2 ;;
    esac
    export CORV_WINE_ARCH
}

describe_wine_arch() {
    local bits=32
    [ "$CORV_WINE_ARCH" = win64 ] && bits=64
    printf 'Wine tests: %s-bit build, %s\n' "$bits" "$WINE_REASON"
}

# Debian packages the build and the tests need, for the chosen path.
wanted_packages() {
    printf '%s\n' cmake make g++ googletest g++-mingw-w64-i686 mingw-w64-tools \
        xvfb xauth imagemagick libimage-exiftool-perl fonts-nanum locales clang-format \
        clang libclang-rt-14-dev wine zip unzip
    if [ "$CORV_WINE_ARCH" = win64 ]; then
        printf '%s\n' wine64 g++-mingw-w64-x86-64
    else
        printf '%s\n' wine32:i386
    fi
}

ensure_packages() {
    [ -n "${CORV_WINE_ARCH:-}" ] && [ -n "${WIN_BUILD:-}" ] || select_wine_arch
    local missing=() pkg
    for pkg in $(wanted_packages); do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && { ensure_korean_locale; return 0; }
    log "installing: ${missing[*]}"
    if [[ " ${missing[*]} " == *":i386 "* ]] &&
        ! dpkg --print-foreign-architectures | grep -qx i386; then
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

# The machine type in a Windows program's PE header: 014c for i386, 8664 for
# x86_64 (little-endian, at the offset that the MZ header gives).
pe_machine() {
    local pe
    pe=$(od -An -t u4 -j 60 -N 4 "$1" | tr -d ' ')
    [ "$(od -An -c -j "$pe" -N 4 "$1" | tr -d ' ')" = 'PE\0\0' ] || { echo none; return; }
    od -An -t x2 -j $((pe + 4)) -N 2 "$1" | tr -d ' '
}

# The 32-bit program is built on every host: it is what ships.
build_windows() {
    local type=${1:-RelWithDebInfo}
    log "cross build, 32-bit ($type)"
    cmake -S "$ROOT" -B "$BUILD/win" -DCMAKE_BUILD_TYPE="$type" \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" >/dev/null
    cmake --build "$BUILD/win" -j "$JOBS"
    local machine
    machine=$(pe_machine "$BUILD/win/corvalendrine.exe")
    if [ "$machine" != 014c ]; then
        log "build/win/corvalendrine.exe is not a 32-bit i386 Windows program (machine $machine)"
        return 1
    fi
    if [ "$CORV_WINE_ARCH" = win64 ]; then
        log "cross build, 64-bit, for the Wine tests ($type)"
        cmake -S "$ROOT" -B "$BUILD/win64" -DCMAKE_BUILD_TYPE="$type" \
            -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-x86_64.cmake" >/dev/null
        cmake --build "$BUILD/win64" -j "$JOBS"
    fi
}

build_native() {
    log "native build"
    cmake -S "$ROOT" -B "$BUILD/native" -DCORV_WIN_BUILD_DIR="$WIN_BUILD" \
        -DCORV_WINE_ARCH="$CORV_WINE_ARCH" -DCORV_FUZZ_BUILD_DIR="$BUILD/fuzz" >/dev/null
    cmake --build "$BUILD/native" -j "$JOBS"
}

# The libFuzzer targets of the portable core (tests/fuzz), built by clang.
build_fuzz() {
    log "fuzz build"
    cmake -S "$ROOT/tests/fuzz" -B "$BUILD/fuzz" -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_BUILD_TYPE= >/dev/null
    cmake --build "$BUILD/fuzz" -j "$JOBS"
}
