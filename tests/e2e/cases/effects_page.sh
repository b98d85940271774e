# Cases of the effects page and its mask chooser: the chooser's items, its
# keys and buttons, a mask chosen by a double-click reaching env.ini and the
# next wallpaper. Sourced by tests/e2e/run; the sheet's helpers are in
# sheet.sh, the picture and pixel helpers in effects.sh and wallpaper.sh.
#
# With CORV_E2E_SHOTS set to a folder, screenshots of the page and of the
# chooser are copied there.
# shellcheck shell=bash

CHOOSER='Select Mask'

# Presses ".." on the effects page and waits for the chooser.
ep_open_chooser() {
    driver page-click "$SHEET" $IDC_FX_CHOOSE_MASK
    driver wait-title "$CHOOSER" 15000 >/dev/null || { fail "the mask chooser did not open"; return 1; }
    driver send 0 0 0 >/dev/null
}

# 1 when the chooser's button ID is enabled.
ep_button_enabled() {
    local style
    style=$(driver style "$CHOOSER" "$1" | cut -d' ' -f1)
    [ -n "$style" ] || { echo missing; return; }
    echo $(((style & 0x08000000) == 0))
}

ep_screenshot() {
    [ -n "${CORV_E2E_SHOTS:-}" ] || return 0
    mkdir -p "$CORV_E2E_SHOTS"
    import -window root "$CORV_E2E_SHOTS/$1.png" 2>/dev/null || log "note: no screenshot $1"
}

# The chooser shows one item per shipped mask, named without ".gif", in two
# columns on a 60-pixel grid; Enter, Escape and "취 소" change nothing;
# a double-click on "heart" chooses it: the page shows "heart.gif", the
# next wallpaper is cut by the heart, and env.ini keeps it at the exit.
case_effects_page_mask_choice() {
    prepare_blue_picture 300x300
    local masks
    masks="$(windows_path "$FILES")\\Masks"
    write_picture_ini 'ismask=1' 'isframe=0' 'isshadow=0' 'ispath=0' 'iscalender=0' \
        "maskfilename=$masks\\circle.gif"
    start_program
    read_screen
    st_open_sheet || return
    driver sheet-page "$SHEET" 2 >/dev/null
    expect "mask name on the page" circle.gif "$(driver page-text "$SHEET" $IDC_FX_MASK_NAME)"
    expect "chooser button" 1 "$(driver page-enabled "$SHEET" $IDC_FX_CHOOSE_MASK)"
    expect "frame colour button with the mask" 0 \
        "$(driver page-enabled "$SHEET" $IDC_FX_FRAME_COLOR)"
    sleep 0.5
    ep_screenshot effects-page

    ep_open_chooser || return
    local expected items
    expected=$(cd "$FILES/Masks" && ls -- *.gif | sed 's/\.gif$//' | sort)
    items=$(driver list-items "$CHOOSER" $IDC_MASK_VIEW)
    expect "one item per shipped mask" "$expected" "$(cut -d'|' -f1 <<<"$items" | sort)"
    sleep 0.5
    ep_screenshot mask-chooser
    # Where the first five stand, from the first one (the view may report
    # its icons' places a few pixels into the grid cell).
    local positions
    positions=$(cut -d'|' -f2 <<<"$items" | head -5 | awk -F, 'NR == 1 { x = $1; y = $2 }
        { printf "%d,%d ", $1 - x, $2 - y }')
    expect "item positions" "0,0 60,0 0,60 60,60 0,120 " "$positions"
    expect "select button before a choice" 0 "$(ep_button_enabled $IDC_MASK_SELECT)"

    local key
    for key in enter escape; do
        driver key "$CHOOSER" "$key"
        driver send 0 0 0 >/dev/null
        sleep 0.3
        driver wait-title "$CHOOSER" 1000 >/dev/null || { fail "$key closed the chooser"; return; }
    done
    driver click "$CHOOSER" $IDC_MASK_CANCEL
    driver wait-no-title "$CHOOSER" 5000 >/dev/null || { fail "취 소 left the chooser open"; return; }
    expect "mask name after cancelling" circle.gif "$(driver page-text "$SHEET" $IDC_FX_MASK_NAME)"

    ep_open_chooser || return
    local heart
    heart=$(driver list-items "$CHOOSER" $IDC_MASK_VIEW | grep -n '^heart|' | cut -d: -f1)
    [ -n "$heart" ] || { fail "no heart in the chooser"; return; }
    driver list-click "$CHOOSER" $IDC_MASK_VIEW $((heart - 1)) double
    driver wait-no-title "$CHOOSER" 5000 >/dev/null || { fail "the double-click left the chooser open"; return; }
    expect "mask name after the choice" heart.gif "$(driver page-text "$SHEET" $IDC_FX_MASK_NAME)"
    st_close_sheet

    # The wallpaper after the sheet: the blue picture shows where the heart
    # is black, nowhere else.
    local file mask=$FILES/Masks/heart.gif
    file=$(wallpaper_file)
    local x=$(((SCREEN_W - 300) / 2)) y=$(((SCREEN_H - 300) / 2))
    local shown all
    shown=$(count_colour "$mask" 0,0,0 127)
    all=$(convert "$mask" -format '%[fx:w*h]' info:)
    local share=$((90000 * shown / all))
    expect_within "heart-cut picture area" $((share * 95 / 100)) $((share * 105 / 100)) \
        "$(count_colour "$file" 0,0,255 3)"
    local mx my mw mh bx by bw bh iw
    iw=$(convert "$mask" -format '%w' info:)
    read -r mx my mw mh < <(colour_box "$mask" 0,0,0 127)
    read -r bx by bw bh < <(colour_box "$file" 0,0,255 3)
    expect_within "heart-cut picture, left" $((x + mx * 300 / iw - 3)) $((x + mx * 300 / iw + 3)) "$bx"
    expect_within "heart-cut picture, width" $((mw * 300 / iw - 4)) $((mw * 300 / iw + 4)) "$bw"
    expect_region "cut corner, top left" "$file" "$x" "$y" 10 10 "$BACKGROUND"

    # The next opening can choose the mask chosen last time: a click on it
    # enables "선 택".
    st_open_sheet || return
    driver sheet-page "$SHEET" 2 >/dev/null
    ep_open_chooser || return
    driver list-click "$CHOOSER" $IDC_MASK_VIEW $((heart - 1))
    driver send 0 0 0 >/dev/null
    sleep 0.3
    expect "select button after a click on the last mask" 1 "$(ep_button_enabled $IDC_MASK_SELECT)"
    driver click "$CHOOSER" $IDC_MASK_SELECT
    driver wait-no-title "$CHOOSER" 5000 >/dev/null || { fail "선 택 left the chooser open"; return; }
    expect "the same mask chosen again" heart.gif "$(driver page-text "$SHEET" $IDC_FX_MASK_NAME)"

    driver post-command $ID_EXIT
    driver wait-gone 20000 >/dev/null || fail "exit with the sheet open did not end the program"
    wait_program
    expect "exit code" 0 "$EXIT_CODE"
    expect "maskfilename in env.ini" "maskfilename=$(windows_path "$FILES")\\masks\\heart.gif" \
        "$(ini_text | grep '^maskfilename=')"
}

# No Masks folder: the page shows no name, the chooser opens empty with
# "선 택" disabled and its close box closes it, changing nothing.
case_effects_page_no_masks() {
    prepare_blue_picture 100x100
    rm -rf "$FILES/Masks"
    write_picture_ini 'ismask=1' 'isframe=0' 'ispath=0' 'iscalender=0'
    start_program
    st_open_sheet || return
    driver sheet-page "$SHEET" 2 >/dev/null
    expect "mask name without masks" "" "$(driver page-text "$SHEET" $IDC_FX_MASK_NAME)"
    ep_open_chooser || return
    expect "items without masks" "" "$(driver list-items "$CHOOSER" $IDC_MASK_VIEW)"
    expect "select button without masks" 0 "$(ep_button_enabled $IDC_MASK_SELECT)"
    driver syscommand-close "$CHOOSER"
    driver wait-no-title "$CHOOSER" 5000 >/dev/null || { fail "the close box left the chooser open"; return; }
    st_close_sheet
    cy_exit_program
    expect "maskfilename without masks" "" "$(ini_text | grep '^maskfilename=' | cut -d= -f2-)"
}

# A mask file that does not decode: the chooser still lists it, the page's
# preview stays black, and choosing it stores it like any other.
case_effects_page_broken_mask() {
    prepare_blue_picture 100x100
    rm -f "$FILES"/Masks/*.gif
    printf 'not a picture' >"$FILES/Masks/broken.gif"
    : >"$FILES/Masks/empty.gif"
    write_picture_ini 'ismask=1' 'isframe=0' 'ispath=0' 'iscalender=0'
    start_program
    st_open_sheet || return
    driver sheet-page "$SHEET" 2 >/dev/null
    local name
    name=$(driver page-text "$SHEET" $IDC_FX_MASK_NAME)
    case "$name" in broken.gif | empty.gif) ;; *) fail "mask name with broken masks: '$name'" ;; esac
    local l t r b shot=$FILES/page.png tries=0
    read -r l t r b < <(driver page-rect "$SHEET" $IDC_FX_MASK_PREVIEW)
    # The page paints once it is shown; on a busy machine that can take a
    # moment after the tab is selected.
    until import -window root "$shot" &&
        [ "$(pixel_at "$shot" $(((l + r) / 2)) $(((t + b) / 2)))" = 0,0,0 ] ||
        [ $tries -ge 50 ]; do
        tries=$((tries + 1))
        sleep 0.1
    done
    expect "preview of a broken mask" 0,0,0 "$(pixel_at "$shot" $(((l + r) / 2)) $(((t + b) / 2)))"
    ep_open_chooser || return
    expect "items of broken masks" "$(printf '%s\n' broken empty)" \
        "$(driver list-items "$CHOOSER" $IDC_MASK_VIEW | cut -d'|' -f1 | sort)"
    driver list-click "$CHOOSER" $IDC_MASK_VIEW 0 double
    driver wait-no-title "$CHOOSER" 5000 >/dev/null || { fail "the double-click left the chooser open"; return; }
    name=$(driver page-text "$SHEET" $IDC_FX_MASK_NAME)
    case "$name" in broken.gif | empty.gif) ;; *) fail "mask name after the choice: '$name'" ;; esac
    st_close_sheet
    driver send 0 0 0 >/dev/null || fail "the program did not answer after the sheet"
    cy_exit_program
}
