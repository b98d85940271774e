# Cases of the calendar and miscellaneous pages and the program picker:
# autostart through the Run key, the busy stop's buttons, the calendar's
# font lists and a Sunday colour reaching the wallpaper, and a program
# chosen in the picker kept as an exception. Sourced by tests/e2e/run.
#
# With CORV_E2E_SHOTS set to a folder, screenshots of both pages and of the
# picker are copied there.
# shellcheck shell=bash

PICKER='활성화된 프로그램리스트'

# Counts the wallpaper's pixels of exactly the colour "R,G,B".
pg_count_colour() {
    convert "$FILES/Corvalendrine.bmp" -fill black +opaque "rgb($1)" -fill white \
        -opaque "rgb($1)" -format '%[fx:round(mean*w*h)]' info:
}

# Asserts that no message box of the program comes up.
pg_no_box() {
    local box
    if box=$(driver message-box 1500); then fail "$1: a box came up: $box"; fi
}

# The miscellaneous page: autostart writes the Run value with the program's
# path and clearing removes it; clearing again after the value was removed
# outside the program shows no error. The busy stop enables its buttons.
case_misc_page_autostart() {
    st_ini 'isforeimg=0'
    start_program
    st_open_sheet || return
    expect "page" 5 "$(driver sheet-page "$SHEET" 5)"
    expect "autostart at opening" 0 "$(driver page-checked "$SHEET" $IDC_MISC_AUTOSTART)"
    expect "run value before" missing "$(driver run-value)"

    driver page-toggle "$SHEET" $IDC_MISC_AUTOSTART
    pg_no_box "autostart on"
    expect "run value on" "$(windows_path "$FILES")\\corvalendrine.exe" "$(driver run-value)"
    driver page-toggle "$SHEET" $IDC_MISC_AUTOSTART
    pg_no_box "autostart off"
    expect "run value off" missing "$(driver run-value)"

    driver page-toggle "$SHEET" $IDC_MISC_AUTOSTART
    expect "run value on again" "$(windows_path "$FILES")\\corvalendrine.exe" "$(driver run-value)"
    driver run-value-delete
    driver page-toggle "$SHEET" $IDC_MISC_AUTOSTART
    pg_no_box "autostart off after the value was removed"
    expect "box after clearing" 0 "$(driver page-checked "$SHEET" $IDC_MISC_AUTOSTART)"

    local id
    for id in $IDC_MISC_PICK_PROGRAMS $IDC_MISC_CLEAR_PROGRAMS; do
        expect "busy button $id off" 0 "$(driver page-enabled "$SHEET" $id)"
    done
    driver page-toggle "$SHEET" $IDC_MISC_BUSY_STOP
    for id in $IDC_MISC_PICK_PROGRAMS $IDC_MISC_CLEAR_PROGRAMS; do
        expect "busy button $id on" 1 "$(driver page-enabled "$SHEET" $id)"
    done
    driver page-toggle "$SHEET" $IDC_MISC_BUSY_STOP
    expect "pick after off" 0 "$(driver page-enabled "$SHEET" $IDC_MISC_PICK_PROGRAMS)"
    sleep 0.5
    cy_screenshot page-misc >/dev/null
    st_close_sheet
    # The box reads the registry each time the page is made.
    st_open_sheet || return
    driver sheet-page "$SHEET" 5 >/dev/null
    expect "autostart on reopening" 0 "$(driver page-checked "$SHEET" $IDC_MISC_AUTOSTART)"
    st_close_sheet
    cy_exit_program
    expect "maxwinstop in env.ini" maxwinstop=0 "$(ini_text | grep '^maxwinstop=')"
}

# The calendar page lists the installed Korean font; a colour chosen for
# Sundays reaches the next wallpaper's calendar and env.ini.
case_calendar_page_fonts_colour() {
    cy_pictures red
    cy_ini 9999 'isbackimg=0' 'isbackcolor=1' 'backcolor=0' 'iscalender=1' \
        "ymfontname=$(printf '나눔' | iconv -f UTF-8 -t CP949)" \
        "ddfontname=$(printf '나눔바른' | iconv -f UTF-8 -t CP949)" 'reddaycolor=255'
    start_program
    st_open_sheet || return
    expect "page" 4 "$(driver sheet-page "$SHEET" 4)"
    local fonts
    fonts=$(driver page-items "$SHEET" $IDC_CAL_TITLE_FONT)
    # The Korean font, under its Korean family name.
    grep -qx '나눔고딕' <<<"$fonts" || fail "no 나눔고딕 in the title fonts: $fonts"
    grep -q '^@' <<<"$fonts" && fail "a vertical face is listed"
    expect "date fonts" "$fonts" "$(driver page-items "$SHEET" $IDC_CAL_DATE_FONT)"
    # The stored names select the first item they begin.
    expect "title font" 나눔고딕 "$(driver page-selected "$SHEET" $IDC_CAL_TITLE_FONT)"
    expect "date font" 나눔바른고딕 "$(driver page-selected "$SHEET" $IDC_CAL_DATE_FONT)"
    expect "switch" 1 "$(driver page-checked "$SHEET" $IDC_CAL_SWITCH)"
    expect "sunday colour before" 0 "$(pg_count_colour 10,200,30)"

    st_choose_colour $IDC_CAL_SUNDAY_COLOR 10 200 30 || return
    sleep 0.5
    cy_screenshot page-calendar >/dev/null

    # Off: the group is disabled, and the colour buttons do nothing.
    driver page-toggle "$SHEET" $IDC_CAL_SWITCH
    expect "title font list off" 0 "$(driver page-enabled "$SHEET" $IDC_CAL_TITLE_FONT)"
    expect "sunday button off" 0 "$(driver page-enabled "$SHEET" $IDC_CAL_SUNDAY_COLOR)"
    driver page-toggle "$SHEET" $IDC_CAL_SWITCH
    expect "sunday button on" 1 "$(driver page-enabled "$SHEET" $IDC_CAL_SUNDAY_COLOR)"
    st_close_sheet
    local count
    count=$(pg_count_colour 10,200,30)
    [ "$count" -gt 0 ] || fail "no Sunday pixels of the chosen colour on the wallpaper"
    cy_exit_program
    expect "reddaycolor" "reddaycolor=$((30 * 65536 + 200 * 256 + 10))" \
        "$(ini_text | grep '^reddaycolor=')"
    expect "fonts in env.ini" "$(printf '%s\n' ymfontname=나눔고딕 ddfontname=나눔바른고딕)" \
        "$(ini_text | iconv -f CP949 -t UTF-8 | grep -E '^(ym|dd)fontname=')"
}

# The picker lists an open notepad window; checking it and "선택" makes it
# an exception program: the wallpaper keeps changing while it is open, and
# env.ini keeps it at the exit. A chosen program that is not running stays
# chosen.
case_program_picker_notepad() {
    cy_pictures red green blue yellow
    cy_ini 3 'maxwinstop=1' "outprogram0=$(printf '없는 프로그램' | iconv -f UTF-8 -t CP949)"
    printf 'corv\r\n' >"$FILES/corvpick.txt"
    start_program
    (cd "$FILES" && exec timeout 100 wine notepad.exe 'corvpick.txt' >/dev/null 2>&1) &
    local notepad=$! tries=0 rows=""
    st_open_sheet || return
    driver sheet-page "$SHEET" 5 >/dev/null
    expect "label before" " 1.없는 프로그램" "$(driver page-text "$SHEET" $IDC_MISC_PROGRAMS)"
    until grep -q 'corvpick' <<<"$rows"; do
        driver click "$PICKER" $IDC_PICKER_CANCEL >/dev/null 2>&1 || true
        driver wait-no-title "$PICKER" 3000 >/dev/null || true
        tries=$((tries + 1))
        [ $tries -lt 20 ] || { fail "no notepad row: $rows"; break; }
        sleep 0.5
        driver page-click "$SHEET" $IDC_MISC_PICK_PROGRAMS
        driver wait-title "$PICKER" 10000 >/dev/null || { fail "no picker"; return; }
        rows=$(driver list-rows "$PICKER" $IDC_PICKER_LIST)
    done
    expect "first row: the chosen program, checked" "1|없는 프로그램" "$(head -1 <<<"$rows")"
    grep -q '^1|' <<<"$(tail -n +2 <<<"$rows")" && fail "other rows are checked: $rows"
    local row title
    row=$(grep -n 'corvpick' <<<"$rows" | head -1 | cut -d: -f1)
    title=$(grep 'corvpick' <<<"$rows" | head -1 | cut -d'|' -f2-)
    driver list-check "$PICKER" $IDC_PICKER_LIST $((row - 1))
    sleep 0.5
    cy_screenshot picker >/dev/null
    driver click "$PICKER" $IDC_PICKER_ACCEPT
    driver wait-no-title "$PICKER" 5000 >/dev/null || fail "the picker stayed after 선택"
    expect "label after" " 1.없는 프로그램, 2.$title" "$(driver page-text "$SHEET" $IDC_MISC_PROGRAMS)"
    st_close_sheet
    local before
    before=$(cy_md5)
    cy_wait_change "$before" 8 || fail "the chosen program's window held the ticks"
    cy_exit_program
    expect "outprogram0" "outprogram0=없는 프로그램" \
        "$(ini_text | iconv -f CP949 -t UTF-8 | grep '^outprogram0=')"
    expect "outprogram1" "outprogram1=$title" \
        "$(ini_text | iconv -f CP949 -t UTF-8 | grep '^outprogram1=')"
    kill "$notepad" 2>/dev/null || true
}
