# Cases of the program's start and end. Sourced by tests/e2e/run.
# shellcheck shell=bash

# A first start in an empty folder writes env.ini with the user's wallpaper
# only; everything else is written at the end.
case_first_start() {
    driver set-wallpaper-reg 'C:\users\Public\old wallpaper.bmp'
    start_program
    expect "env.ini at start" $'[DEFAULT]\noriwallpath=C:\\users\\Public\\old wallpaper.bmp' \
        "$(ini_text)"
    expect "files at start" $'Corvalendrine.bmp\ncorvalendrine.exe\nenv.ini' "$(cd "$FILES" && ls | LC_ALL=C sort)"
}

# A second start while the first runs ends at once, silently: no second
# window, no file touched.
case_second_start() {
    start_program
    local before after started code=0
    before=$(folder_snapshot)
    started=$(date +%s)
    (cd "$FILES" && timeout 30 wine corvalendrine.exe >/dev/null 2>&1) || code=$?
    expect "second instance exit code" 0 "$code"
    [ $(($(date +%s) - started)) -le 10 ] || fail "the second instance took too long to end"
    expect "main windows" 1 "$(driver count-windows)"
    after=$(folder_snapshot)
    expect "program folder after the second start" "$before" "$after"
    driver wait-window 15000 >/dev/null || fail "the first instance stopped answering"
}

# The exit command writes every setting, in order, after the wallpaper
# path, and puts the user's wallpaper back.
case_exit_writes_settings() {
    driver set-wallpaper-reg 'C:\users\Public\mine.bmp'
    start_program
    driver post-command $ID_EXIT
    driver wait-gone 20000 >/dev/null || fail "the exit command did not end the program"
    wait_program
    expect "exit code" 0 "$EXIT_CODE"
    expect "env.ini after exit" "$(printf '[DEFAULT]\noriwallpath=C:\\users\\Public\\mine.bmp\n'; default_settings)" "$(ini_text)"
    expect "wallpaper after exit" 'C:\users\Public\mine.bmp' "$(driver get-wallpaper-reg)"
    [ ! -e "$FILES/env.ini.new" ] || fail "a temporary file was left behind"
}

# With isiconhide set the desktop icons are hidden at start and shown again
# at exit, while env.ini keeps the flag. The tray command toggles them.
case_icon_hide() {
    write_ini '[DEFAULT]' 'isiconhide=1'
    start_fake_desktop
    start_program
    expect "icons after start" hidden "$(driver desktop-icons)"
    driver send-command $ID_DESKTOP_ICONS
    expect "icons after the first toggle" shown "$(driver desktop-icons)"
    driver send-command $ID_DESKTOP_ICONS
    expect "icons after the second toggle" hidden "$(driver desktop-icons)"
    driver post-command $ID_EXIT
    driver wait-gone 20000 >/dev/null || fail "the exit command did not end the program"
    wait_program
    expect "icons after exit" shown "$(driver desktop-icons)"
    expect "isiconhide in env.ini" "isiconhide=1" "$(ini_text | grep '^isiconhide=')"
    kill "$DESKTOP_PID" 2>/dev/null || true
}

# The main window never shows: not at start, not when another program
# shows it, not after a double-click on the icon or an Enter (IDOK).
case_never_visible() {
    start_program
    expect "visible after start" 0 "$(driver visible)"
    expect "showing from outside" hidden "$(driver try-show)"
    # A double-click on the icon (ID_TRAY_ICON) is handled; another id is not.
    expect "double-click on the icon" 1 "$(driver send $WM_TRAY_NOTIFY $ID_TRAY_ICON 0x203)"
    expect "double-click on another icon" 0 \
        "$(driver send $WM_TRAY_NOTIFY $((ID_TRAY_ICON + 1)) 0x203)"
    expect "a single click" 1 "$(driver send $WM_TRAY_NOTIFY $ID_TRAY_ICON 0x201)"
    driver send-command 1
    expect "visible after the commands" 0 "$(driver visible)"
    expect "main windows after IDOK" 1 "$(driver count-windows)"
}

# A forced end leaves env.ini as it was before the start, whatever changed
# in memory, and no half-written file.
case_forced_kill() {
    driver set-wallpaper-reg 'C:\users\Public\kept.bmp'
    write_ini '[DEFAULT]' 'oriwallpath=C:\users\Public\kept.bmp' 'changetime=20' \
        'isiconhide=0' '; a comment the program never writes' '[other]' 'key=value'
    local before
    before=$(md5sum <"$FILES/env.ini")
    start_program
    driver send-command $ID_DESKTOP_ICONS  # changes isiconhide in memory
    driver send-command $ID_PAUSE
    driver kill >/dev/null || fail "the program could not be ended"
    wait_program
    expect "env.ini after the kill" "$before" "$(md5sum <"$FILES/env.ini")"
    expect "files after the kill" $'Corvalendrine.bmp\ncorvalendrine.exe\nenv.ini' "$(cd "$FILES" && ls | LC_ALL=C sort)"
}

# The session's end writes everything at once, puts the user's wallpaper
# back and allows the end; the window's destruction later writes the same
# files again. list.txt and poslist.txt are removed after the query, so the
# second write is seen.
case_session_end() {
    driver set-wallpaper-reg 'C:\users\Public\mine.bmp'
    local pics=$FILES/pictures
    mkdir -p "$pics"
    convert -size 40x30 xc:red "$pics/a.png"
    convert -size 40x30 xc:blue "$pics/b.png"
    printf '%s\r\n' "$(windows_path "$pics"),2" '&' "$(windows_path "$pics")\\a.png" \
        "$(windows_path "$pics")\\b.png" >"$FILES/list.txt"
    printf '%s\r\n' 100,100,300,250 -5,600,800,700 >"$FILES/poslist.txt"
    local expected
    expected="$(printf '[DEFAULT]\noriwallpath=C:\\users\\Public\\mine.bmp\n'; default_settings |
        sed -e 's/^changetime=.*/changetime=9999/' -e 's/^israndum=.*/israndum=0/')"
    printf '%s\n' "$expected" | sed 's/$/\r/' >"$FILES/env.ini"  # as the program writes it
    local list_before slots_before
    list_before=$(cat "$FILES/list.txt")
    slots_before=$(cat "$FILES/poslist.txt")
    start_program
    expect "wallpaper while running" "$(windows_path "$FILES")\\Corvalendrine.bmp" \
        "$(driver get-wallpaper-reg)"
    rm -f "$FILES/list.txt" "$FILES/poslist.txt"
    expect "answer to WM_QUERYENDSESSION" 1 "$(driver send 0x11 0 0)"
    expect "env.ini at session end" "$expected" "$(ini_text)"
    expect "wallpaper at session end" 'C:\users\Public\mine.bmp' "$(driver get-wallpaper-reg)"
    expect "list.txt at session end" "$list_before" "$(cat "$FILES/list.txt" 2>&1)"
    expect "poslist.txt at session end" "$slots_before" "$(cat "$FILES/poslist.txt" 2>&1)"
    expect "main windows after the query" 1 "$(driver count-windows)"
    rm -f "$FILES/list.txt" "$FILES/poslist.txt"
    driver post-command $ID_EXIT
    driver wait-gone 20000 >/dev/null || fail "the exit command did not end the program"
    wait_program
    expect "exit code" 0 "$EXIT_CODE"
    expect "env.ini after exit" "$expected" "$(ini_text)"
    expect "list.txt after exit" "$list_before" "$(cat "$FILES/list.txt" 2>&1)"
    expect "poslist.txt after exit" "$slots_before" "$(cat "$FILES/poslist.txt" 2>&1)"
    expect "wallpaper after exit" 'C:\users\Public\mine.bmp' "$(driver get-wallpaper-reg)"
}

# A user who had no wallpaper gets none back: the registry value is empty
# again after the exit, not the program's file.
case_exit_without_user_wallpaper() {
    driver set-wallpaper-reg ''
    start_program
    expect "wallpaper while running" "$(windows_path "$FILES")\\Corvalendrine.bmp" \
        "$(driver get-wallpaper-reg)"
    driver post-command $ID_EXIT
    driver wait-gone 20000 >/dev/null || fail "the exit command did not end the program"
    wait_program
    expect "exit code" 0 "$EXIT_CODE"
    expect "wallpaper after exit" '' "$(driver get-wallpaper-reg)"
    expect "remembered wallpaper" 'oriwallpath=' "$(ini_text | grep '^oriwallpath=')"
}

# Started before the task bar (from the Run key at logon): the icon is
# refused at first; the program waits, loading nothing, and starts fully
# once the task bar takes the icon.
#
# start_fake_tray: a stand-in task bar, found before the real one, that
# refuses every icon; with a FILE it takes every icon and records each icon
# call there.
FAKE_TRAY_PID=
start_fake_tray() {  # SECONDS [FILE]
    local command=(fake-tray "$1")
    [ $# -lt 2 ] || command=(record-tray "$1" "$(windows_path "$2")")
    # Not through `driver`, whose time limit is shorter than the wait.
    timeout $(($1 + 30)) wine "$BUILD/e2e_driver.exe" "${command[@]}" >/dev/null 2>&1 &
    FAKE_TRAY_PID=$!
    local tries=0
    until driver fake-tray-up; do
        tries=$((tries + 1))
        [ $tries -lt 100 ] || { fail "the fake task bar did not come up"; exit 1; }
        sleep 0.1
    done
}

case_tray_comes_late() {
    start_fake_tray 8
    START_WITHOUT_ICON=1 start_program
    expect "files while the task bar is missing" corvalendrine.exe "$(cd "$FILES" && ls)"
    wait "$FAKE_TRAY_PID" || true
    local tries=0
    until [ -e "$FILES/env.ini" ] && [ -e "$FILES/Corvalendrine.bmp" ]; do
        tries=$((tries + 1))
        [ $tries -lt 200 ] || { fail "the program did not start once the task bar came"; break; }
        sleep 0.1
    done
    expect "icon once the task bar came" present "$(driver icon-state)"
    driver post-command $ID_EXIT
    driver wait-gone 20000 >/dev/null || fail "the exit command did not end the program"
    wait_program
    expect "exit code" 0 "$EXIT_CODE"
}

# A task bar that never comes: after a while the program ends by itself,
# writing nothing and touching no wallpaper, and a later start works.
case_tray_never_comes() {
    driver set-wallpaper-reg 'C:\users\Public\mine.bmp'
    start_fake_tray 110
    START_WITHOUT_ICON=1 start_program
    local waited=0
    while [ "$(driver count-windows)" != 0 ] && [ $waited -lt 110 ]; do
        driver fake-tray-up || fail "the fake task bar lost its place after ${waited}s"
        sleep 5
        waited=$((waited + 5))
    done
    driver wait-gone 5000 >/dev/null || fail "the program did not give up waiting"
    wait_program
    expect "exit code" 0 "$EXIT_CODE"
    expect "files after giving up" corvalendrine.exe "$(cd "$FILES" && ls)"
    expect "wallpaper after giving up" 'C:\users\Public\mine.bmp' "$(driver get-wallpaper-reg)"
    kill "$FAKE_TRAY_PID" 2>/dev/null || true
    wait "$FAKE_TRAY_PID" 2>/dev/null || true
    until ! driver fake-tray-up; do sleep 0.2; done
    start_program
    expect "icon of the next start" present "$(driver icon-state)"
    [ -e "$FILES/env.ini" ] || fail "the next start did not start"
}

# A shell that restarts loses every icon and says so with "TaskbarCreated":
# the icon comes back.
case_tray_after_shell_restart() {
    start_program
    expect "icon after start" present "$(driver icon-state)"
    driver drop-icon || fail "the icon could not be removed"
    expect "icon after the shell lost it" absent "$(driver icon-state)"
    driver taskbar-created || fail "the program did not answer TaskbarCreated"
    expect "icon after TaskbarCreated" present "$(driver icon-state)"
}

# A start after a run that ended without putting the wallpaper back: the
# desktop still shows the program's own file, so the user's wallpaper is
# the one env.ini remembers; it is kept there and restored at exit.
case_crash_recovery() {
    driver set-wallpaper-reg "$(windows_path "$FILES")\\Corvalendrine.bmp"
    write_ini '[DEFAULT]' 'oriwallpath=C:\users\Public\before crash.bmp'
    start_program
    expect "remembered wallpaper" 'oriwallpath=C:\users\Public\before crash.bmp' \
        "$(ini_text | grep '^oriwallpath=')"
    driver post-command $ID_EXIT
    driver wait-gone 20000 >/dev/null || fail "the exit command did not end the program"
    wait_program
    expect "wallpaper after exit" 'C:\users\Public\before crash.bmp' "$(driver get-wallpaper-reg)"
}

setup_case
