# Cases of the settings sheet: opened from the tray command, its six pages,
# keys that do nothing, the close box, the background colour chosen through
# the page, the folders page's rescan, and the end of the program while the
# sheet is open. Sourced by tests/e2e/run.
#
# With CORV_E2E_SHOTS set to a folder, screenshots of the background and
# folders pages are copied there.
# shellcheck shell=bash

SHEET='Corvalendrine-환경설정'

# Opens the sheet as the tray menu's "환경 설정" does.
st_open_sheet() {
    driver post-command $ID_SETTINGS
    driver wait-title "$SHEET" 10000 >/dev/null || { fail "the settings sheet did not open"; return 1; }
}

st_close_sheet() {
    driver syscommand-close "$SHEET"
    driver wait-no-title "$SHEET" 5000 >/dev/null || fail "the close box did not close the sheet"
    driver send 0 0 0 >/dev/null  # the main window has composed after the sheet
}

st_ini() { write_ini '[DEFAULT]' 'israndum=0' 'changetime=9999' 'ispath=0' 'iscalender=0' \
    'isweekday=0' 'maxwinstop=0' 'isiptooltip=0' "$@"; }

# The six pages in order with their titles; Enter and Escape on a page do
# nothing; the close box closes the sheet, which reopens on the page it was
# closed on; a right click on the icon while it is open brings it forward
# instead of a menu; a second settings command opens no second sheet.
case_sheet_pages() {
    st_ini
    start_program
    st_open_sheet || return
    expect "pages" "$(printf '%s\n' '0|바탕화면 설정' '1|이미지 설정' '2|이미지 효과' \
        '3|이미지 경로' '4|달력 설정' '5|기타')" "$(driver sheet-tabs "$SHEET")"
    driver sheet-page "$SHEET" 0 >/dev/null
    local key
    for key in enter escape; do
        driver key "$SHEET" "$key"
        driver send 0 0 0 >/dev/null
        sleep 0.3
        driver wait-title "$SHEET" 1000 >/dev/null || fail "$key closed the sheet"
    done
    expect "page after the keys" 0 "$(driver sheet-page "$SHEET")"
    local id style
    for id in 1 2 9 12321; do  # OK, Cancel, Help, Apply: all hidden
        style=$(driver style "$SHEET" "$id" | cut -d' ' -f1)
        [ -z "$style" ] || [ $((style & 0x10000000)) -eq 0 ] || fail "button $id is shown"
    done

    driver post $WM_TRAY_NOTIFY $ID_TRAY_ICON 0x204 >/dev/null
    ! driver menu-wait 1500 >/dev/null || {
        fail "the tray menu opened over the sheet"
        driver menu-keys escape >/dev/null
    }
    driver post-command $ID_SETTINGS
    driver send 0 0 0 >/dev/null
    expect "sheets after a second command" "$(printf '#32770|%s' "$SHEET")" "$(driver dialogs)"

    driver sheet-page "$SHEET" 3 >/dev/null
    st_close_sheet
    st_open_sheet || return
    expect "page on reopening" 3 "$(driver sheet-page "$SHEET")"
    st_close_sheet
    cy_exit_program
}

# A colour chosen with the colour button reaches the next wallpaper, and a
# colour chosen while the program then ends with the sheet open is in
# env.ini.
case_sheet_background_colour() {
    st_ini 'isforeimg=0' 'isbackimg=0' 'isbackcolor=1' 'backcolor=7558472'
    start_program
    expect "background before" 72,85,115 "$(cy_pixel 512 384)"
    st_open_sheet || return
    expect "colour switch page" 0 "$(driver sheet-page "$SHEET")"
    sleep 0.5
    cy_screenshot sheet-background >/dev/null

    st_choose_colour $IDC_BG_COLOR_BUTTON 10 200 30 || return
    st_close_sheet
    expect "background after the sheet" 10,200,30 "$(cy_pixel 512 384)"

    st_open_sheet || return
    st_choose_colour $IDC_BG_COLOR_BUTTON 200 100 50 || return
    driver post-command $ID_EXIT
    driver wait-gone 20000 >/dev/null || fail "exit with the sheet open did not end the program"
    wait_program
    expect "exit code" 0 "$EXIT_CODE"
    # 0x00BBGGRR: blue 50, green 100, red 200.
    expect "backcolor in env.ini" "backcolor=$((50 * 65536 + 100 * 256 + 200))" \
        "$(ini_text | grep '^backcolor=')"
}

# Presses colour button ID of the page on show and confirms R G B in the
# system's colour dialog.
st_choose_colour() {  # ID R G B
    # The colour dialog's red, green and blue fields and its OK button.
    local red=706 green=707 blue=708 ok=1 dialog
    driver page-click "$SHEET" "$1"
    dialog=$(driver wait-control $red 10000) || { fail "no colour dialog"; return 1; }
    driver set-text "$dialog" $red "$2"
    driver set-text "$dialog" $green "$3"
    driver set-text "$dialog" $blue "$4"
    driver click "$dialog" $ok
    driver wait-no-title "$dialog" 5000 >/dev/null || { fail "the colour dialog stayed"; return 1; }
}

# The folders page lists the folders with their counts; a rescan drops a
# folder without pictures and counts the others again, and list.txt at the
# exit holds the rest.
case_sheet_folders_rescan() {
    local full=$FILES/full empty=$FILES/empty comma="$FILES/with, comma"
    mkdir -p "$full/sub" "$empty" "$comma"
    make_picture "$full/1.png" 40x30 255,0,0
    make_picture "$full/sub/2.png" 40x30 0,255,0
    make_picture "$comma/3.png" 40x30 0,0,255
    printf '%s\r\n' "$(windows_path "$full"),1" "$(windows_path "$empty"),5" \
        "$(windows_path "$comma"),1" '&' "$(windows_path "$full")\\1.png" >"$FILES/list.txt"
    st_ini 'isforeimg=0'
    start_program
    st_open_sheet || return
    driver sheet-page "$SHEET" 3 >/dev/null
    expect "total before" "7 pics" "$(driver page-text "$SHEET" $IDC_FOLDER_TOTAL)"
    expect "rows before" 3 "$(driver page-rows "$SHEET" $IDC_FOLDER_LIST)"
    expect "delete before a click" 0 "$(driver page-enabled "$SHEET" $IDC_FOLDER_DELETE)"
    driver page-click "$SHEET" $IDC_FOLDER_RESCAN
    local tries=0
    until [ "$(driver page-text "$SHEET" $IDC_FOLDER_TOTAL)" == "3 pics" ]; do
        tries=$((tries + 1))
        [ $tries -lt 100 ] || { fail "the rescan did not end"; break; }
        sleep 0.1
    done
    expect "rows after" 2 "$(driver page-rows "$SHEET" $IDC_FOLDER_LIST)"
    expect "rescan enabled again" 1 "$(driver page-enabled "$SHEET" $IDC_FOLDER_RESCAN)"
    sleep 0.5
    cy_screenshot sheet-folders >/dev/null
    st_close_sheet
    cy_exit_program
    local expected
    expected=$(printf '%s\n' "$(windows_path "$full"),2" "$(windows_path "$comma"),1" '&' \
        "$(windows_path "$full")\\1.png" "$(windows_path "$full")\\sub\\2.png" \
        "$(windows_path "$comma")\\3.png")
    expect "list.txt" "$expected" "$(tr -d '\r' <"$FILES/list.txt")"
}

# A folder on a drive that is not there (unplugged): a rescan keeps it with
# its count, its row says it is not connected, and list.txt at the exit
# still has it; a reachable folder without pictures is dropped as before.
case_sheet_folder_not_connected() {
    local full=$FILES/full empty=$FILES/empty gone='Q:\사진\여행'
    mkdir -p "$full" "$empty"
    make_picture "$full/1.png" 40x30 255,0,0
    printf '%s\r\n' "$gone,12" "$(windows_path "$full"),1" "$(windows_path "$empty"),2" '&' \
        "$gone\\a.jpg" "$(windows_path "$full")\\1.png" | iconv -f UTF-8 -t CP949 >"$FILES/list.txt"
    st_ini 'isforeimg=0'
    start_program
    st_open_sheet || return
    driver sheet-page "$SHEET" 3 >/dev/null
    expect "rows before" "$gone  (연결 안 됨)|12
$(windows_path "$full")|1
$(windows_path "$empty")|2" "$(driver page-cells "$SHEET" $IDC_FOLDER_LIST)"
    driver page-click "$SHEET" $IDC_FOLDER_RESCAN
    local tries=0
    until [ "$(driver page-text "$SHEET" $IDC_FOLDER_TOTAL)" == "13 pics" ]; do
        tries=$((tries + 1))
        [ $tries -lt 100 ] || { fail "the rescan did not end ($(driver page-text "$SHEET" $IDC_FOLDER_TOTAL))"; break; }
        sleep 0.1
    done
    expect "rows after the rescan" "$gone  (연결 안 됨)|12
$(windows_path "$full")|1" "$(driver page-cells "$SHEET" $IDC_FOLDER_LIST)"
    sleep 0.5
    cy_screenshot sheet-folder-not-connected >/dev/null
    st_close_sheet
    cy_exit_program
    local expected
    expected=$(printf '%s\n' "$gone,12" "$(windows_path "$full"),1" '&' "$(windows_path "$full")\\1.png")
    expect "list.txt" "$expected" "$(tr -d '\r' <"$FILES/list.txt" | iconv -f CP949 -t UTF-8)"
}
