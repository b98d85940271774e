# Cases of a change that never holds the program: the main window answers
# while a change runs and while the folders are read again, and the end of
# the program while the folders are being read puts the user's wallpaper
# back. Sourced by tests/e2e/run.
# shellcheck shell=bash

# --- helpers (prefixed qk_: every case file shares one shell) ---------------

# A folder "tree" of COUNT hundred empty .jpg files in folders of a hundred,
# beside one real picture "one/first.png"; list.txt lists both folders and
# only the real picture, so with random order the second change reads both
# folders again (the end of a round).
qk_big_tree() {
    local hundreds=$1 d
    mkdir -p "$FILES/one"
    convert -size 64x48 xc:red "$FILES/one/first.png"
    for d in $(seq -w 1 "$hundreds"); do
        mkdir -p "$FILES/tree/d$d"
        (cd "$FILES/tree/d$d" && touch $(seq -f "p%03g.jpg" 0 99))
    done
    printf '%s\r\n' "$(windows_path "$FILES/one"),1" "$(windows_path "$FILES/tree"),0" '&' \
        "$(windows_path "$FILES/one")\\first.png" >"$FILES/list.txt"
    write_ini '[DEFAULT]' changetime=600 min_sec=1000 israndum=1 imagepos=0 ispath=0 \
        iscalender=0 isweekday=0 maxwinstop=0 isiptooltip=0
}

# Lines of list.txt after the separator.
qk_listed_pictures() { tr -d '\r' <"$FILES/list.txt" | sed '1,/^&$/d' | wc -l; }

# --- cases --------------------------------------------------------------------

# The rescan at the end of a random round over 30,000 entries: the window
# answers every message meanwhile, and the change ends with the folders read.
case_answers_during_rescan() {
    qk_big_tree 300
    start_program
    local answers
    answers=$(driver answers-while "$ID_NEXT_PICTURE" 3000) || fail "unanswered during the rescan: $answers"
    log "during the rescan: $answers"
    # send-command returns once the change that follows the scan is done.
    driver send-command "$ID_NEXT_PICTURE" || fail "the next change was not answered"
    driver post-command "$ID_EXIT"
    driver wait-gone 20000 >/dev/null || fail "the exit command did not end the program"
    wait_program
    expect "exit code" 0 "$EXIT_CODE"
    # Both folders were read: every entry but the two pictures shown is listed.
    expect "pictures in list.txt" 29999 "$(qk_listed_pictures)"
}

# A change of a large photo: the window answers while it is composed.
case_answers_during_change() {
    mkdir -p "$FILES/pics"
    convert -size 4000x3000 -seed 3 plasma:fractal -quality 85 "$FILES/pics/a.jpg"
    convert -size 3000x4000 -seed 4 plasma:fractal -quality 85 "$FILES/pics/b.jpg"
    printf '%s\r\n' "$(windows_path "$FILES/pics"),2" '&' "$(windows_path "$FILES/pics")\\a.jpg" \
        "$(windows_path "$FILES/pics")\\b.jpg" >"$FILES/list.txt"
    write_ini '[DEFAULT]' changetime=600 min_sec=1000 israndum=0 isframe=1 isshadow=1 \
        ispath=1 iscalender=1 maxwinstop=0 isiptooltip=0
    start_program
    local before answers
    before=$(md5sum <"$FILES/Corvalendrine.bmp")
    answers=$(driver answers-while "$ID_NEXT_PICTURE" 1500) || fail "unanswered during a change: $answers"
    log "during a change: $answers"
    [ "$(md5sum <"$FILES/Corvalendrine.bmp")" != "$before" ] || fail "the change did not happen"
}

# The exit command while the folders are being read: the program ends at
# once, writes its files and puts the user's wallpaper back; no wallpaper
# of the change comes after it.
case_exit_during_scan() {
    driver set-wallpaper-reg 'C:\users\Public\mine.bmp'
    qk_big_tree 300
    start_program
    driver post-command "$ID_NEXT_PICTURE"
    driver post-command "$ID_EXIT"
    driver wait-gone 20000 >/dev/null || fail "the program did not end during the scan"
    wait_program
    expect "exit code" 0 "$EXIT_CODE"
    expect "wallpaper after exit" 'C:\users\Public\mine.bmp' "$(driver get-wallpaper-reg)"
    tr -d '\r' <"$FILES/list.txt" | grep -qx '&' || fail "list.txt was not written"
}

# The session's end while the folders are being read: everything is written
# and the user's wallpaper is back when the query is answered.
case_session_end_during_scan() {
    driver set-wallpaper-reg 'C:\users\Public\mine.bmp'
    qk_big_tree 300
    start_program
    driver post-command "$ID_NEXT_PICTURE"
    driver send 0x11 0 0 >/dev/null || fail "the session's end was not answered"
    expect "wallpaper at the session's end" 'C:\users\Public\mine.bmp' "$(driver get-wallpaper-reg)"
    driver post-command "$ID_EXIT"
    driver wait-gone 20000 >/dev/null || fail "the program did not end"
    wait_program
    expect "exit code" 0 "$EXIT_CODE"
    expect "wallpaper after exit" 'C:\users\Public\mine.bmp' "$(driver get-wallpaper-reg)"
}

# The exit command while the next picture is being prepared (right after a
# change of a large photo): the program ends cleanly with the user's
# wallpaper back.
case_exit_during_preparation() {
    driver set-wallpaper-reg 'C:\users\Public\mine.bmp'
    mkdir -p "$FILES/pics"
    convert -size 6000x4000 -seed 5 plasma:fractal -quality 85 "$FILES/pics/a.jpg"
    cp "$FILES/pics/a.jpg" "$FILES/pics/b.jpg"
    printf '%s\r\n' "$(windows_path "$FILES/pics"),2" '&' "$(windows_path "$FILES/pics")\\a.jpg" \
        "$(windows_path "$FILES/pics")\\b.jpg" >"$FILES/list.txt"
    write_ini '[DEFAULT]' changetime=600 min_sec=1000 israndum=0 maxwinstop=0 isiptooltip=0
    start_program
    # send-command returns once the change is done; the next picture is
    # then being prepared.
    driver send-command "$ID_NEXT_PICTURE" || fail "the change was not answered"
    driver post-command "$ID_EXIT"
    driver wait-gone 20000 >/dev/null || fail "the program did not end during the preparation"
    wait_program
    expect "exit code" 0 "$EXIT_CODE"
    expect "wallpaper after exit" 'C:\users\Public\mine.bmp' "$(driver get-wallpaper-reg)"
    expect "list.txt after exit" 2 "$(qk_listed_pictures)"
}
