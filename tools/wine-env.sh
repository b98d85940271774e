# Sourced by every script that starts Wine. CORV_WINE_ARCH says which Windows
# build runs: win32 (the shipped 32-bit program, Debian's wine32) or win64
# (the same code built for x86_64, on hosts that cannot run 32-bit programs).
#
# Debian's `wine` wrapper always picks the 32-bit loader when it is installed,
# even where the kernel cannot run it, so the 64-bit path puts small
# stand-ins for wine, wineboot and wineserver first on PATH that call the
# 64-bit loader and server directly. Scripts then say `wine` either way.

CORV_WINE_ARCH=${CORV_WINE_ARCH:-win32}
export CORV_WINE_ARCH WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
case "$CORV_WINE_ARCH" in
win32)
    export WINEARCH=win32
    ;;
win64)
    export WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64
    case ":$PATH:" in
    *":$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine64-bin:"*) ;;
    *) PATH=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine64-bin:$PATH ;;
    esac
    export PATH
    ;;
*)
    echo "CORV_WINE_ARCH must be win32 or win64, not '$CORV_WINE_ARCH'" >&2
    return 2
    ;;
esac
# Wine takes the ANSI code page (949) from the locale name alone; bash only
# warns that the machine has no such locale installed.
{ export LC_ALL=ko_KR.UTF-8; } 2>/dev/null

# Says what is wrong when Wine cannot start, instead of failing later with
# an empty version or a missing prefix.
wine_check() {
    local version
    if ! command -v wine >/dev/null 2>&1; then
        echo "Wine is not installed (no 'wine' command); tools/test installs it" >&2
        return 1
    fi
    if [ "$CORV_WINE_ARCH" = win64 ] && [ ! -x /usr/lib/wine/wine64 ]; then
        echo "the 64-bit Wine loader /usr/lib/wine/wine64 is missing (Debian package wine64)" >&2
        return 1
    fi
    if ! version=$(wine --version 2>&1) || [ -z "$version" ]; then
        echo "Wine does not start ($CORV_WINE_ARCH): 'wine --version' said: ${version:-nothing}" >&2
        [ "$CORV_WINE_ARCH" = win32 ] &&
            echo "this host may not run 32-bit programs: try CORV_WINE_ARCH=win64" >&2
        return 1
    fi
    printf '%s\n' "$version"
}
