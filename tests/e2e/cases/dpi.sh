# Cases of the display scale: the program at 96, 144 and 192 DPI (100 %,
# 150 % and 200 %, set in the prefix as Windows' display settings set it).
# The tray menu's items must hold their text whole, and the calendar on the
# wallpaper must grow with the scale. Sourced by tests/e2e/run.
#
# Each case runs on a screen of its own, so cases running side by side do
# not cover its windows. With CORV_E2E_SHOTS set to a folder the screenshots
# are copied there.
# shellcheck shell=bash

# --- helpers (prefixed dp_: every case file shares one shell) ---------------

# The display's DPI for every program of the case's prefix, before the
# first program starts; the driver then reports what Wine really uses. The
# case gets a screen of its own, since its pixels are read.
dp_set_dpi() {
    DPI=$1
    own_screen
    printf '\n[Control Panel\\\\Desktop] 1700000000\n"LogPixels"=dword:%08x\n' "$DPI" \
        >>"$WINEPREFIX/user.reg"
}

# A size of pixels at 96 DPI at the case's DPI, rounded as MulDiv rounds.
dp_px() { echo $((($1 * DPI + 48) / 96)); }

dp_screenshot() {
    local file=$FILES/$1.png
    import -display "$DISPLAY" -window root "$file"
    if [ -n "${CORV_E2E_SHOTS:-}" ]; then
        mkdir -p "$CORV_E2E_SHOTS"
        cp "$file" "$CORV_E2E_SHOTS/"
    fi
    printf '%s' "$file"
}

# The rectangle W H X Y of picture FILE as text: one line "W H", then one
# line per pixel row, each pixel the brightest of its red, green and blue.
dp_rows() {  # dp_rows FILE W H X Y
    convert "$1" -crop "$2x$3+$4+$5" +repage -separate -evaluate-sequence Max \
        -compress none pgm:- |
        awk 'NR == 1 { next } NR == 2 { print; w = $1; next } NR == 3 { next }
             { for (i = 1; i <= NF; i++) { line = line (n % w ? " " : "") $i; n++
                   if (n % w == 0) { print line; line = "" } } }'
}

# Checks the open menu's picture: the client area L T R B of the menu in
# shot FILE. Ink is a pixel whose brightest channel is below 100 (the black
# item text and the separator lines; the banner's pink and the white items
# are not). Rows in order: 2 texts, a separator, 2 texts, a separator, 3
# texts, a separator, 2 texts, a separator, 1 text. Prints what is wrong,
# one line each; nothing when the menu is whole.
dp_check_menu() {  # dp_check_menu FILE L T R B
    local row sep left text line
    row=$(dp_px 22) sep=$(dp_px 4) left=$(dp_px 42) text=$(dp_px 2) line=$(dp_px 1)
    dp_rows "$1" $(($4 - $2)) $(($5 - $3)) "$2" "$3" |
        awk -v row="$row" -v sep="$sep" -v left="$left" -v text="$text" -v line="$line" '
        NR == 1 { w = $1; next }
        { y = NR - 2; for (x = 1; x <= NF; x++) dark[x - 1, y] = $x < 100; h = y + 1 }
        END {
            # Separator lines: rows mostly ink. Their left end is the items
            # left edge plus the text margin, their right end 3 before the
            # text box ends.
            nsep = 0
            for (y = 0; y < h; y++) {
                n = 0; first = -1; last = -1
                for (x = 0; x < w; x++) if (dark[x, y]) { n++; if (first < 0) first = x; last = x }
                if (n > w / 2) {
                    if (nsep == 0 || y != sepEnd[nsep - 1] + 1) {
                        sepTop[nsep] = y; sepLeft[nsep] = first; sepRight[nsep] = last; nsep++
                    }
                    sepEnd[nsep - 1] = y
                }
            }
            if (nsep != 4) { print "found " nsep " separator lines, not 4"; exit }
            itemLeft = sepLeft[0] - left
            textRight = sepRight[0] + 1 + 3 * line  # the text box ends here
            kinds = "TTSTTSTTTSTTST"
            top = sepTop[0] - text - 2 * row
            s = 0
            for (i = 1; i <= length(kinds); i++) {
                kind = substr(kinds, i, 1)
                if (kind == "S") {
                    if (sepTop[s] != top + text)
                        print "separator " s " at row " sepTop[s] ", expected " top + text
                    if (sepEnd[s] - sepTop[s] + 1 != line)
                        print "separator " s " is " sepEnd[s] - sepTop[s] + 1 " rows thick"
                    s++; top += sep; continue
                }
                # A text item: ink inside its row, clear of the rows edges
                # and of the end of its text box (right of which only the
                # banner gradient shows).
                inkTop = -1; inkBottom = -1; inkRight = -1
                for (y = top; y < top + row; y++)
                    for (x = itemLeft + left; x < textRight; x++)
                        if (dark[x, y]) {
                            if (inkTop < 0) inkTop = y
                            inkBottom = y
                            if (x > inkRight) inkRight = x
                        }
                if (inkTop < 0) { print "item " i ": no text"; top += row; continue }
                if (inkTop <= top || inkBottom >= top + row - 1)
                    print "item " i ": ink rows " inkTop "-" inkBottom " reach the edge of its row " \
                        top "-" top + row - 1
                if (inkRight >= textRight - 2)
                    print "item " i ": text cut at the right (ink to " inkRight ", box ends " \
                        textRight ")"
                top += row
            }
        }'
}

# Opens the tray menu at DPI and checks it: the system must report that DPI,
# the rows are the scaled heights, and every text is whole inside its row.
dp_tray_menu_case() {
    dp_set_dpi "$1"
    cy_pictures red green
    cy_ini 600
    start_program
    expect "DPI reported by the system" "$DPI" "$(driver dpi)"
    local area l t r b problems shot
    area=$(cy_open_menu) || { fail "the tray menu did not open"; return; }
    read -r l t r b <<<"$area"
    sleep 0.5
    shot=$(dp_screenshot "tray-menu-$DPI")
    driver menu-keys escape >/dev/null
    driver menu-gone 5000 >/dev/null || fail "the menu did not close"
    local height=$((10 * $(dp_px 22) + 4 * $(dp_px 4)))
    cy_within "menu height at $DPI DPI" $((b - t)) "$height" $((height + 10))
    problems=$(dp_check_menu "$shot" "$l" "$t" "$r" "$b")
    [ -z "$problems" ] || fail "the menu at $DPI DPI: $problems"
}

case_tray_menu_at_96_dpi() { dp_tray_menu_case 96; }
case_tray_menu_at_144_dpi() { dp_tray_menu_case 144; }
case_tray_menu_at_192_dpi() { dp_tray_menu_case 192; }

# The dark bands a column of the wallpaper crosses from row Y down, H rows:
# "TOP HEIGHT" each, where the brightest channel is below LIMIT.
dp_dark_bands() {  # dp_dark_bands FILE X Y H LIMIT
    dp_rows "$1" 1 "$4" "$2" "$3" |
        awk -v y0="$3" -v limit="$5" 'NR == 1 { next }
            { y = y0 + NR - 2
              if ($1 < limit) { if (start < 0 || start == "") start = y; next }
              if (start != "" && start >= 0) print start, y - start; start = -1 }
            END { if (start != "" && start >= 0) print start, y0 + NR - 1 - start }'
}

# The wallpaper at 200 % on a 2048 x 1536 desktop: the calendar's title bar
# and day strip and the caption bar are twice their height at 100 %, the
# day numbers twice as tall and today's mark twice as large.
case_calendar_at_192_dpi() {
    dp_set_dpi 192
    printf '\n[Software\\\\Wine\\\\Explorer\\\\Desktops] 1700000001\n"Default"="2048x1536"\n' \
        >>"$WINEPREFIX/user.reg"
    local pics=$FILES/pictures file x y w h
    use_task_bar
    mkdir -p "$pics"
    copy_effect_files
    make_picture "$pics/blue.png" 200x150 0,0,255
    write_list "$pics" -- "$pics/blue.png"
    # A dark grey desktop (0x404040): the bars darken it further.
    write_picture_ini 'iscalender=1' 'ispath=1' 'isbackcolor=1' 'backcolor=4210752' \
        'isframe=0' 'isshadow=0' 'isrotate=0' 'ismask=0'
    start_program
    read_screen
    expect "desktop size" "2048 1536" "$SCREEN_W $SCREEN_H"
    file=$(wallpaper_file)
    [ -f "$file" ] || { fail "no wallpaper was written"; return; }
    if [ -n "${CORV_E2E_SHOTS:-}" ]; then
        mkdir -p "$CORV_E2E_SHOTS"
        convert "$file" "$CORV_E2E_SHOTS/wallpaper-192.png"
    fi
    local R=$WORK_R B=$WORK_B
    # Two pixels inside the right edge only the bars cover the desktop.
    expect "bars at the right edge" "$((B - 164)) 60
$((B - 88)) 32
$((B - 40)) 24" "$(dp_dark_bands "$file" $((R - 2)) $((B - 200)) 200 40)"
    if [ "$(date +%F)" != "$CASE_DATE" ]; then
        log "note: the date changed while the case ran; the numbers are not checked"
        return
    fi
    read -r x y w h < <(colour_box "$file" 255,255,255 12 $((R - 1600)) $((B - 88)) 1600 32)
    [ "$x" != none ] || { fail "no day numbers in the strip"; return; }
    expect_within "right end of the day numbers" $((R - 32)) $((R - 18)) $((x + w))
    expect_within "height of the day numbers" 18 32 "$h"
    read -r x y w h < <(colour_box "$file" "$TODAY_MARK" 30 $((R - 1600)) $((B - 120)) 1600 100)
    [ "$x" != none ] || { fail "no mark on today's number"; return; }
    expect_within "width of today's mark" 44 64 "$w"
    expect_within "height of today's mark" 44 64 "$h"
}

# The settings sheet and the slot editor at DPI: every page is shown and
# photographed, the colour button draws its frames a scaled line thick
# around its swatch, and a slot window's number is drawn in the scaled font.
dp_sheet_case() {
    dp_set_dpi "$1"
    st_ini 'isforeimg=0' 'isbackcolor=1' 'backcolor=7558472' 'imagepos=1' 'picmaxsize=400'
    printf '%s\r\n' 100,100,500,500 >"$FILES/poslist.txt"
    start_program
    st_open_sheet || return
    local page shot l t r b y
    for page in 5 4 3 2 1 0; do
        expect "page shown" "$page" "$(driver sheet-page "$SHEET" "$page")"
        sleep 0.5
        shot=$(dp_screenshot "sheet-$DPI-page$page")
    done
    # The background page's colour button, across its middle row from the
    # left: the raised frame (white), then the swatch's sunken frame
    # (black), then the colour (7558472 is red 72, green 85, blue 115).
    read -r l t r b <<<"$(driver page-rect "$SHEET" $IDC_BG_COLOR_BUTTON)"
    y=$(((t + b) / 2))
    local line inset x expected=() got=()
    line=$(dp_px 1) inset=$(dp_px 2)
    for ((x = 0; x < line; x++)); do
        expected+=(255,255,255) got+=("$(pixel_at "$shot" $((l + x)) "$y")")
    done
    for ((x = inset; x < inset + line; x++)); do
        expected+=(0,0,0) got+=("$(pixel_at "$shot" $((l + x)) "$y")")
    done
    expected+=(72,85,115) got+=("$(pixel_at "$shot" $((l + inset + line)) "$y")")
    expect "colour button's left edge at $DPI DPI" "${expected[*]}" "${got[*]}"

    driver sheet-page "$SHEET" 1 >/dev/null
    pp_open_editor || return
    # The number "1" in the middle, in a font 48 pixels high at 100 %: its
    # ink is at least half that tall. Looked for inside the outline and
    # above the small caption, which starts 24 pixels below the middle. A
    # loaded machine may paint the window late: a few looks, a moment apart.
    local w h mid font tries=0
    font=$(dp_px 48)
    while :; do
        sleep 0.5
        shot=$(dp_screenshot "slot-editor-$DPI")
        read -r l t r b <<<"$(driver slot-windows)"
        mid=$(((t + b) / 2))
        read -r x y w h < <(colour_box "$shot" 0,0,0 30 $((l + 10)) $((t + 10)) $((r - l - 20)) \
            $((mid + $(dp_px 24) - 2 - t - 10)))
        [ "$x" = none ] && [ $((tries += 1)) -lt 8 ] || break
    done
    [ "$x" != none ] || { fail "no number in the slot window"; return; }
    expect_within "height of the slot's number" $((font / 2)) "$font" "$h"
    driver click "$TOOLBAR" $IDC_IMGPOS_APPLY
    driver wait-title "$SHEET" 10000 >/dev/null || fail "the sheet did not come back"
    st_close_sheet
    cy_exit_program
}

case_sheet_at_96_dpi() { dp_sheet_case 96; }
case_sheet_at_144_dpi() { dp_sheet_case 144; }
case_sheet_at_192_dpi() { dp_sheet_case 192; }
