# Cases of the picture effects and the calendar on the written wallpaper:
# frame, drop shadow, rotation and mask, checked by pixels. Sourced by
# tests/e2e/run; the picture helpers are in wallpaper.sh.
# shellcheck shell=bash

FRAME=255,0,255           # framecolor 16711935 (0x00FF00FF)
SHADOW_EDGE=24,28,38      # dropshadow.png's dark part (black at alpha 170) on the background
YEAR_MONTH=253,251,219    # the default yymmcolor 14416893
SATURDAY=116,216,250      # the default bluedaycolor 16439668
SUNDAY=245,18,126         # the default reddaycolor 8262389
TODAY_MARK=222,24,36      # the ring of effects/red.png
CASE_DATE=$(date +%F)     # the day the case began, for the calendar checks

# The shipped image files beside the program: effects/ and Masks/.
copy_effect_files() { cp -r "$BUILD/effects" "$BUILD/Masks" "$FILES/"; }

# Ends the running program with the exit command and starts it again with
# a new env.ini (the arguments of write_picture_ini).
restart_with() {
    driver post-command $ID_EXIT
    driver wait-gone 20000 >/dev/null || { fail "the exit command did not end the program"; exit 1; }
    wait_program
    write_picture_ini "$@"
    start_program
}

# expect_within WHAT LOW HIGH VALUE
expect_within() {
    if [ "$4" -lt "$2" ] || [ "$4" -gt "$3" ]; then fail "$1: $4 is not within $2..$3"; fi
}

# The right end of day DAY's number: the last day of the month ends at
# R - 10, each day before it 26 pixels further left after a two-digit day
# and 20 after a one-digit day.
day_number_right() {  # DAY R
    local last right day
    last=$(date -d "$(date +%Y-%m-01) +1 month -1 day" +%-d)
    right=$(($2 - 10))
    for ((day = last; day > $1; day--)); do right=$((right - (day >= 10 ? 26 : 20))); done
    echo "$right"
}

# The calendar of the current month at the bottom right of the work area:
# year and month in their colour in the title bar, the days in the strip
# below from day 1 to the last, Saturdays and Sundays in their colours,
# and today's mark around today's number.
expect_calendar() {  # WHAT FILE
    local what=$1 file=$2 R=$WORK_R B=$WORK_B
    if [ "$(date +%F)" != "$CASE_DATE" ]; then
        log "note: the date changed while the case ran; $what not checked"
        return
    fi
    local title=($((R - 200)) $((B - 82)) 200 30) strip=($((R - 800)) $((B - 44)) 800 16)
    local n x y w h
    n=$(count_colour "$file" "$YEAR_MONTH" 12 "${title[@]}")
    [ "$n" -ge 100 ] || fail "$what: no year and month in the title bar ($n pixels)"
    expect "$what: year-and-month colour in the day strip" 0 \
        "$(count_colour "$file" "$YEAR_MONTH" 12 "${strip[@]}")"
    read -r x y w h < <(colour_box "$file" "$YEAR_MONTH" 12 "${title[@]}")
    expect_within "$what: right end of the title" $((R - 25)) $((R - 9)) $((x + w))
    # Text ends a pixel or two off its layout: the shadow and the italic.
    read -r x y w h < <(colour_box "$file" 255,255,255 12 "${strip[@]}")
    expect_within "$what: right end of the day numbers" $((R - 16)) $((R - 9)) $((x + w))
    local first
    first=$(day_number_right 1 "$R")
    expect_within "$what: left end of the day numbers" $((first - 14)) $((first - 3)) "$x"
    for n in "$SATURDAY" "$SUNDAY"; do
        [ "$(count_colour "$file" "$n" 12 "${strip[@]}")" -ge 50 ] ||
            fail "$what: no day numbers in rgb($n)"
    done
    local today mark_x mark_y=$((B - 50))
    today=$(date +%-d)
    mark_x=$(($(day_number_right "$today" "$R") - (today >= 10 ? 29 : 24)))
    read -r x y w h < <(colour_box "$file" "$TODAY_MARK" 30 "${strip[0]}" $((B - 60)) 800 50)
    [ "$x" != none ] || { fail "$what: no mark on today's number ($today)"; return; }
    if [ "$x" -lt "$mark_x" ] || [ "$y" -lt "$mark_y" ] || [ $((x + w)) -gt $((mark_x + 32)) ] ||
        [ $((y + h)) -gt $((mark_y + 32)) ]; then
        fail "$what: today's mark at ($x,$y ${w}x$h), not inside ($mark_x,$mark_y 32x32)"
    fi
}

# --- cases ---------------------------------------------------------------------

# Prepares a case with the shipped effect files and one blue picture of
# SIZE in the catalogue, in FILES/pictures.
prepare_blue_picture() {
    local size=$1 pics=$FILES/pictures
    use_task_bar
    mkdir -p "$pics"
    copy_effect_files
    make_picture "$pics/blue.png" "$size" 0,0,255
    write_list "$pics" -- "$pics/blue.png"
}

# Frame and drop shadow on a 400 x 300 picture, with the calendar: a
# 7-pixel band of the frame colour, a one-pixel black line inside it, the
# picture within, and the shadow sticking out 14 pixels on the right and
# 11 at the bottom (18/482 of the size).
case_effects_frame_shadow() {
    prepare_blue_picture 400x300
    write_picture_ini 'isframe=1' 'isshadow=1' 'framecolor=16711935' 'ispath=0'
    start_program
    read_screen
    local file
    file=$(wallpaper_file)
    local x=$(((SCREEN_W - 400) / 2)) y=$(((SCREEN_H - 300) / 2)) sw=14 sh=11
    expect_region "picture" "$file" $((x + 9)) $((y + 9)) 383 283 0,0,255
    expect_region "frame, left" "$file" $((x + 1)) $((y + 1)) 7 299 "$FRAME" 8
    expect_region "frame, right" "$file" $((x + 393)) $((y + 1)) 7 299 "$FRAME" 8
    expect_region "frame, top" "$file" $((x + 1)) $((y + 1)) 399 7 "$FRAME" 8
    expect_region "frame, bottom" "$file" $((x + 1)) $((y + 293)) 399 7 "$FRAME" 8
    expect_region "inner line, left" "$file" $((x + 8)) $((y + 8)) 1 285 0,0,0 8
    expect_region "inner line, right" "$file" $((x + 392)) $((y + 8)) 1 285 0,0,0 8
    expect_region "inner line, top" "$file" $((x + 8)) $((y + 8)) 385 1 0,0,0 8
    expect_region "inner line, bottom" "$file" $((x + 8)) $((y + 292)) 385 1 0,0,0 8
    expect_region "uncovered top row" "$file" "$x" "$y" 400 1 "$BACKGROUND"
    expect_region "uncovered left column" "$file" "$x" "$y" 1 300 "$BACKGROUND"
    expect_region "shadow, right" "$file" $((x + 400)) $((y + 20)) 3 260 "$SHADOW_EDGE" 6
    expect_region "shadow, bottom" "$file" $((x + 20)) $((y + 300)) 360 3 "$SHADOW_EDGE" 6
    expect_region "beyond the shadow, right" "$file" $((x + 400 + sw)) "$y" 1 $((300 + sh)) "$BACKGROUND"
    expect_region "beyond the shadow, below" "$file" "$x" $((y + 300 + sh)) $((400 + sw)) 1 "$BACKGROUND"
    expect_region "above" "$file" 0 0 "$SCREEN_W" "$y" "$BACKGROUND"
    expect_region "left" "$file" 0 "$y" "$x" $((300 + sh)) "$BACKGROUND"
    expect_region "right" "$file" $((x + 400 + sw)) "$y" $((SCREEN_W - x - 400 - sw)) $((300 + sh)) \
        "$BACKGROUND"
    expect_region "between picture and calendar" "$file" 0 $((y + 300 + sh)) "$SCREEN_W" \
        $((WORK_B - 82 - y - 300 - sh)) "$BACKGROUND"
    expect_calendar "calendar" "$file"
}

# Frame, shadow and rotation with the calendar: whatever the random angle,
# the picture keeps its centre and its area, the frame surrounds it, the
# shadow shows, and the corners of the square layer stay transparent.
# Four changes: at least one of them is visibly turned.
case_effects_rotated() {
    prepare_blue_picture 400x300
    write_picture_ini 'isframe=1' 'isshadow=1' 'isrotate=1' 'framecolor=16711935' 'ispath=0'
    start_program
    read_screen
    local file
    file=$(wallpaper_file)
    # The square layer: side 500, the diagonal of 400 x 300.
    local cx=$((SCREEN_W / 2)) cy=$((SCREEN_H / 2))
    local lx=$((cx - 250)) ly=$((cy - 250))
    local change turned=0 above=$((WORK_B - 82))
    for change in 1 2 3 4; do
        [ "$change" == 1 ] || command_done "change $change" $ID_NEXT_PICTURE
        local what="change $change" blue bx by bw bh frame fx fy fw fh shadow
        blue=$(count_colour "$file" 0,0,255 3)
        read -r bx by bw bh < <(colour_box "$file" 0,0,255 3)
        frame=$(count_colour "$file" "$FRAME" 8)
        read -r fx fy fw fh < <(colour_box "$file" "$FRAME" 8)
        shadow=$(count_colour "$file" "$SHADOW_EDGE" 6 0 0 "$SCREEN_W" "$above")
        # 384 x 284 inside the frame; the edges blend.
        expect_within "$what: picture area" 103000 110000 "$blue"
        expect_within "$what: picture centre x" $((cx - 2)) $((cx + 2)) $((bx + bw / 2))
        expect_within "$what: picture centre y" $((cy - 2)) $((cy + 2)) $((by + bh / 2))
        expect_within "$what: frame area" 6000 12000 "$frame"
        expect_within "$what: frame centre x" $((cx - 2)) $((cx + 2)) $((fx + fw / 2))
        expect_within "$what: frame centre y" $((cy - 2)) $((cy + 2)) $((fy + fh / 2))
        if [ "$fx" -ge "$bx" ] || [ "$fy" -ge "$by" ] || [ $((fx + fw)) -le $((bx + bw)) ] ||
            [ $((fy + fh)) -le $((by + bh)) ]; then
            fail "$what: the frame does not surround the picture"
        fi
        expect_within "$what: shadow" 2000 8000 "$shadow"
        expect_region "$what: layer corner, top left" "$file" "$lx" "$ly" 20 20 "$BACKGROUND"
        expect_region "$what: layer corner, top right" "$file" $((lx + 480)) "$ly" 20 20 "$BACKGROUND"
        expect_region "$what: layer corner, bottom left" "$file" "$lx" $((ly + 480)) 20 20 "$BACKGROUND"
        expect_region "$what: layer corner, bottom right" "$file" $((lx + 480)) $((ly + 480)) 20 20 \
            "$BACKGROUND"
        # A turned rectangle fills less of its bounding box.
        [ $((bw * bh * 100)) -gt $((blue * 105)) ] && turned=$((turned + 1))
    done
    [ "$turned" -gt 0 ] || fail "none of the four pictures is turned"
    expect_calendar "calendar" "$file"
}

# A mask cuts the picture into the mask's shape: black shows the picture,
# white hides it. Frame and shadow are never drawn with a mask. A missing
# mask file leaves the picture whole; a white mask hides all of it.
case_effects_mask() {
    prepare_blue_picture 300x300
    local masks
    masks="$(windows_path "$FILES")\\Masks"
    local effects=('ismask=1' 'isframe=1' 'isshadow=1' 'framecolor=16711935' 'ispath=0')
    write_picture_ini "${effects[@]}" "maskfilename=$masks\\circle.gif"
    start_program
    read_screen
    local file
    file=$(wallpaper_file)
    local x=$(((SCREEN_W - 300) / 2)) y=$(((SCREEN_H - 300) / 2))
    # The share of the mask that shows the picture, and where.
    local mask=$FILES/Masks/circle.gif shown all mx my mw mh
    shown=$(count_colour "$mask" 0,0,0 127)
    all=$(convert "$mask" -format '%[fx:w*h]' info:)
    read -r mx my mw mh < <(colour_box "$mask" 0,0,0 127)
    local expected=$((90000 * shown / all))
    expect_within "masked picture area" $((expected * 97 / 100)) $((expected * 103 / 100)) \
        "$(count_colour "$file" 0,0,255 3)"
    local bx by bw bh
    read -r bx by bw bh < <(colour_box "$file" 0,0,255 3)
    expect_within "masked picture, left" $((x + mx * 300 / 256 - 2)) $((x + mx * 300 / 256 + 2)) "$bx"
    expect_within "masked picture, top" $((y + my * 300 / 256 - 2)) $((y + my * 300 / 256 + 2)) "$by"
    expect_within "masked picture, width" $((mw * 300 / 256 - 3)) $((mw * 300 / 256 + 3)) "$bw"
    expect_within "masked picture, height" $((mh * 300 / 256 - 3)) $((mh * 300 / 256 + 3)) "$bh"
    expect_region "middle of the circle" "$file" $((x + 75)) $((y + 75)) 150 150 0,0,255
    expect_region "masked corner, top left" "$file" "$x" "$y" 20 20 "$BACKGROUND"
    expect_region "masked corner, top right" "$file" $((x + 280)) "$y" 20 20 "$BACKGROUND"
    expect_region "masked corner, bottom left" "$file" "$x" $((y + 280)) 20 20 "$BACKGROUND"
    expect_region "masked corner, bottom right" "$file" $((x + 280)) $((y + 280)) 20 20 "$BACKGROUND"
    expect "frame colour with a mask" 0 "$(count_colour "$file" "$FRAME" 40)"
    expect_region "no shadow, right" "$file" $((x + 300)) "$y" 20 320 "$BACKGROUND"
    expect_region "no shadow, below" "$file" "$x" $((y + 300)) 320 20 "$BACKGROUND"
    expect_calendar "calendar with a mask" "$file"

    # A mask file that is not there: the whole picture, from its first pixel.
    restart_with "${effects[@]}" "maskfilename=$masks\\missing.gif"
    expect_region "missing mask: whole picture" "$file" "$x" "$y" 300 300 0,0,255
    expect_region "missing mask: above" "$file" "$x" $((y - 1)) 300 1 "$BACKGROUND"
    expect_region "missing mask: left" "$file" $((x - 1)) "$y" 1 300 "$BACKGROUND"
    expect_region "missing mask: right" "$file" $((x + 300)) "$y" 1 300 "$BACKGROUND"
    expect_region "missing mask: below" "$file" "$x" $((y + 300)) 300 1 "$BACKGROUND"

    # An all-white mask of another size: nothing of the picture shows.
    convert -size 64x48 xc:white "$FILES/Masks/white.gif"
    restart_with "${effects[@]}" "maskfilename=$masks\\white.gif"
    expect_region "white mask: nothing shows" "$file" $((x - 20)) $((y - 20)) 340 340 "$BACKGROUND"
}
