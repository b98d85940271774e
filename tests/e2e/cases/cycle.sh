# Cases of the change cycle: the tray icon's notifications, the tray menu
# and its commands, the change timer with pause and busy stop, the delete
# question and the About box. Sourced by tests/e2e/run.
#
# Screenshots of the open tray menu and of the About box are written into
# the case's program folder; with CORV_E2E_SHOTS set to a folder they are
# copied there too, for a person to look at. Cases run side by side share
# one screen, so for a clear picture run the case alone:
#   CORV_E2E_SHOTS=/some/folder ctest -R e2e.tray_menu_look
# shellcheck shell=bash

# --- helpers (prefixed cy_: every case file shares one shell) ---------------

# Solid 64 x 48 PNG pictures, one per colour given, named 1.png, 2.png ...
# in the folder "pics" of the program folder; list.txt lists them in order.
cy_pictures() {
    local dir=$FILES/pics n=0 colour lines=()
    mkdir -p "$dir"
    for colour in "$@"; do
        n=$((n + 1))
        convert -size 64x48 "xc:$colour" "$dir/$n.png"
        lines+=("$(windows_path "$dir")\\$n.png")
    done
    printf '%s\r\n' "$(windows_path "$dir"),$n" '&' "${lines[@]}" >"$FILES/list.txt"
}

# env.ini for the cycle: pictures in order and centred, no caption, no
# calendar, no busy stop, a change every CHANGETIME seconds; further
# key=value arguments add keys or replace these (an INI file takes the
# first of two equal keys, so each key is written once).
cy_ini() {
    local changetime=$1 line given lines=()
    shift
    for line in "changetime=$changetime" min_sec=1000 israndum=0 imagepos=0 ispath=0 \
        iscalender=0 isweekday=0 maxwinstop=0 isiptooltip=0; do
        for given in "$@"; do
            [ "${given%%=*}" == "${line%%=*}" ] && continue 2
        done
        lines+=("$line")
    done
    write_ini '[DEFAULT]' "${lines[@]}" "$@"
}

cy_md5() { md5sum <"$FILES/Corvalendrine.bmp" | cut -d' ' -f1; }

# Waits up to $2 seconds for the wallpaper to differ from md5 $1.
cy_wait_change() {
    local before=$1 deadline=$(($(date +%s) + $2))
    while [ "$(date +%s)" -le "$deadline" ]; do
        [ "$(cy_md5)" != "$before" ] && return 0
        sleep 0.2
    done
    return 1
}

# The colour "r,g,b" of pixel X Y of the wallpaper.
cy_pixel() {
    local at="p{$1,$2}"
    convert "$FILES/Corvalendrine.bmp" \
        -format "%[fx:round(255*$at.r)],%[fx:round(255*$at.g)],%[fx:round(255*$at.b)]" info:
}

# Fails the case unless LOW <= VALUE <= HIGH.
cy_within() {  # cy_within WHAT VALUE LOW HIGH
    if [ "$2" -lt "$3" ] || [ "$2" -gt "$4" ]; then
        fail "$1: $2 is not within $3..$4"
    fi
}

# A picture of the whole screen in the program folder as NAME.png; its
# path is printed.
cy_screenshot() {
    local file=$FILES/$1.png
    import -display "$DISPLAY" -window root "$file"
    if [ -n "${CORV_E2E_SHOTS:-}" ]; then
        mkdir -p "$CORV_E2E_SHOTS"
        cp "$file" "$CORV_E2E_SHOTS/"
    fi
    printf '%s' "$file"
}

# Opens the tray menu as a right-button press on the icon does, and prints
# the menu's client area "L T R B".
cy_open_menu() {
    driver post $WM_TRAY_NOTIFY $ID_TRAY_ICON 0x204 >/dev/null
    driver menu-wait 10000
}


cy_exit_program() {
    driver post-command $ID_EXIT
    driver wait-gone 20000 >/dev/null || fail "the exit command did not end the program"
    wait_program
    expect "exit code" 0 "$EXIT_CODE"
}

# --- the tray menu -------------------------------------------------------------

# A right-button press opens the program's own menu: its height is that of
# the items as the program measures them (10 items of 22 pixels and 4
# separators of 4), inside the system's thin frame. The screenshot shows
# the banner, the highlight of the second item and the pause mark; its
# pixels are checked by the Windows tests, where no other case's desktop
# can cover the menu.
case_tray_menu_look() {
    own_screen  # an open menu closes when another case's window takes the focus
    cy_pictures red green
    cy_ini 600
    start_program
    driver send-command $ID_PAUSE >/dev/null  # the menu shows the mark
    local area l t r b
    area=$(cy_open_menu) || { fail "the tray menu did not open"; return; }
    read -r l t r b <<<"$area"
    driver menu-keys down down >/dev/null  # selects the second item
    sleep 0.5
    cy_screenshot tray-menu >/dev/null
    driver menu-keys escape >/dev/null
    driver menu-gone 5000 >/dev/null || fail "the menu did not close"
    cy_within "menu height" $((b - t)) 236 246
    cy_within "menu width" $((r - l)) 60 400
}

# While the menu is open the change timer composes nothing; afterwards it
# does again.
case_tray_menu_holds_cycle() {
    own_screen  # an open menu closes when another case's window takes the focus
    cy_pictures red green blue yellow
    cy_ini 3
    start_program
    cy_open_menu >/dev/null || { fail "the tray menu did not open"; return; }
    local held
    held=$(cy_md5)
    sleep 4
    expect "wallpaper while the menu is open" "$held" "$(cy_md5)"
    driver menu-keys escape >/dev/null
    driver menu-gone 5000 >/dev/null || fail "the menu did not close"
    cy_wait_change "$held" 6 || fail "the change timer did not come back after the menu"
}

# Commands chosen in the menu itself: next, the desktop icons (the fifth
# selectable item: separators are skipped), and exit (the last item).
case_tray_menu_commands() {
    own_screen  # an open menu closes when another case's window takes the focus
    cy_pictures red green blue
    cy_ini 600
    start_fake_desktop
    start_program
    local before
    before=$(cy_md5)
    cy_open_menu >/dev/null || { fail "the tray menu did not open"; return; }
    driver menu-keys down enter >/dev/null
    driver menu-gone 5000 >/dev/null || fail "the menu did not close after next"
    cy_wait_change "$before" 5 || fail "next from the menu did not change the wallpaper"

    cy_open_menu >/dev/null || { fail "the tray menu did not open again"; return; }
    driver menu-keys down down down down down enter >/dev/null
    driver menu-gone 5000 >/dev/null || fail "the menu did not close after the icons"
    driver send 0 0 0 >/dev/null  # the command has been handled
    expect "icons after the menu command" hidden "$(driver desktop-icons)"

    cy_open_menu >/dev/null || { fail "the tray menu did not open a third time"; return; }
    driver menu-keys up enter >/dev/null
    driver wait-gone 20000 >/dev/null || fail "exit from the menu did not end the program"
    wait_program
    expect "exit code" 0 "$EXIT_CODE"
    expect "icons after exit" shown "$(driver desktop-icons)"
    expect "isiconhide in env.ini" isiconhide=1 "$(ini_text | grep '^isiconhide=')"
}

# --- commands from outside ------------------------------------------------------

# A double-click on the icon is the next command.
case_double_click_next() {
    cy_pictures red green
    cy_ini 600
    start_program
    local before
    before=$(cy_md5)
    expect "double-click answer" 1 "$(driver send $WM_TRAY_NOTIFY $ID_TRAY_ICON 0x203)"
    [ "$(cy_md5)" != "$before" ] || fail "the double-click did not change the wallpaper"
    expect "picture after the double-click" 0,128,0 "$(cy_pixel 512 384)"
}

# Next shows the following picture; previous shows the one before, and a
# second previous shows it again.
case_next_and_previous() {
    cy_pictures red lime blue
    cy_ini 600
    start_program
    local first second
    first=$(cy_md5)
    expect "first picture" 255,0,0 "$(cy_pixel 512 384)"
    driver send-command $ID_NEXT_PICTURE
    second=$(cy_md5)
    expect "after next" 0,255,0 "$(cy_pixel 512 384)"
    driver send-command $ID_PREVIOUS_PICTURE
    expect "after previous" "$first" "$(cy_md5)"
    driver send-command $ID_PREVIOUS_PICTURE
    expect "after a second previous" "$first" "$(cy_md5)"
    driver send-command $ID_NEXT_PICTURE
    expect "next after previous" 0,0,255 "$(cy_pixel 512 384)"
    [ "$second" != "$first" ] || fail "next did not change the wallpaper"
}

# Pause stops the ticks but not the next command; a second pause lets the
# ticks go on.
case_pause() {
    cy_pictures red green blue yellow cyan
    cy_ini 3
    start_program
    driver send-command $ID_PAUSE
    local held
    held=$(cy_md5)
    sleep 4
    expect "wallpaper while paused" "$held" "$(cy_md5)"
    driver send-command $ID_NEXT_PICTURE
    local stepped
    stepped=$(cy_md5)
    [ "$stepped" != "$held" ] || fail "next did not change the wallpaper while paused"
    sleep 4
    expect "wallpaper while paused, after next" "$stepped" "$(cy_md5)"
    driver send-command $ID_PAUSE
    cy_wait_change "$stepped" 6 || fail "the ticks did not come back after the pause"
}

# In collage mode the pictures stay on the wallpaper until the clear-screen
# command starts a fresh canvas holding only the new picture.
case_clear_screen_collage() {
    cy_pictures red lime blue
    printf '%s\r\n' 100,100,300,250 600,100,800,250 >"$FILES/poslist.txt"
    cy_ini 600 'isoverlap=1' 'imagepos=1' 'piccleartotalcnt=10'
    start_program
    expect "first picture in the first slot" 255,0,0 "$(cy_pixel 200 175)"
    driver send-command $ID_NEXT_PICTURE
    expect "the first picture is kept" 255,0,0 "$(cy_pixel 200 175)"
    expect "second picture in the second slot" 0,255,0 "$(cy_pixel 700 175)"
    driver send-command $ID_CLEAR_SCREEN
    expect "third picture on a fresh canvas" 0,0,255 "$(cy_pixel 200 175)"
    expect "the second picture is gone" 72,85,115 "$(cy_pixel 700 175)"
}

# --- the delete question -----------------------------------------------------------

# Yes moves the picture file to the recycle bin and shows another picture.
case_delete_yes() {
    cy_pictures red green blue
    cy_ini 600
    # Wine's recycle bin is the desktop's trash folder: kept in the case's files.
    export XDG_DATA_HOME=$FILES/xdg
    start_program
    local before asked
    before=$(cy_md5)
    driver post-command $ID_DELETE_PICTURE
    asked=$(driver answer yes 10000) || { fail "no delete question"; return; }
    local path
    path="$(windows_path "$FILES/pics")\\1.png"
    expect "question" "$(printf '파일삭제?\n%s파일을 삭제하시겠습니까?' "$path")" "$asked"
    driver wait-no-title '파일삭제?' 5000 >/dev/null
    # The shell asks once more before it moves the file to the recycle bin
    # (Wine does; so does Windows without "no confirmation").
    log "the shell's question: $(driver answer yes 3000 | head -n 1)"
    local tries=0
    while [ -e "$FILES/pics/1.png" ] && [ $tries -lt 50 ]; do
        sleep 0.2
        tries=$((tries + 1))
    done
    [ ! -e "$FILES/pics/1.png" ] || fail "the picture file is still there"
    [ -e "$FILES/pics/2.png" ] || fail "another picture file went too"
    cy_wait_change "$before" 5 || fail "the wallpaper did not change after the delete"
    expect "picture after the delete" 0,128,0 "$(cy_pixel 512 384)"
    local trashed
    trashed=$(find "$XDG_DATA_HOME" -name '1*.png' 2>/dev/null | wc -l)
    [ "$trashed" -ge 1 ] || fail "the file is not in the recycle bin"
}

# No changes nothing, the ticks wait while the question is open, and the
# cycle goes on afterwards.
case_delete_no() {
    cy_pictures red green blue yellow
    cy_ini 3
    start_program
    driver post-command $ID_DELETE_PICTURE
    driver wait-title '파일삭제?' 10000 >/dev/null || { fail "no delete question"; return; }
    local held
    held=$(cy_md5)
    sleep 4
    expect "wallpaper while the question is open" "$held" "$(cy_md5)"
    # Paused meanwhile, so that no tick can change the wallpaper while the
    # answer's own effect is looked at.
    driver send-command $ID_PAUSE
    driver answer no 5000 >/dev/null || fail "the question could not be answered"
    driver wait-no-title '파일삭제?' 5000 >/dev/null || fail "the question stayed open"
    driver send 0 0 0 >/dev/null
    expect "wallpaper after no" "$held" "$(cy_md5)"
    [ -e "$FILES/pics/1.png" ] || fail "the picture file is gone after no"
    driver send-command $ID_PAUSE
    cy_wait_change "$held" 6 || fail "the change timer did not come back after the question"
}

# --- busy stop -----------------------------------------------------------------------

# Another program's window holds the change timer; once it is gone the
# ticks change the wallpaper again.
case_busy_window_holds() {
    cy_pictures red green blue yellow
    cy_ini 3 'maxwinstop=1'
    start_program
    driver open-window 'Busy Editor' 30 >/dev/null &
    local editor=$!
    driver wait-title 'Busy Editor' 10000 >/dev/null || { fail "no busy window"; return; }
    local held
    held=$(cy_md5)
    sleep 4
    expect "wallpaper while the window is open" "$held" "$(cy_md5)"
    driver close 'Busy Editor'
    wait "$editor" || true
    cy_wait_change "$held" 6 || fail "the ticks did not come back after the window closed"
}

# A window whose title is one of the exception programs does not hold the
# ticks. The title is Korean: env.ini holds it in code page 949.
case_busy_exception_title() {
    cy_pictures red green blue yellow
    cy_ini 3 'maxwinstop=1'
    printf 'outprogram0=%s\r\n' "$(printf '편집기 창' | iconv -f UTF-8 -t CP949)" >>"$FILES/env.ini"
    start_program
    driver open-window '편집기 창' 30 >/dev/null &
    local editor=$!
    driver wait-title '편집기 창' 10000 >/dev/null || { fail "no exception window"; return; }
    local before
    before=$(cy_md5)
    cy_wait_change "$before" 6 || fail "the exception program's window held the ticks"
    driver close '편집기 창'
    wait "$editor" || true
}

# --- the About box ----------------------------------------------------------------------

# The About box shows the version with its title, and two blue links; the
# tray menu does not open over it, a second About request brings it
# forward, and "확인" and the close box both end it.
case_about_box() {
    own_screen  # an open menu closes when another case's window takes the focus
    cy_pictures red green
    cy_ini 600
    start_program
    local title='Corvalendrine v1.51 정보'
    driver post-command $ID_ABOUT
    driver wait-title "$title" 10000 >/dev/null || { fail "no About box"; return; }
    expect "version text" 'Corvalendrine v1.51' "$(driver text "$title" $IDC_VERSION_TEXT)"
    expect "home page" 'http://corv.example.org' "$(driver text "$title" $IDC_HOMEPAGE)"
    expect "e-mail" 'corv@example.org' "$(driver text "$title" $IDC_EMAIL)"
    local style
    style=$(driver style "$title" $IDC_HOMEPAGE | cut -d' ' -f1)
    [ $((style & 0x100)) -ne 0 ] || fail "the home page label reports no clicks ($style)"

    sleep 0.5
    cy_screenshot about-box >/dev/null
    # Centred on the work area (the desktop less the task bar; the task bar
    # may still be coming up while the program starts, so the whole screen
    # counts too).
    local l t r b sh al at ar ab
    read -r l t r b <<<"$(driver rect "$title")"
    read -r _ sh al at ar ab <<<"$(driver screen)"
    cy_within "About box off centre across" $(((l + r) - (al + ar))) -1 1
    cy_within "About box off centre down" $((t + b)) $((at + ab - 1)) $((sh + 1))

    # A right click on the icon brings the box forward instead of a menu.
    driver post $WM_TRAY_NOTIFY $ID_TRAY_ICON 0x204 >/dev/null
    ! driver menu-wait 1500 >/dev/null || {
        fail "the tray menu opened over the About box"
        driver menu-keys escape >/dev/null
    }
    driver post-command $ID_ABOUT
    driver send 0 0 0 >/dev/null
    expect "About boxes after a second request" \
        "$(printf '#32770|%s' "$title")" "$(driver dialogs)"

    driver click "$title" 1
    driver wait-no-title "$title" 5000 >/dev/null || fail "확인 did not close the About box"
    driver post-command $ID_ABOUT
    driver wait-title "$title" 10000 >/dev/null || fail "the About box did not open again"
    driver close "$title"
    driver wait-no-title "$title" 5000 >/dev/null || fail "the close box did not close it"

    local before
    before=$(cy_md5)
    driver send-command $ID_NEXT_PICTURE
    [ "$(cy_md5)" != "$before" ] || fail "next did not work after the About box"
    cy_exit_program
}
