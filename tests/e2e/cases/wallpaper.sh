# Cases of the composed wallpaper: the file and the registry, where the
# picture lands, the order of next and previous, the collage with greying,
# and the user's wallpaper after a crash. Sourced by tests/e2e/run.
#
# The helpers in the first half serve every picture case (bad_input.sh and
# effects.sh too): pictures of one colour made with ImageMagick, list.txt,
# and pixel checks of the written BMP. Colours are "R,G,B" in 0..255.
# shellcheck shell=bash

BACKGROUND=72,85,115  # the default backcolor, 7558472

# --- pictures and the catalogue ------------------------------------------------

# make_picture FILE WIDTHxHEIGHT R,G,B: a picture of one colour, in the
# format of the file's extension.
make_picture() { convert -size "$2" "xc:rgb($3)" "$1"; }

# write_list FOLDER... -- PICTURE...: list.txt as the program writes it:
# CRLF lines, Windows paths, each folder with the number of pictures below it.
write_list() {
    local lines=() folder picture count
    while [ "$1" != -- ]; do
        folder=$1
        count=0
        for picture in "$@"; do
            case "$picture" in "$folder"/*) count=$((count + 1)) ;; esac
        done
        lines+=("$(windows_path "$folder"),$count")
        shift
    done
    shift
    lines+=("&")
    for picture in "$@"; do lines+=("$(windows_path "$picture")"); done
    printf '%s\r\n' "${lines[@]}" >"$FILES/list.txt"
}

wallpaper_file() { printf '%s' "$FILES/Corvalendrine.bmp"; }

# SCREEN_W SCREEN_H and the work area WORK_L WORK_T WORK_R WORK_B, as the
# program measures them.
read_screen() {
    # shellcheck disable=SC2034  # WORK_L and WORK_T complete the record
    read -r SCREEN_W SCREEN_H WORK_L WORK_T WORK_R WORK_B < <(driver screen) ||
        { fail "the driver could not read the screen"; exit 1; }
}

# Gives the case's virtual desktop a task bar from the start, as Windows
# has one. Wine otherwise shows its task bar only once the program's icon is
# in it, and a process keeps the work area it first read: the program would
# place caption and calendar at the bottom of the screen, not of the work
# area. Call before anything starts Wine in the case's prefix.
use_task_bar() {
    printf '\n[Software\\\\Wine\\\\Explorer\\\\Desktops\\\\Default] 1700000000\n"EnableShell"=dword:00000001\n' \
        >>"$WINEPREFIX/user.reg"
}

# The settings every picture case starts from: pictures in list order, and
# a change timer that never fires while the case runs.
write_picture_ini() { write_ini '[DEFAULT]' 'israndum=0' 'changetime=9999' "$@"; }

# Sends one tray command and waits for its change to be done; a change that
# does not end within the driver's send timeout counts as a hang.
command_done() {  # WHAT ID
    driver send-command "$2" || { fail "$1: the program did not answer (hung or gone)"; exit 1; }
}

# --- pixel checks of a picture file -------------------------------------------

# ImageMagick's colour distance, from a tolerance in levels of 0..255.
fuzz_of() { awk -v t="$1" 'BEGIN { printf "%.3f%%", t * 100 / 255 }'; }

# count_colour FILE R,G,B TOL [X Y W H]: pixels within about TOL levels of
# the colour, in the whole picture or the rectangle.
count_colour() {
    local file=$1 colour=$2 tol=$3 crop=()
    [ $# -ge 7 ] && crop=(-crop "${6}x${7}+${4}+${5}" +repage)
    convert "$file" "${crop[@]}" -alpha set -fuzz "$(fuzz_of "$tol")" -transparent "rgb($colour)" \
        -alpha extract -format '%[fx:int(w*h*(1-mean)+0.5)]' info:
}

# colour_box FILE R,G,B TOL [X Y W H]: "X Y W H" of the smallest rectangle
# holding every pixel of the colour (in the whole picture or the given
# rectangle), or "none".
colour_box() {
    local crop=() dx=0 dy=0 box
    [ $# -ge 7 ] && { crop=(-crop "${6}x${7}+${4}+${5}" +repage); dx=$4; dy=$5; }
    box=$(convert "$1" "${crop[@]}" -alpha set -fuzz "$(fuzz_of "$3")" -transparent "rgb($2)" \
        -alpha extract -negate -bordercolor black -border 1 -format '%@' info: 2>/dev/null)
    [[ "$box" =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || { echo none; return; }
    [ "${BASH_REMATCH[1]}" -gt 0 ] || { echo none; return; }
    echo "$((BASH_REMATCH[3] - 1 + dx)) $((BASH_REMATCH[4] - 1 + dy)) ${BASH_REMATCH[1]} ${BASH_REMATCH[2]}"
}

# The lowest and highest level of each channel in a rectangle.
region_range() {  # FILE X Y W H
    convert "$1" -crop "${4}x${5}+${2}+${3}" +repage -format \
        'min %[fx:int(255*minima.r+.5)],%[fx:int(255*minima.g+.5)],%[fx:int(255*minima.b+.5)] max %[fx:int(255*maxima.r+.5)],%[fx:int(255*maxima.g+.5)],%[fx:int(255*maxima.b+.5)]' \
        info:
}

pixel_at() {  # FILE X Y -> R,G,B
    convert "$1" -crop "1x1+${2}+${3}" +repage -format \
        '%[fx:int(255*r+.5)],%[fx:int(255*g+.5)],%[fx:int(255*b+.5)]' info:
}

# expect_region WHAT FILE X Y W H R,G,B [TOL]: every pixel of the rectangle
# has the colour.
expect_region() {
    local what=$1 file=$2 x=$3 y=$4 w=$5 h=$6 colour=$7 tol=${8:-0}
    [ "$w" -gt 0 ] && [ "$h" -gt 0 ] || return 0
    local got
    got=$(count_colour "$file" "$colour" "$tol" "$x" "$y" "$w" "$h")
    [ "$got" == $((w * h)) ] ||
        fail "$what: ($x,$y ${w}x$h) not all rgb($colour): $got of $((w * h)); $(region_range "$file" "$x" "$y" "$w" "$h")"
}

# expect_picture WHAT FILE X Y W H R,G,B [TOL]: a picture of one colour,
# sized W x H and placed at (X, Y), drawn without effects: it covers
# (X+1, Y+1, W-1, H-1); its top row and left column stay background, and
# nothing lies beyond its right and bottom edges.
expect_picture() {
    local what=$1 file=$2 x=$3 y=$4 w=$5 h=$6 colour=$7 tol=${8:-0}
    expect_region "$what, picture" "$file" $((x + 1)) $((y + 1)) $((w - 1)) $((h - 1)) "$colour" "$tol"
    expect_region "$what, uncovered top row" "$file" "$x" "$y" $((w + 1)) 1 "$BACKGROUND"
    expect_region "$what, uncovered left column" "$file" "$x" "$y" 1 $((h + 1)) "$BACKGROUND"
    expect_region "$what, right of it" "$file" $((x + w)) "$y" 1 $((h + 1)) "$BACKGROUND"
    expect_region "$what, below it" "$file" "$x" $((y + h)) $((w + 1)) 1 "$BACKGROUND"
}

# expect_centred_picture WHAT FILE W H R,G,B [TOL]: as expect_picture, at the
# centre of the screen.
expect_centred_picture() {
    expect_picture "$1" "$2" $(((SCREEN_W - $3) / 2)) $(((SCREEN_H - $4) / 2)) "$3" "$4" "$5" "${6:-0}"
}

# The whole canvas is background around the rectangle (X, Y, W, H), apart
# from the path caption's bar at the bottom right of the work area.
expect_background_around() {  # WHAT FILE X Y W H
    local what=$1 file=$2 x=$3 y=$4 w=$5 h=$6
    local bar_top=$((WORK_B - 20)) bar_left=$((WORK_R - 600))
    expect_region "$what, above" "$file" 0 0 "$SCREEN_W" "$y" "$BACKGROUND"
    expect_region "$what, left" "$file" 0 "$y" "$x" "$h" "$BACKGROUND"
    expect_region "$what, right" "$file" $((x + w)) "$y" $((SCREEN_W - x - w)) "$h" "$BACKGROUND"
    expect_region "$what, below" "$file" 0 $((y + h)) "$SCREEN_W" $((bar_top - y - h)) "$BACKGROUND"
    expect_region "$what, left of the caption" "$file" 0 "$bar_top" "$bar_left" 12 "$BACKGROUND"
    expect_region "$what, under the caption" "$file" 0 $((bar_top + 12)) "$SCREEN_W" \
        $((SCREEN_H - bar_top - 12)) "$BACKGROUND"
}

# The path caption: a bar from transparent to dark at the bottom right of
# the work area, with light text at its right end.
expect_caption() {  # WHAT FILE
    local x=$((WORK_R - 600)) y=$((WORK_B - 20))
    expect_region "$1, left end of the caption bar" "$2" "$x" "$y" 1 12 "$BACKGROUND" 3
    expect_region "$1, right end of the caption bar" "$2" $((x + 599)) "$y" 1 12 10,12,16 6
    local text
    text=$(count_colour "$2" 255,255,255 40 $((x + 300)) "$y" 300 12)
    [ "$text" -ge 20 ] || fail "$1: no caption text at the bar's right end ($text light pixels)"
    text=$(count_colour "$2" 255,255,255 40 "$x" "$y" 100 12)
    expect "$1, caption text at the bar's left end" 0 "$text"
}

# "BM WxH BITSbpp compression=N SIZE": the header of a BMP file.
bmp_info() {
    local w h bpp comp
    read -r w h < <(od --endian=little -An -t d4 -j 18 -N 8 "$1")
    read -r bpp < <(od --endian=little -An -t u2 -j 28 -N 2 "$1")
    read -r comp < <(od --endian=little -An -t u4 -j 30 -N 4 "$1")
    echo "$(head -c 2 "$1") ${w}x$h ${bpp}bpp compression=$comp $(stat -c %s "$1")"
}

# --- cases ---------------------------------------------------------------------

# The first change of a run: the registry names the program's BMP, which
# has the screen's size, 24 bits per pixel, the background colour, the
# picture at its natural size in the centre and the caption.
case_wallpaper_file() {
    local pics=$FILES/pictures
    use_task_bar
    mkdir -p "$pics"
    make_picture "$pics/red.png" 300x200 255,0,0
    write_list "$pics" -- "$pics/red.png"
    write_picture_ini 'iscalender=0'
    driver set-wallpaper-reg 'C:\users\Public\mine.bmp'
    start_program
    read_screen
    expect "screen size" "1024 768" "$SCREEN_W $SCREEN_H"
    expect "registry wallpaper" "$(windows_path "$FILES")\\Corvalendrine.bmp" \
        "$(driver get-wallpaper-reg)"
    local file
    file=$(wallpaper_file)
    expect "wallpaper header" "BM ${SCREEN_W}x$SCREEN_H 24bpp compression=0 $((54 + SCREEN_W * SCREEN_H * 3))" \
        "$(bmp_info "$file")"
    local x=$(((SCREEN_W - 300) / 2)) y=$(((SCREEN_H - 200) / 2))
    expect_picture "red picture" "$file" "$x" "$y" 300 200 255,0,0
    expect_background_around "red picture" "$file" "$x" "$y" 301 201
    expect_caption "red picture" "$file"
    [ ! -e "$file.new" ] || fail "a temporary wallpaper file was left behind"
}

# Next and previous in list order, across two folders and the five picture
# formats: each picture at its own size (large ones limited to 400 pixels,
# small ones not enlarged), centred.
case_next_previous() {
    local one=$FILES/one two=$FILES/two
    use_task_bar
    mkdir -p "$one" "$two"
    make_picture "$one/1.png" 300x200 255,0,0
    make_picture "$one/2.jpg" 200x300 0,255,0
    make_picture "$one/3.gif" 800x400 0,0,255
    make_picture "$two/4.bmp" 100x50 255,255,0
    make_picture "$two/5.tif" 300x300 0,255,255
    write_list "$one" "$two" -- "$one/1.png" "$one/2.jpg" "$one/3.gif" "$two/4.bmp" "$two/5.tif"
    local list_before
    list_before=$(md5sum <"$FILES/list.txt")
    write_picture_ini 'iscalender=0' 'ispath=0'
    driver set-wallpaper-reg 'C:\users\Public\mine.bmp'
    start_program
    read_screen
    local file
    file=$(wallpaper_file)
    # name, size as drawn, colour (JPEG may be a level or two off)
    local -A size=([1.png]=300x200 [2.jpg]=200x300 [3.gif]=400x200 [4.bmp]=100x50 [5.tif]=300x300)
    # shellcheck disable=SC2054  # the values are R,G,B texts
    local -A colour=([1.png]=255,0,0 [2.jpg]=0,255,0 [3.gif]=0,0,255 [4.bmp]=255,255,0
        [5.tif]=0,255,255)
    shows() {  # WHAT NAME
        local w=${size[$2]%x*} h=${size[$2]#*x}
        expect_centred_picture "$1 ($2)" "$file" "$w" "$h" "${colour[$2]}" 4
    }
    shows "at start" 1.png
    local name
    for name in 2.jpg 3.gif 4.bmp 5.tif 1.png; do
        command_done "next" $ID_NEXT_PICTURE
        shows "next" "$name"
    done
    command_done "previous" $ID_PREVIOUS_PICTURE
    shows "previous" 5.tif
    command_done "second previous" $ID_PREVIOUS_PICTURE
    shows "second previous" 5.tif
    # Going back does not move the order: the next is the one after 1.png.
    command_done "next after previous" $ID_NEXT_PICTURE
    shows "next after previous" 2.jpg
    expect "registry wallpaper while running" "$(windows_path "$FILES")\\Corvalendrine.bmp" \
        "$(driver get-wallpaper-reg)"
    driver post-command $ID_EXIT
    driver wait-gone 20000 >/dev/null || fail "the exit command did not end the program"
    wait_program
    expect "exit code" 0 "$EXIT_CODE"
    expect "wallpaper after exit" 'C:\users\Public\mine.bmp' "$(driver get-wallpaper-reg)"
    expect "list.txt after exit (in order, nothing removed)" "$list_before" \
        "$(md5sum <"$FILES/list.txt")"
}

# Random order over two pictures: every change of two whole rounds and the
# start of a third shows one of them, the change after a round's last pick
# included (that pick reads the folders again and goes on in them).
case_random_rounds_always_picture() {
    local pics=$FILES/pictures
    use_task_bar
    mkdir -p "$pics"
    make_picture "$pics/red.png" 300x200 255,0,0
    make_picture "$pics/blue.png" 200x100 0,0,255
    write_list "$pics" -- "$pics/red.png" "$pics/blue.png"
    write_picture_ini 'israndum=1' 'iscalender=0' 'ispath=0'
    start_program
    read_screen
    local change red blue shown=()
    for change in 1 2 3 4 5 6 7; do
        [ "$change" = 1 ] || command_done "change $change" $ID_NEXT_PICTURE
        red=$(count_colour "$(wallpaper_file)" 255,0,0 4)
        blue=$(count_colour "$(wallpaper_file)" 0,0,255 4)
        if [ "$red" -ge 59000 ]; then
            shown+=(red)
        elif [ "$blue" -ge 19000 ]; then
            shown+=(blue)
        else
            shown+=(none)
            fail "change $change of a random round shows no picture ($red red, $blue blue pixels)"
        fi
    done
    # Each round shows both pictures once.
    local first round
    for first in 0 2 4; do
        round="${shown[first]} ${shown[first + 1]}"
        [[ "$round" == "red blue" || "$round" == "blue red" ]] ||
            fail "a round of two pictures showed: $round (all: ${shown[*]})"
    done
}

# A list.txt of folders only (as written by hand): the folders are read at
# the first change, and that change already shows the first picture.
case_folders_only_list() {
    local pics=$FILES/pictures
    use_task_bar
    mkdir -p "$pics"
    make_picture "$pics/red.png" 300x200 255,0,0
    printf '%s\r\n' "$(windows_path "$pics"),0" '&' >"$FILES/list.txt"
    write_picture_ini 'iscalender=0' 'ispath=0'
    start_program
    read_screen
    expect_centred_picture "first change of a folders-only list" "$(wallpaper_file)" 300 200 255,0,0
}

# Collage with greying: each change keeps the previous wallpaper, grey, and
# adds the next picture in colour at a random place; after three pictures
# the canvas starts fresh. Grey levels: (11 B + 30 R + 59 G) / 100.
case_collage_grey() {
    local pics=$FILES/pictures
    use_task_bar
    mkdir -p "$pics"
    # Each picture is smaller than the one before, so a later one never hides
    # an earlier one completely.
    make_picture "$pics/1.png" 300x200 255,0,0
    make_picture "$pics/2.png" 200x140 0,255,0
    make_picture "$pics/3.bmp" 120x80 0,0,255
    make_picture "$pics/4.gif" 160x100 255,255,0
    write_list "$pics" -- "$pics/1.png" "$pics/2.png" "$pics/3.bmp" "$pics/4.gif"
    write_picture_ini 'iscalender=0' 'ispath=0' 'isoverlap=1' 'isbackgray=1' \
        'imagepos=2' 'piccleartotalcnt=3'
    start_program
    read_screen
    local file all
    file=$(wallpaper_file)
    all=$((SCREEN_W * SCREEN_H))
    local grey_back=84,84,84 grey_red=76,76,76 grey_green=150,150,150 grey_yellow=226,226,226
    counts() {  # colour counts in the current wallpaper
        local c out=()
        for c in "$@"; do out+=("$(count_colour "$file" "$c" 0)"); done
        echo "${out[*]}"
    }
    expect "1st change: background, red" "$((all - 299 * 199)) $((299 * 199))" \
        "$(counts "$BACKGROUND" 255,0,0)"

    command_done "2nd change" $ID_NEXT_PICTURE
    local bg red gbg gred green
    read -r bg red gbg gred green < <(counts "$BACKGROUND" 255,0,0 "$grey_back" "$grey_red" 0,255,0)
    expect "2nd change: background and red left in colour" "0 0" "$bg $red"
    if [ "$gbg" -eq 0 ] || [ "$gred" -eq 0 ]; then
        fail "2nd change: the first picture and the background are not grey ($gbg, $gred)"
    fi
    expect "2nd change: new picture in colour" $((199 * 139)) "$green"

    command_done "3rd change" $ID_NEXT_PICTURE
    local ggreen blue
    read -r green gred ggreen blue < <(counts 0,255,0 "$grey_red" "$grey_green" 0,0,255)
    expect "3rd change: green left in colour" 0 "$green"
    if [ "$gred" -eq 0 ] || [ "$ggreen" -eq 0 ]; then
        fail "3rd change: the earlier pictures are gone ($gred grey red, $ggreen grey green)"
    fi
    expect "3rd change: new picture in colour" $((119 * 79)) "$blue"

    command_done "4th change" $ID_NEXT_PICTURE
    expect "4th change: a fresh canvas with the 4th picture" \
        "$((all - 159 * 99)) $((159 * 99)) 0 0 0" \
        "$(counts "$BACKGROUND" 255,255,0 "$grey_back" "$grey_red" "$grey_green")"

    # The 5th change collects again; clearing the screen starts afresh with
    # the picture after it.
    command_done "5th change" $ID_NEXT_PICTURE
    read -r red gbg < <(counts 255,0,0 "$grey_back")
    expect "5th change: first picture in colour" $((299 * 199)) "$red"
    [ "$gbg" -gt 0 ] || fail "5th change: the kept canvas is not grey"
    command_done "clear screen" $ID_CLEAR_SCREEN
    expect "after clearing: background, the 2nd picture, nothing grey" \
        "$((all - 199 * 139)) $((199 * 139)) 0 0" \
        "$(counts "$BACKGROUND" 0,255,0 "$grey_back" "$grey_yellow")"
}

# A crash leaves the desktop on the program's wallpaper; the next start
# takes the user's wallpaper from env.ini, keeps it there, composes again,
# and its exit puts the user's wallpaper back.
case_crash_restores_wallpaper() {
    local pics=$FILES/pictures
    use_task_bar
    mkdir -p "$pics"
    make_picture "$pics/red.png" 300x200 255,0,0
    make_picture "$pics/green.png" 300x200 0,255,0
    write_list "$pics" -- "$pics/red.png" "$pics/green.png"
    write_picture_ini
    local mine='C:\users\Public\mine.bmp' ours
    ours="$(windows_path "$FILES")\\Corvalendrine.bmp"
    driver set-wallpaper-reg "$mine"
    start_program
    read_screen
    local file
    file=$(wallpaper_file)
    command_done "next" $ID_NEXT_PICTURE
    driver kill >/dev/null || fail "the program could not be ended"
    wait_program
    expect "registry after the crash" "$ours" "$(driver get-wallpaper-reg)"
    expect "wallpaper file after the crash" \
        "BM ${SCREEN_W}x$SCREEN_H 24bpp compression=0 $((54 + SCREEN_W * SCREEN_H * 3))" \
        "$(bmp_info "$file")"
    expect_centred_picture "wallpaper left by the crash" "$file" 300 200 0,255,0
    expect "remembered wallpaper after the crash" "oriwallpath=$mine" "$(ini_text | grep '^oriwallpath=')"

    start_program
    # The driver may see the new main window answer while its start-up is
    # still waiting on the shell (the icon calls): the first change can come
    # a moment later on a busy machine, and the old file is still there.
    local tries=0
    while [ "$(pixel_at "$file" $((SCREEN_W / 2)) $((SCREEN_H / 2)))" != 255,0,0 ] &&
        [ $tries -lt 100 ]; do
        tries=$((tries + 1))
        sleep 0.1
    done
    expect "remembered wallpaper after the restart" "oriwallpath=$mine" \
        "$(ini_text | grep '^oriwallpath=')"
    expect "registry after the restart" "$ours" "$(driver get-wallpaper-reg)"
    # The order starts again with the first picture.
    expect_centred_picture "wallpaper after the restart" "$file" 300 200 255,0,0
    driver post-command $ID_EXIT
    driver wait-gone 20000 >/dev/null || fail "the exit command did not end the program"
    wait_program
    expect "wallpaper after exit" "$mine" "$(driver get-wallpaper-reg)"
    expect "remembered wallpaper after exit" "oriwallpath=$mine" "$(ini_text | grep '^oriwallpath=')"
}
