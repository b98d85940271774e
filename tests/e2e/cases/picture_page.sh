# Cases of the picture page and the placement slot editor: the unit switch,
# the collage limit and the sheet's close check on the page's fields; the
# editor adding, sizing and deleting slots, applied or closed, and the end
# of the program while it is open. Sourced by tests/e2e/run.
#
# With CORV_E2E_SHOTS set to a folder, screenshots of the picture page and of
# the slot editor over the desktop are copied there.
# shellcheck shell=bash

TOOLBAR='이미지 위치 설정'

pp_open_picture_page() {
    st_open_sheet || return 1
    expect "picture page" 1 "$(driver sheet-page "$SHEET" 1)"
}

pp_ini_value() { ini_text | sed -n "s/^$1=//p"; }

# Prints the text of control ID once it reads EXPECTED, or what it reads
# after 5 seconds. A click is posted to the page, and a message sent to the
# program afterwards can be handled before it.
pp_text_after_click() {  # pp_text_after_click ID EXPECTED
    local text tries=0
    until text=$(driver page-text "$SHEET" "$1") && [ "$text" == "$2" ] || [ $tries -ge 50 ]; do
        sleep 0.1
        tries=$((tries + 1))
    done
    printf '%s\n' "$text"
}

# The interval's unit, the collage box with its limit and warning, and the
# close check's refusal of a size below 200 (which leaves collage mode on),
# all as env.ini finally holds them.
case_picture_page_fields() {
    write_ini '[DEFAULT]' 'israndum=0' 'ispath=0' 'iscalender=0' 'isweekday=0' 'maxwinstop=0' \
        'isiptooltip=0' 'isforeimg=1' 'min_sec=60000' 'changetime=1' 'picmaxsize=500' \
        'imagepos=2' 'isoverlap=0' 'piccleartotalcnt=5'
    start_program
    pp_open_picture_page || return
    expect "collage box" "이미지 겹침 설정(제한 이미지크기:443)" \
        "$(driver page-text "$SHEET" $IDC_PIC_COLLAGE)"
    expect "minutes label" "분마다" "$(driver page-text "$SHEET" $IDC_PIC_INTERVAL_LABEL)"
    expect "clear count off without collage" 0 \
        "$(driver page-enabled "$SHEET" $IDC_PIC_CLEAR_COUNT)"
    expect "interval on" 1 "$(driver page-enabled "$SHEET" $IDC_PIC_INTERVAL)"
    expect "interval arrows on" 1 "$(driver page-enabled "$SHEET" $IDC_PIC_INTERVAL_SPIN)"
    sleep 0.5
    cy_screenshot picture-page >/dev/null

    driver page-click "$SHEET" $IDC_PIC_SECONDS
    expect "seconds label" "초마다 (>3)" "$(pp_text_after_click $IDC_PIC_INTERVAL_LABEL "초마다 (>3)")"
    expect "interval raised to 3" 3 "$(driver page-field "$SHEET" $IDC_PIC_INTERVAL)"
    driver page-click "$SHEET" $IDC_PIC_MINUTES
    pp_text_after_click $IDC_PIC_INTERVAL_LABEL "분마다" >/dev/null
    expect "minutes keep the number" 3 "$(driver page-field "$SHEET" $IDC_PIC_INTERVAL)"
    driver page-click "$SHEET" $IDC_PIC_SECONDS
    pp_text_after_click $IDC_PIC_INTERVAL_LABEL "초마다 (>3)" >/dev/null

    # Collage mode with a size above the limit: the warning, then the limit.
    driver page-press "$SHEET" $IDC_PIC_COLLAGE
    local box
    box=$(driver message-box 10000)
    case $box in
        Corvalendrine설정*"이미지 겹침설정은 이미지크기에 제한이 있습니다."*"제한크기로 자동 설정됩니다."*) ;;
        *) fail "collage warning: got '$box'" ;;
    esac
    driver send 0 0 0 >/dev/null
    expect "size at the limit" 443 "$(driver page-field "$SHEET" $IDC_PIC_SIZE)"
    expect "clear count on with collage" 1 "$(driver page-enabled "$SHEET" $IDC_PIC_CLEAR_COUNT)"

    # A size below 200 is refused at close and replaced by the largest that
    # collage mode takes: collage mode stays on.
    driver page-set-text "$SHEET" $IDC_PIC_SIZE 100
    driver syscommand-close "$SHEET"
    box=$(driver message-box 10000)
    case $box in
        *"이미지크기를 최소:200이상, 최대:760이하로 설정바랍니다!"*) ;;
        *) fail "size refusal: got '$box'" ;;
    esac
    driver send 0 0 0 >/dev/null
    expect "size after the refusal" 443 "$(driver page-field "$SHEET" $IDC_PIC_SIZE)"
    expect "collage box after the refusal" 1 "$(driver page-checked "$SHEET" $IDC_PIC_COLLAGE)"
    expect "clear count stays enabled" 1 "$(driver page-enabled "$SHEET" $IDC_PIC_CLEAR_COUNT)"
    st_close_sheet
    cy_exit_program
    expect "min_sec" 1000 "$(pp_ini_value min_sec)"
    expect "changetime" 3 "$(pp_ini_value changetime)"
    expect "picmaxsize" 443 "$(pp_ini_value picmaxsize)"
    expect "isoverlap" 1 "$(pp_ini_value isoverlap)"
}

pp_open_editor() {
    driver page-click "$SHEET" $IDC_PIC_SLOT_EDITOR
    driver wait-title "$TOOLBAR" 10000 >/dev/null || { fail "the slot editor did not open"; return 1; }
    driver wait-no-title "$SHEET" 5000 >/dev/null || fail "the sheet stayed on screen"
}

# Waits until slot window N is no longer at RECT; prints where it is.
pp_slot_moved() {
    local n=$1 before=$2 now i
    for i in $(seq 1 50); do
        now=$(driver slot-windows | sed -n "${n}p")
        [ "$now" != "$before" ] && break
        sleep 0.1
    done
    printf '%s' "$now"
}

# Add a slot of picmaxsize in the middle of the screen, size it by its right
# edge (it stays square), delete another one from its menu, apply: the
# sheet is back, its preview counts the slots and poslist.txt holds them.
case_slot_editor_apply() {
    st_ini 'imagepos=1' 'picmaxsize=400'
    printf '%s\r\n' 50,50,350,350 0,0,0,0 >"$FILES/poslist.txt"
    start_program
    pp_open_picture_page || return
    expect "slot count" "2개" "$(driver page-text "$SHEET" $IDC_PIC_SLOT_COUNT)"
    pp_open_editor || return
    # The empty line of the file shows at the smallest size.
    expect "stored slots" "$(printf '%s\n' '0 0 200 200' '50 50 350 350')" \
        "$(driver slot-windows)"
    driver click "$TOOLBAR" $IDC_IMGPOS_ADD
    driver send 0 0 0 >/dev/null
    expect "added slot" "312 184 712 584" "$(driver slot-windows | sed -n 3p)"
    sleep 0.5
    cy_screenshot slot-editor >/dev/null

    driver slot-drag 3 right 50
    local l t r b
    read -r l t r b <<<"$(pp_slot_moved 3 '312 184 712 584')"
    expect "top-left kept" "312 184" "$l $t"
    [ $((r - l)) -gt 400 ] || fail "the right edge did not widen the slot: $l $t $r $b"
    expect "square after the drag" $((r - l)) $((b - t))

    driver slot-context 1
    driver menu-wait 5000 >/dev/null || { fail "no slot menu"; return; }
    driver menu-keys down enter >/dev/null
    driver send 0 0 0 >/dev/null
    expect "slots after the delete" "$(printf '%s\n' '50 50 350 350' "$l $t $r $b")" \
        "$(driver slot-windows)"

    driver click "$TOOLBAR" $IDC_IMGPOS_APPLY
    driver wait-title "$SHEET" 10000 >/dev/null || { fail "the sheet did not come back"; return; }
    expect "slot windows after apply" "" "$(driver slot-windows)"
    expect "slot count after apply" "2개" "$(driver page-text "$SHEET" $IDC_PIC_SLOT_COUNT)"
    st_close_sheet
    cy_exit_program
    expect "poslist.txt" "$(printf '%s\n' 50,50,350,350 "$l,$t,$r,$b")" \
        "$(tr -d '\r' <"$FILES/poslist.txt")"
}

# The close box changes nothing; an exit while the editor is open leaves no
# window behind and still writes env.ini and poslist.txt as they were.
case_slot_editor_close_box() {
    st_ini 'imagepos=1' 'picmaxsize=300'
    printf '%s\r\n' 100,100,400,400 >"$FILES/poslist.txt"
    start_program
    pp_open_picture_page || return
    pp_open_editor || return
    driver click "$TOOLBAR" $IDC_IMGPOS_ADD
    driver send 0 0 0 >/dev/null
    expect "added" "$(printf '%s\n' '100 100 400 400' '362 234 662 534')" "$(driver slot-windows)"
    driver syscommand-close "$TOOLBAR"
    driver wait-title "$SHEET" 10000 >/dev/null || { fail "the sheet did not come back"; return; }
    expect "no slot windows" "" "$(driver slot-windows)"
    expect "slot count unchanged" "1개" "$(driver page-text "$SHEET" $IDC_PIC_SLOT_COUNT)"

    # Numbers start at 1 again; the program ends with the editor open.
    pp_open_editor || return
    expect "reopened" "100 100 400 400" "$(driver slot-windows)"
    rm -f "$FILES/env.ini"
    cy_exit_program
    expect "poslist.txt" 100,100,400,400 "$(tr -d '\r' <"$FILES/poslist.txt")"
    [ -f "$FILES/env.ini" ] || fail "env.ini was not written at the exit"
}
