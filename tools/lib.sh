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
        clang libclang-rt-14-dev wine zip unzip nasm dpkg-dev nsis meson ninja-build webp \
        libavif-bin libheif-examples xserver-xorg-core xserver-xorg-video-dummy
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

# --- picture decoders ----------------------------------------------------------
# The decoders are Debian's own source packages (with Debian's patches), built
# here as static libraries for each Windows architecture: libjpeg-turbo for
# JPEG, libwebp for WebP, dav1d for AVIF (AV1) and libheif with libde265 for
# HEIC (HEVC). Nothing of them is kept in the repository; build/deps
# caches each source and each build, so a second run builds nothing.
LIBJPEG_TURBO_VERSION=1:2.1.5-2
LIBWEBP_VERSION=1.2.4-0.2+deb12u1
DAV1D_VERSION=1.0.0-2+deb12u1
LIBDE265_VERSION=1.0.11-1+deb12u2
LIBHEIF_VERSION=1.15.1-1+deb12u1

# The upstream part of a Debian version (1:2.1.5-2 gives 2.1.5), as in the
# source folder's name.
deb_upstream() {
    local v=${1#*:}
    echo "${v%-*}"
}

# dep_dir PACKAGE VERSION [ARCH]: where a package's source is kept, and
# where the static library of an architecture (i686 or x86_64) is built.
dep_dir() {
    echo "$BUILD/deps/$1-${2#*:}${3:+/$3}"
}

libjpeg_turbo_dir() { dep_dir libjpeg-turbo "$LIBJPEG_TURBO_VERSION" "$1"; }
libwebp_dir() { dep_dir libwebp "$LIBWEBP_VERSION" "$1"; }
dav1d_dir() { dep_dir dav1d "$DAV1D_VERSION" "$1"; }
libde265_dir() { dep_dir libde265 "$LIBDE265_VERSION" "$1"; }
libheif_dir() { dep_dir libheif "$LIBHEIF_VERSION" "$1"; }

# The cross builds take each library from its folder (CMake variables).
decoder_cmake_args() {
    printf '%s\n' "-DCORV_JPEG_DIR=$(libjpeg_turbo_dir "$1")" "-DCORV_WEBP_DIR=$(libwebp_dir "$1")" \
        "-DCORV_DAV1D_DIR=$(dav1d_dir "$1")" "-DCORV_DE265_DIR=$(libde265_dir "$1")" \
        "-DCORV_HEIF_DIR=$(libheif_dir "$1")"
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

# fetch_source PACKAGE VERSION FILE: the unpacked source (FILE must be in
# it), fetched once; prints its folder.
fetch_source() {
    local package=$1 version=$2 top src
    top=$(dep_dir "$package" "$version")
    src=$top/$package-$(deb_upstream "$version")
    if [ ! -f "$top/.source-done" ]; then
        ensure_deb_src
        log "fetching Debian's $package $version source"
        rm -rf "$top"
        mkdir -p "$top"
        # apt-get source unpacks it and applies Debian's patches (dpkg-source).
        (cd "$top" && apt-get source -qq "$package=$version" >/dev/null) ||
            { log "apt-get source $package=$version failed"; return 1; }
        [ -f "$src/$3" ] || { log "no $package source in $top"; return 1; }
        touch "$top/.source-done"
    fi
    echo "$src"
}

# The MinGW-w64 tools' prefix of an architecture.
mingw_prefix() { echo "$1-w64-mingw32"; }

# cmake_static OUT SRC TOOLCHAIN TARGET [ARG...]: configures a source for
# Windows and builds one static library target in OUT (log in OUT.log).
cmake_static() {
    local out=$1 src=$2 toolchain=$3 target=$4
    shift 4
    rm -rf "$out"
    # No host pkg-config file may stand in for a Windows library.
    PKG_CONFIG_LIBDIR=/nonexistent cmake -S "$src" -B "$out" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DBUILD_SHARED_LIBS=OFF \
        -DCMAKE_INSTALL_PREFIX="$out/unused" "$@" >"$out.log" 2>&1 ||
        { cat "$out.log" >&2; return 1; }
    cmake --build "$out" -j "$JOBS" --target "$target" >>"$out.log" 2>&1 ||
        { tail -40 "$out.log" >&2; return 1; }
}

# Says how long the build of a library took (the first set-up's cost).
built_in() {
    log "built $1 for $2 in $(($(date +%s) - $3)) s"
}

# build_libjpeg_turbo ARCH TOOLCHAIN: the static library alone (no shared
# library, no programs, no tests), with its SIMD code assembled by nasm.
build_libjpeg_turbo() {
    local arch=$1 toolchain=$2 out src start
    out=$(libjpeg_turbo_dir "$arch")
    [ -f "$out/.done" ] && return 0
    src=$(fetch_source libjpeg-turbo "$LIBJPEG_TURBO_VERSION" jpeglib.h) || return 1
    log "building libjpeg-turbo $(deb_upstream "$LIBJPEG_TURBO_VERSION") for $arch"
    start=$(date +%s)
    cmake_static "$out" "$src" "$toolchain" jpeg-static -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
        -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF -DREQUIRE_SIMD=ON -DCMAKE_ASM_NASM_COMPILER=nasm ||
        return 1
    # The public headers beside the generated jconfig.h, in one folder.
    mkdir -p "$out/include"
    cp "$src/jpeglib.h" "$src/jmorecfg.h" "$src/jerror.h" "$out/jconfig.h" "$out/include/"
    built_in libjpeg-turbo "$arch" "$start"
    touch "$out/.done"
}

# build_libwebp ARCH TOOLCHAIN: the decoding library alone (libwebpdecoder:
# no encoder, no tools), with its SSE2 code.
build_libwebp() {
    local arch=$1 toolchain=$2 out src start
    out=$(libwebp_dir "$arch")
    [ -f "$out/.done" ] && return 0
    src=$(fetch_source libwebp "$LIBWEBP_VERSION" src/webp/decode.h) || return 1
    log "building libwebp $(deb_upstream "$LIBWEBP_VERSION") for $arch"
    start=$(date +%s)
    local tool
    local off=()
    for tool in ANIM_UTILS CWEBP DWEBP GIF2WEBP IMG2WEBP VWEBP WEBPINFO LIBWEBPMUX WEBPMUX EXTRAS; do
        off+=("-DWEBP_BUILD_$tool=OFF")
    done
    cmake_static "$out" "$src" "$toolchain" webpdecoder "${off[@]}" -DWEBP_USE_THREAD=OFF ||
        return 1
    mkdir -p "$out/include/webp"
    cp "$src/src/webp/decode.h" "$src/src/webp/types.h" "$out/include/webp/"
    built_in libwebp "$arch" "$start"
    touch "$out/.done"
}

# build_dav1d ARCH: the AV1 decoder's static library (meson and ninja, with
# a cross file for the architecture), 8- and 10-bit, its assembly by nasm;
# no tools, tests or logging.
build_dav1d() {
    local arch=$1 out src start prefix family
    out=$(dav1d_dir "$arch")
    [ -f "$out/.done" ] && return 0
    src=$(fetch_source dav1d "$DAV1D_VERSION" include/dav1d/dav1d.h) || return 1
    log "building dav1d $(deb_upstream "$DAV1D_VERSION") for $arch"
    start=$(date +%s)
    prefix=$(mingw_prefix "$arch")
    family=$arch
    [ "$arch" = i686 ] && family=x86
    rm -rf "$out"
    mkdir -p "$out"
    cat >"$out.cross" <<CROSS
[binaries]
c = '$prefix-gcc-posix'
ar = '$prefix-ar'
strip = '$prefix-strip'
windres = '$prefix-windres'
nasm = 'nasm'

[host_machine]
system = 'windows'
cpu_family = '$family'
cpu = '$arch'
endian = 'little'
CROSS
    meson setup "$out" "$src" --cross-file "$out.cross" --buildtype=release \
        --default-library=static -Dbitdepths=8,16 -Denable_asm=true -Denable_tools=false \
        -Denable_examples=false -Denable_tests=false -Denable_docs=false -Dlogging=false \
        >"$out.log" 2>&1 || { cat "$out.log" >&2; return 1; }
    ninja -C "$out" -j "$JOBS" src/libdav1d.a >>"$out.log" 2>&1 ||
        { tail -40 "$out.log" >&2; return 1; }
    mkdir -p "$out/include/dav1d"
    cp "$src"/include/dav1d/*.h "$out/include/dav1d/"
    built_in dav1d "$arch" "$start"
    touch "$out/.done"
}

# build_libde265 ARCH TOOLCHAIN: the HEVC decoder's static library (no
# encoder, no SDL, no programs).
build_libde265() {
    local arch=$1 toolchain=$2 out src start
    out=$(libde265_dir "$arch")
    [ -f "$out/.done" ] && return 0
    src=$(fetch_source libde265 "$LIBDE265_VERSION" libde265/de265.h) || return 1
    log "building libde265 $(deb_upstream "$LIBDE265_VERSION") for $arch"
    start=$(date +%s)
    cmake_static "$out" "$src" "$toolchain" de265 -DENABLE_SDL=OFF -DENABLE_ENCODER=OFF \
        -DENABLE_DECODER=OFF || return 1
    mkdir -p "$out/include/libde265"
    cp "$src/libde265/de265.h" "$out/libde265/de265-version.h" "$out/include/libde265/"
    built_in libde265 "$arch" "$start"
    touch "$out/.done"
}

# build_libheif ARCH TOOLCHAIN: the HEIF container library, static, with
# libde265 built in as its only decoder (HEIC): no encoders, no plugin
# loading, no examples; tiles decoded one after another. (AVIF pictures,
# HEIF files too, are read by our own code and decoded by dav1d, which
# leaves the planes where dav1d put them.)
build_libheif() {
    local arch=$1 toolchain=$2 out src start de265
    out=$(libheif_dir "$arch")
    [ -f "$out/.done" ] && return 0
    build_libde265 "$arch" "$toolchain" || return 1
    src=$(fetch_source libheif "$LIBHEIF_VERSION" libheif/heif.h) || return 1
    de265=$(libde265_dir "$arch")
    log "building libheif $(deb_upstream "$LIBHEIF_VERSION") for $arch"
    start=$(date +%s)
    cmake_static "$out" "$src" "$toolchain" heif -DENABLE_PLUGIN_LOADING=OFF -DWITH_EXAMPLES=OFF \
        -DWITH_LIBDE265=ON -DWITH_LIBDE265_PLUGIN=OFF -DLIBDE265_INCLUDE_DIR="$de265/include" \
        -DLIBDE265_LIBRARY="$de265/libde265/libde265.a" -DWITH_DAV1D=OFF -DWITH_X265=OFF \
        -DWITH_AOM_DECODER=OFF -DWITH_AOM_ENCODER=OFF -DWITH_RAV1E=OFF -DWITH_SvtEnc=OFF \
        -DENABLE_PARALLEL_TILE_DECODING=OFF -DCMAKE_CXX_FLAGS=-DLIBDE265_STATIC_BUILD || return 1
    mkdir -p "$out/include/libheif"
    cp "$src/libheif/heif.h" "$out/libheif/heif_version.h" "$out/include/libheif/"
    built_in libheif "$arch" "$start"
    touch "$out/.done"
}

# Every decoder for one architecture.
build_decoders() {
    build_libjpeg_turbo "$1" "$2" && build_libwebp "$1" "$2" && build_dav1d "$1" &&
        build_libheif "$1" "$2"
}

# The 32-bit program is built on every host: it is what ships.
build_windows() {
    local type=${1:-RelWithDebInfo}
    build_decoders i686 "$ROOT/cmake/mingw-i686.cmake"
    log "cross build, 32-bit ($type)"
    cmake -S "$ROOT" -B "$BUILD/win" -DCMAKE_BUILD_TYPE="$type" \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" $(decoder_cmake_args i686) >/dev/null
    cmake --build "$BUILD/win" -j "$JOBS"
    local machine
    machine=$(pe_machine "$BUILD/win/corvalendrine.exe")
    if [ "$machine" != 014c ]; then
        log "build/win/corvalendrine.exe is not a 32-bit i386 Windows program (machine $machine)"
        return 1
    fi
    if [ "$CORV_WINE_ARCH" = win64 ]; then
        build_decoders x86_64 "$ROOT/cmake/mingw-x86_64.cmake"
        log "cross build, 64-bit, for the Wine tests ($type)"
        cmake -S "$ROOT" -B "$BUILD/win64" -DCMAKE_BUILD_TYPE="$type" \
            -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-x86_64.cmake" \
            $(decoder_cmake_args x86_64) >/dev/null
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
