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
    driver wait-window 5000 >/dev/null || fail "the first instance stopped answering"
}

# The exit command writes every setting, in order, after the wallpaper
# path, and puts the user's wallpaper back.
case_exit_writes_settings() {
    driver set-wallpaper-reg 'C:\users\Public\mine.bmp'
    start_program
    driver post-command 32790
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
    driver send-command 32801
    expect "icons after the first toggle" shown "$(driver desktop-icons)"
    driver send-command 32801
    expect "icons after the second toggle" hidden "$(driver desktop-icons)"
    driver post-command 32790
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
    # A double-click on the icon (id 129) is handled; another id is not.
    expect "double-click on the icon" 1 "$(driver send 1034 129 0x203)"
    expect "double-click on another icon" 0 "$(driver send 1034 130 0x203)"
    expect "a single click" 1 "$(driver send 1034 129 0x201)"
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
    driver send-command 32801  # desktop icons: changes isiconhide in memory
    driver send-command 32781  # pause
    driver kill >/dev/null || fail "the program could not be ended"
    wait_program
    expect "env.ini after the kill" "$before" "$(md5sum <"$FILES/env.ini")"
    expect "files after the kill" $'Corvalendrine.bmp\ncorvalendrine.exe\nenv.ini' "$(cd "$FILES" && ls | LC_ALL=C sort)"
}

# The session's end writes everything at once and allows the end; the
# window's destruction later writes the same again.
case_session_end() {
    driver set-wallpaper-reg 'C:\users\Public\mine.bmp'
    start_program
    expect "answer to WM_QUERYENDSESSION" 1 "$(driver send 0x11 0 0)"
    local expected
    expected="$(printf '[DEFAULT]\noriwallpath=C:\\users\\Public\\mine.bmp\n'; default_settings)"
    expect "env.ini at session end" "$expected" "$(ini_text)"
    expect "main windows after the query" 1 "$(driver count-windows)"
    driver post-command 32790
    driver wait-gone 20000 >/dev/null || fail "the exit command did not end the program"
    wait_program
    expect "exit code" 0 "$EXIT_CODE"
    expect "env.ini after exit" "$expected" "$(ini_text)"
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
    driver post-command 32790
    driver wait-gone 20000 >/dev/null || fail "the exit command did not end the program"
    wait_program
    expect "wallpaper after exit" 'C:\users\Public\before crash.bmp' "$(driver get-wallpaper-reg)"
}

setup_case
