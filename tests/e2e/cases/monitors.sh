# Cases of the wallpaper on two monitors: Wine without its virtual desktop
# (always one monitor) on an Xorg server of its own with the dummy driver,
# two screens side by side under Xinerama: an 800 x 600 one on the left and
# the 1024 x 768 primary on the right, so the left one sits at -800,0.
# Wine paints no desktop there: the cases read the wallpaper file. Sourced
# by tests/e2e/run after wallpaper.sh, whose helpers they use.
# shellcheck shell=bash

# Xorg's config for the two screens, written into DIR.
write_two_screen_config() {  # DIR
    local screen
    {
        for screen in left:800x600 right:1024x768; do
            local name=${screen%%:*} mode=${screen#*:}
            cat <<EOF_SCREEN
Section "Device"
    Identifier "dev-$name"
    Driver "dummy"
    VideoRam 32768
EndSection
Section "Monitor"
    Identifier "mon-$name"
    HorizSync 5.0-1000.0
    VertRefresh 5.0-200.0
EndSection
Section "Screen"
    Identifier "$name"
    Device "dev-$name"
    Monitor "mon-$name"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Virtual ${mode%x*} ${mode#*x}
    EndSubSection
EndSection
EOF_SCREEN
        done
        cat <<'EOF_LAYOUT'
Section "ServerLayout"
    Identifier "two"
    Screen 0 "left"
    Screen 1 "right" RightOf "left"
    Option "Xinerama" "on"
EndSection
Section "ServerFlags"
    Option "AutoAddDevices" "false"
    Option "DontVTSwitch" "true"
EndSection
EOF_LAYOUT
    } >"$1/xorg.conf"
}

# Starts the case's Xorg on a free display and points Wine at it; the run's
# end stops it. A server that does not start fails the case.
two_screen_server() {
    command -v Xorg >/dev/null || { fail "Xorg is not installed (tools/lib.sh installs it)"; exit 1; }
    local dir=$STATE/xorg-$CASE fifo display
    rm -rf "$dir"
    mkdir -p "$dir/configdir"
    write_two_screen_config "$dir"
    fifo=$dir/display.fifo
    mkfifo "$fifo"
    Xorg -displayfd 3 -noreset -nolisten tcp -novtswitch -sharevts -config "$dir/xorg.conf" \
        -configdir "$dir/configdir" -logfile "$dir/Xorg.log" 3>"$fifo" >/dev/null 2>&1 &
    OWN_SCREEN_PID=$!
    display=
    read -r -t 30 display <"$fifo" || true
    rm -f "$fifo"
    [ -n "$display" ] || { fail "Xorg did not start (see $dir/Xorg.log)"; exit 1; }
    export DISPLAY=:$display
}

# The case's server, and its prefix without a virtual desktop, the right
# screen primary and monitors read through Xinerama (without the video-mode
# extension: 64-bit Wine 8 fails on the second screen's modes through it and
# then lists the primary alone); the pictures go into
# $PICS. The user's style values to start from: TileWallpaper 0 and
# WallpaperStyle 2 (centred).
PICS=
two_screen_case() {
    two_screen_server
    sed -i '/^"Desktop"="Default"$/d' "$WINEPREFIX/user.reg"
    printf '\n[Software\\\\Wine\\\\X11 Driver] 1700000000\n"UseXRandR"="N"\n"PrimaryMonitor"="1"\n"UseXVidMode"="N"\n' \
        >>"$WINEPREFIX/user.reg"
    PICS=$FILES/pictures
    mkdir -p "$PICS"
    driver set-desktop-value TileWallpaper 0
    driver set-desktop-value WallpaperStyle 2
}

# "TILE STYLE" as the registry holds them.
style_values() {
    local key='Control Panel\Desktop'
    printf '%s %s' "$(driver reg-value "$key" TileWallpaper)" "$(driver reg-value "$key" WallpaperStyle)"
}

# Waits until the primary's centre of the wallpaper file shows R,G,B, then
# until the main window has ended that change (a message it answers after).
wait_for_primary_colour() {  # R,G,B
    local tries=0
    while [ "$(pixel_at "$(wallpaper_file)" 512 384 2>/dev/null)" != "$1" ] && [ $tries -lt 150 ]; do
        tries=$((tries + 1))
        sleep 0.1
    done
    driver send 0 0 0 >/dev/null || fail "the program stopped answering"
}

# A picture per monitor, each fitted to its own monitor, in one file laid
# out for the tile style; the user's wallpaper and style values back after
# a crash and at exit; a layout change composes afresh.
case_two_monitors() {
    two_screen_case
    local pics=$PICS
    copy_effect_files
    make_picture "$pics/red.png" 1600x1200 255,0,0
    make_picture "$pics/green.png" 1600x1200 0,255,0
    make_picture "$pics/blue.png" 1600x1200 0,0,255
    write_list "$pics" -- "$pics/red.png" "$pics/green.png" "$pics/blue.png"
    write_picture_ini 'picmaxsize=700' 'notstrech=0' 'iscalender=1'
    local mine='C:\users\Public\mine.bmp' ours
    ours="$(windows_path "$FILES")\\Corvalendrine.bmp"
    driver set-wallpaper-reg "$mine"
    expect "monitors" "$(printf '%s\n' '-800 0 0 600 -800 0 0 600 0' '0 0 1024 768 0 0 1024 768 1')" \
        "$(driver monitors | sort -n)"
    start_program
    local file
    file=$(wallpaper_file)
    wait_for_primary_colour 255,0,0
    expect "registry wallpaper" "$ours" "$(driver get-wallpaper-reg)"
    expect "tile style" "1 0" "$(style_values)"
    expect "wallpaper header" "BM 1824x768 24bpp compression=0 $((54 + 1824 * 768 * 3))" \
        "$(bmp_info "$file")"
    # Tiles start at the primary's top-left: the primary is x 0..1023 of the
    # file, the left monitor x 1024..1823 (rows 0..599).
    expect_picture "primary's picture (limit 700)" "$file" 162 121 700 525 255,0,0 2
    expect_picture "left monitor's picture (limit 600)" "$file" 1124 75 600 450 0,255,0 2
    expect "primary's colour on the left monitor" 0 "$(count_colour "$file" 255,0,0 60 1024 0 800 600)"
    expect_region "below the left monitor (on no monitor)" "$file" 1024 600 800 168 "$BACKGROUND"
    # The calendar and the caption at the bottom right of the primary.
    WORK_R=1024
    WORK_B=768
    expect_caption "primary's caption" "$file"
    expect_calendar "primary's calendar" "$file"
    expect "remembered style" "oriwallstyle=0,2" "$(ini_text | grep '^oriwallstyle=')"

    # The system's layout-change message: once it has settled, the next
    # pictures (blue on the primary).
    # WM_DISPLAYCHANGE (0x7E) at 24 bits a pixel.
    driver send 0x7E 24 0 >/dev/null || fail "the program did not take the layout change"
    wait_for_primary_colour 0,0,255
    expect_picture "primary after the layout change" "$file" 162 121 700 525 0,0,255 2
    expect_picture "left monitor after the layout change" "$file" 1124 75 600 450 255,0,0 2

    # A crash leaves the tile style; the next run's exit puts the user's back.
    driver kill >/dev/null || fail "the program could not be ended"
    wait_program
    expect "style after the crash" "1 0" "$(style_values)"
    start_program
    wait_for_primary_colour 255,0,0
    cy_exit_program
    expect "wallpaper after exit" "$mine" "$(driver get-wallpaper-reg)"
    expect "style after exit" "0 2" "$(style_values)"
}

# One composition for every monitor (multimonitor=1): the primary's size,
# set as ever, the style values untouched.
case_two_monitors_shared() {
    two_screen_case
    local pics=$PICS
    make_picture "$pics/red.png" 300x200 255,0,0
    write_list "$pics" -- "$pics/red.png"
    write_picture_ini 'iscalender=0' 'multimonitor=1'
    start_program
    local file
    file=$(wallpaper_file)
    wait_for_primary_colour 255,0,0
    expect "wallpaper header" "BM 1024x768 24bpp compression=0 $((54 + 1024 * 768 * 3))" \
        "$(bmp_info "$file")"
    expect_picture "the one picture" "$file" 362 284 300 200 255,0,0
    expect "style untouched" "0 2" "$(style_values)"
    cy_exit_program
    expect "no style kept" "" "$(ini_text | grep '^oriwallstyle=' || true)"
}

# The size limit of one picture across the desktop (multimonitor=2) is three
# quarters of the whole desktop's width (1824 x 3/4, cut to 1360), not the
# primary's 760: the sheet's close check refuses 5000 with that limit.
case_two_monitors_size_limit() {
    two_screen_case
    make_picture "$PICS/red.png" 300x200 255,0,0
    write_list "$PICS" -- "$PICS/red.png"
    write_picture_ini 'iscalender=0' 'multimonitor=2' 'picmaxsize=5000'
    start_program
    st_open_sheet || return
    driver sheet-page "$SHEET" 1 >/dev/null
    driver syscommand-close "$SHEET"
    local box
    box=$(driver message-box 10000)
    case $box in
        *"이미지크기를 최소:200이상, 최대:1360이하로 설정바랍니다!"*) ;;
        *) fail "size refusal across the desktop: got '$box'" ;;
    esac
    driver send 0 0 0 >/dev/null
    expect "size field at the limit" 1360 "$(driver page-field "$SHEET" $IDC_PIC_SIZE)"
    st_close_sheet
    cy_exit_program
    expect "picmaxsize" "picmaxsize=1360" "$(ini_text | grep '^picmaxsize=')"
}

# Registers the test server of the per-monitor wallpaper class (which Wine
# lacks) in the case's prefix (HKCU\Software\Classes\CLSID\{...}), in a folder of its own, with the user's
# wallpapers: left.jpg on the left monitor, right.jpg on the primary,
# position 4 (filled). Its calls go to $SERVER/calls.log.
SERVER=
register_wallpaper_server() {
    SERVER=$FILES/server
    mkdir -p "$SERVER"
    cp "$BUILD/corv_test_wallpaper.dll" "$SERVER/"
    # The user's classes, as on Windows; Wine 8 looks classes up in the
    # machine's only, so the server is registered there too.
    local root key dll
    dll="$(windows_path "$SERVER")\\corv_test_wallpaper.dll"
    for root in HKCU HKLM; do
        key="$root\\Software\\Classes\\CLSID\\{C2CF3110-460E-4FC1-B9D0-8A1C0C9CC4BD}\\InprocServer32"
        timeout 60 wine reg add "$key" /ve /d "$dll" /f >/dev/null 2>&1 &&
            timeout 60 wine reg add "$key" /v ThreadingModel /d Both /f >/dev/null 2>&1 ||
            fail "the test server could not be registered in $root"
    done
    printf 'position 4\n%s\t%s\n%s\t%s\n' '\\?\DISPLAY#TEST#1' 'C:\users\Public\left.jpg' \
        '\\?\DISPLAY#TEST#2' 'C:\users\Public\right.jpg' >"$SERVER/wallpapers.txt"
}

# Where the system sets every monitor's wallpaper: a file of each monitor's
# own size beside the program, set on that monitor, the tile style left
# alone; the user's pictures and position back at exit, and after a crash
# at the next run's exit.
case_two_monitors_each() {
    two_screen_case
    register_wallpaper_server
    make_picture "$PICS/red.png" 1600x1200 255,0,0
    make_picture "$PICS/green.png" 1600x1200 0,255,0
    write_list "$PICS" -- "$PICS/red.png" "$PICS/green.png"
    write_picture_ini 'picmaxsize=700' 'notstrech=0' 'iscalender=0' 'ispath=0'
    local ours second
    ours="$(windows_path "$FILES")\\Corvalendrine.bmp"
    second="$(windows_path "$FILES")\\Corvalendrine-2.bmp"
    start_program
    wait_for_primary_colour 255,0,0
    expect "primary's file" "BM 1024x768 24bpp compression=0 $((54 + 1024 * 768 * 3))" \
        "$(bmp_info "$(wallpaper_file)")"
    expect "left monitor's file" "BM 800x600 24bpp compression=0 $((54 + 800 * 600 * 3))" \
        "$(bmp_info "$FILES/Corvalendrine-2.bmp")"
    expect_picture "primary's picture (limit 700)" "$(wallpaper_file)" 162 121 700 525 255,0,0 2
    expect_picture "left monitor's picture (limit 600)" "$FILES/Corvalendrine-2.bmp" 100 75 600 450 \
        0,255,0 2
    expect "calls at the first change" \
        "$(printf '%s\n' 'SetPosition 0' "SetWallpaper \\\\?\\DISPLAY#TEST#1 $second" \
            "SetWallpaper \\\\?\\DISPLAY#TEST#2 $ours")" \
        "$(sort "$SERVER/calls.log")"
    expect "tile style untouched" "0 2" "$(style_values)"
    expect "remembered wallpapers" \
        'oriwallpaths=4|\\?\DISPLAY#TEST#1|C:\users\Public\left.jpg|\\?\DISPLAY#TEST#2|C:\users\Public\right.jpg' \
        "$(ini_text | grep '^oriwallpaths=')"

    # A crash leaves the program's files on the monitors; the next run's
    # exit puts the user's back.
    driver kill >/dev/null || fail "the program could not be ended"
    wait_program
    expect "after the crash" "$second" "$(grep 'TEST#1' "$SERVER/wallpapers.txt" | cut -f2)"
    start_program
    wait_for_primary_colour 255,0,0
    : >"$SERVER/calls.log"
    cy_exit_program
    expect "calls at exit" \
        "$(printf '%s\n' 'SetPosition 4' 'SetWallpaper \\?\DISPLAY#TEST#1 C:\users\Public\left.jpg' \
            'SetWallpaper \\?\DISPLAY#TEST#2 C:\users\Public\right.jpg')" \
        "$(cat "$SERVER/calls.log")"
    expect "the user's wallpapers at the end" \
        "$(printf '%s\n' 'position 4' '\\?\DISPLAY#TEST#1	C:\users\Public\left.jpg' \
            '\\?\DISPLAY#TEST#2	C:\users\Public\right.jpg')" "$(cat "$SERVER/wallpapers.txt")"
}
