# Cases of real camera files: the orientation a phone records in EXIF, and
# JPEG files that lack their end marker. Sourced by tests/e2e/run; uses the
# picture helpers of wallpaper.sh.
# shellcheck shell=bash

# The picture as it must stand on the wallpaper: 160 x 80, four quarters of
# red, green (top), blue and yellow (bottom).
QUARTERS=(255,0,0 0,255,0 0,0,255 255,255,0)
make_quarters() {  # FILE [IMAGEMAGICK OPERATIONS]
    local out=$1
    shift
    convert -size 80x40 xc:red xc:lime +append \( -size 80x40 xc:blue xc:yellow +append \) \
        -append "$@" -quality 95 "$out"
}

# The colours of the four quarters of a 160 x 80 picture drawn at (X, Y):
# a sample from the middle of each.
quarters_at() {  # FILE X Y
    local file=$1 x=$2 y=$3 out=()
    out+=("$(pixel_at "$file" $((x + 40)) $((y + 20)))")
    out+=("$(pixel_at "$file" $((x + 120)) $((y + 20)))")
    out+=("$(pixel_at "$file" $((x + 40)) $((y + 60)))")
    out+=("$(pixel_at "$file" $((x + 120)) $((y + 60)))")
    echo "${out[*]}"
}

# Each sample within TOL levels of the expected colour.
quarters_match() {  # "R,G,B R,G,B R,G,B R,G,B" TOL
    local -a got
    read -r -a got <<<"$1"
    local i a b
    for i in 0 1 2 3; do
        IFS=, read -r -a a <<<"${got[$i]}"
        IFS=, read -r -a b <<<"${QUARTERS[$i]}"
        for c in 0 1 2; do
            [ $((a[c] > b[c] ? a[c] - b[c] : b[c] - a[c])) -le "$2" ] || return 1
        done
    done
}

# A phone stores its sensor's rows and records in EXIF (tag 0x0112) how to
# turn them. For each of the eight values, the stored picture is the one
# that stands as QUARTERS once turned; ImageMagick's own turning is checked
# first, then the program's wallpaper.
case_photo_orientation() {
    local pics=$FILES/photos
    use_task_bar
    mkdir -p "$pics"
    # How the stored rows are made from the upright picture, per value.
    local stored=("" -flop "-rotate 180" -flip -transpose "-rotate -90" -transverse "-rotate 90")
    local listed=() n
    for n in 1 2 3 4 5 6 7 8; do
        # shellcheck disable=SC2086  # the operations are words
        make_quarters "$pics/$n.jpg" ${stored[$((n - 1))]}
        exiftool -q -overwrite_original -n -Orientation="$n" "$pics/$n.jpg"
        local upright
        upright=$(convert "$pics/$n.jpg" -auto-orient -format '%wx%h' info:)
        expect "ImageMagick's upright size of $n.jpg" 160x80 "$upright"
        listed+=("$pics/$n.jpg")
    done
    write_list "$pics" -- "${listed[@]}"
    write_picture_ini 'iscalender=0' 'ispath=0'
    start_program
    read_screen
    local file x y
    file=$(wallpaper_file)
    x=$(((SCREEN_W - 160) / 2))
    y=$(((SCREEN_H - 80) / 2))
    for n in 1 2 3 4 5 6 7 8; do
        [ "$n" -eq 1 ] || command_done "next to $n.jpg" $ID_NEXT_PICTURE
        local got
        got=$(quarters_at "$file" "$x" "$y")
        quarters_match "$got" 24 || fail "orientation $n: quarters ${got} instead of ${QUARTERS[*]}"
        # Upright and at its own size: nothing of it beyond 160 x 80.
        expect_region "orientation $n, right of it" "$file" $((x + 160)) "$y" 1 81 "$BACKGROUND"
        expect_region "orientation $n, below it" "$file" "$x" $((y + 80)) 161 1 "$BACKGROUND"
    done
    driver post-command $ID_EXIT
    driver wait-gone 20000 >/dev/null || fail "the exit command did not end the program"
    wait_program
}

# A JPEG whose only fault is the missing end marker is shown whole; one cut
# inside its image data is refused (it would show grey), so the wallpaper
# has no picture.
case_jpeg_without_end_marker() {
    local pics=$FILES/photos
    use_task_bar
    mkdir -p "$pics"
    make_quarters "$pics/whole.jpg"
    local size
    size=$(stat -c %s "$pics/whole.jpg")
    expect "end marker of the made file" ffd9 "$(tail -c 2 "$pics/whole.jpg" | od -An -tx1 | tr -d ' \n')"
    head -c $((size - 2)) "$pics/whole.jpg" >"$pics/no-end.jpg"
    head -c $((size * 2 / 3)) "$pics/whole.jpg" >"$pics/cut.jpg"
    write_list "$pics" -- "$pics/no-end.jpg" "$pics/cut.jpg"
    write_picture_ini 'iscalender=0' 'ispath=0'
    start_program
    read_screen
    local file x y got
    file=$(wallpaper_file)
    x=$(((SCREEN_W - 160) / 2))
    y=$(((SCREEN_H - 80) / 2))
    got=$(quarters_at "$file" "$x" "$y")
    quarters_match "$got" 24 || fail "no end marker: quarters ${got} instead of ${QUARTERS[*]}"
    # The bottom row of the picture is there, not grey.
    expect_region "no end marker, bottom rows" "$file" $((x + 8)) $((y + 76)) 64 3 0,0,255 24
    command_done "next to the cut file" $ID_NEXT_PICTURE
    expect_region "cut file: no picture" "$file" 0 0 "$SCREEN_W" $((WORK_B - 20)) "$BACKGROUND"
    driver post-command $ID_EXIT
    driver wait-gone 20000 >/dev/null || fail "the exit command did not end the program"
    wait_program
}

# The background page's preview stands a sideways-stored photo upright, as
# the wallpaper does: an 800 x 400 picture stored turned a quarter, with
# EXIF orientation 6, shows its four quarters in their places.
case_background_preview_upright() {
    local pics=$FILES/photos
    own_screen
    mkdir -p "$pics"
    make_quarters "$pics/back.jpg" -scale 500% -rotate -90
    exiftool -q -overwrite_original -n -Orientation=6 "$pics/back.jpg"
    write_ini '[DEFAULT]' 'isforeimg=0' 'isbackimg=1' 'isstretch=0' 'ispath=0' 'iscalender=0' \
        'isweekday=0' 'maxwinstop=0' 'isiptooltip=0' 'changetime=9999' \
        "backimagename=$(windows_path "$pics/back.jpg")"
    start_program
    st_open_sheet || return
    expect "background page" 0 "$(driver sheet-page "$SHEET")"
    local l t r b
    read -r l t r b < <(driver page-rect "$SHEET" $IDC_BG_PREVIEW) || { fail "no preview"; return; }
    # The picture's quarters, centred in a preview of the screen's
    # proportions: their middles lie a quarter of the picture off centre.
    local cx=$(((l + r) / 2)) cy=$(((t + b) / 2))
    local dx=$(((r - l) * 200 / 1024)) dy=$(((b - t) * 100 / 768))
    local shot got tries=0
    while :; do
        shot=$(cy_screenshot background-preview)
        got="$(pixel_at "$shot" $((cx - dx)) $((cy - dy))) $(pixel_at "$shot" $((cx + dx)) $((cy - dy)))"
        got+=" $(pixel_at "$shot" $((cx - dx)) $((cy + dy))) $(pixel_at "$shot" $((cx + dx)) $((cy + dy)))"
        quarters_match "$got" 40 && break
        tries=$((tries + 1))
        [ $tries -lt 10 ] || { fail "preview quarters ${got} instead of ${QUARTERS[*]}"; break; }
        sleep 0.5
    done
    st_close_sheet
    cy_exit_program
}
