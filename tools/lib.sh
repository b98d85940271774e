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
    win32) WIN_BUILD=$BUILD/win WIN_TOOLCHAIN=$ROOT/cmake/mingw-i686.cmake WIN_CPU=i686 ;;
    win64) WIN_BUILD=$BUILD/win64 WIN_TOOLCHAIN=$ROOT/cmake/mingw-x86_64.cmake WIN_CPU=x86_64 ;;
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
        clang libclang-rt-14-dev wine zip unzip nasm dpkg-dev \
        xserver-xorg-core xserver-xorg-video-dummy
    # The two-monitor cases: Wine sees several monitors through Xinerama.
    if [ "$CORV_WINE_ARCH" = win64 ]; then
        printf '%s\n' wine64 g++-mingw-w64-x86-64 libxinerama1
    else
        printf '%s\n' wine32:i386 libxinerama1:i386
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

# --- libjpeg-turbo -------------------------------------------------------------
# The JPEG decoder is Debian's own libjpeg-turbo source package (with Debian's
# patches), built here as a static library for each Windows architecture.
# Nothing of it is kept in the repository; build/deps caches the source and
# both builds, so a second run builds nothing.
LIBJPEG_TURBO_VERSION=1:2.1.5-2

# The upstream part of the Debian version (2.1.5), as in the source folder.
libjpeg_turbo_upstream() {
    local v=${LIBJPEG_TURBO_VERSION#*:}
    echo "${v%-*}"
}

# Where the static library of an architecture (i686 or x86_64) is built;
# the cross builds take it from there (CORV_JPEG_DIR).
libjpeg_turbo_dir() {
    echo "$BUILD/deps/libjpeg-turbo-${LIBJPEG_TURBO_VERSION#*:}/$1"
}

# apt-get source needs source entries: the same archives as the machine's
# binary entries, as deb-src.
ensure_deb_src() {
    apt-get indextargets --format '$(IDENTIFIER)' 2>/dev/null | grep -qx Sources && return 0
    local list=/etc/apt/sources.list.d/corvalendrine-src.sources file
    log "adding source entries for apt-get source ($list)"
    {
        for file in /etc/apt/sources.list.d/*.sources; do
            [ -f "$file" ] && [ "$file" != "$list" ] || continue
            sed -e 's/^Types:.*/Types: deb-src/' "$file"
            echo
        done
        if [ -f /etc/apt/sources.list ]; then
            sed -n 's/^[[:space:]]*deb[[:space:]]\+\(.*\)$/\1/p' /etc/apt/sources.list |
                while read -r uri suite components; do
                    printf 'Types: deb-src\nURIs: %s\nSuites: %s\nComponents: %s\n\n' \
                        "$uri" "$suite" "$components"
                done
        fi
    } | as_root tee "$list" >/dev/null
    as_root apt-get update -qq
}

fetch_libjpeg_turbo() {
    local top=$BUILD/deps/libjpeg-turbo-${LIBJPEG_TURBO_VERSION#*:}
    local src=$top/libjpeg-turbo-$(libjpeg_turbo_upstream)
    if [ ! -f "$top/.source-done" ]; then
        ensure_deb_src
        log "fetching Debian's libjpeg-turbo $LIBJPEG_TURBO_VERSION source"
        rm -rf "$top"
        mkdir -p "$top"
        # apt-get source unpacks it and applies Debian's patches (dpkg-source).
        (cd "$top" && apt-get source -qq "libjpeg-turbo=$LIBJPEG_TURBO_VERSION" >/dev/null)
        [ -f "$src/jpeglib.h" ] || { log "no libjpeg-turbo source in $top"; return 1; }
        touch "$top/.source-done"
    fi
    echo "$src"
}

# build_libjpeg_turbo ARCH TOOLCHAIN: the static library alone (no shared
# library, no programs, no tests), with its SIMD code assembled by nasm.
build_libjpeg_turbo() {
    local arch=$1 toolchain=$2 out src
    out=$(libjpeg_turbo_dir "$arch")
    [ -f "$out/.done" ] && return 0
    src=$(fetch_libjpeg_turbo) || return 1
    log "building libjpeg-turbo $(libjpeg_turbo_upstream) for $arch"
    rm -rf "$out"
    cmake -S "$src" -B "$out" -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF \
        -DREQUIRE_SIMD=ON -DCMAKE_ASM_NASM_COMPILER=nasm -DCMAKE_INSTALL_PREFIX="$out/unused" \
        >"$out.log" 2>&1 ||
        { cat "$out.log" >&2; return 1; }
    cmake --build "$out" -j "$JOBS" --target jpeg-static >>"$out.log" 2>&1 ||
        { tail -40 "$out.log" >&2; return 1; }
    # The public headers beside the generated jconfig.h, in one folder.
    mkdir -p "$out/include"
    cp "$src/jpeglib.h" "$src/jmorecfg.h" "$src/jerror.h" "$out/jconfig.h" "$out/include/"
    touch "$out/.done"
}

# The 32-bit program is built on every host: it is what ships.
build_windows() {
    local type=${1:-RelWithDebInfo}
    build_libjpeg_turbo i686 "$ROOT/cmake/mingw-i686.cmake"
    log "cross build, 32-bit ($type)"
    cmake -S "$ROOT" -B "$BUILD/win" -DCMAKE_BUILD_TYPE="$type" \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" \
        -DCORV_JPEG_DIR="$(libjpeg_turbo_dir i686)" >/dev/null
    cmake --build "$BUILD/win" -j "$JOBS"
    local machine
    machine=$(pe_machine "$BUILD/win/corvalendrine.exe")
    if [ "$machine" != 014c ]; then
        log "build/win/corvalendrine.exe is not a 32-bit i386 Windows program (machine $machine)"
        return 1
    fi
    if [ "$CORV_WINE_ARCH" = win64 ]; then
        build_libjpeg_turbo x86_64 "$ROOT/cmake/mingw-x86_64.cmake"
        log "cross build, 64-bit, for the Wine tests ($type)"
        cmake -S "$ROOT" -B "$BUILD/win64" -DCMAKE_BUILD_TYPE="$type" \
            -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-x86_64.cmake" \
            -DCORV_JPEG_DIR="$(libjpeg_turbo_dir x86_64)" >/dev/null
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
