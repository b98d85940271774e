# Cases of names in every script: pictures and folders named in scripts that
# code page 949 cannot hold, the program in a folder with an emoji in its
# name, an old list.txt in the code page, and a picture under a path past
# the classic 259 characters. Sourced by tests/e2e/run; the picture helpers
# are in wallpaper.sh, the sheet's in sheet.sh.
# shellcheck shell=bash

NM_NAMES=("Café-été" "ทะเล" "Hồ Tây" "🌅 노을" "写真")
# shellcheck disable=SC2054  # the values are R,G,B texts
NM_COLOURS=(255,0,0 0,255,0 0,0,255 255,255,0 0,255,255)
NM_MARK=efbbbf

# The first three bytes of a file, in hex.
nm_first_bytes() { head -c 3 "$1" | od -An -tx1 | tr -d ' \n'; }

# list.txt as write_list makes it, in UTF-8 with the mark (a file without
# the mark is read in the code page).
nm_write_marked_list() {
    write_list "$@"
    { printf '\xEF\xBB\xBF'; cat "$FILES/list.txt"; } >"$FILES/list.txt.marked"
    mv "$FILES/list.txt.marked" "$FILES/list.txt"
}

# Changes the picture up to COUNT times and notes in NM_SEEN (by colour)
# every picture of the list NM_COLOURS that is drawn centred.
declare -A NM_SEEN=()
nm_show_all() {  # WHAT COUNT
    local file change centre i
    file=$(wallpaper_file)
    NM_SEEN=()
    for change in $(seq 1 "$2"); do
        command_done "$1, change $change" $ID_NEXT_PICTURE
        centre=$(pixel_at "$file" $((SCREEN_W / 2)) $((SCREEN_H / 2)))
        [ "$centre" == "$BACKGROUND" ] && continue
        for i in "${!NM_COLOURS[@]}"; do
            [ "${NM_COLOURS[$i]}" == "$centre" ] || continue
            NM_SEEN[$i]=1
            expect_centred_picture "$1, change $change (${NM_NAMES[$i]})" "$file" 300 200 "$centre"
            continue 2
        done
        fail "$1, change $change: an unknown colour rgb($centre) in the middle"
    done
    for i in "${!NM_NAMES[@]}"; do
        [ -n "${NM_SEEN[$i]:-}" ] || fail "$1: ${NM_NAMES[$i]} was never shown"
    done
}

# Each picture alone in a folder of its own name, in Latin with accents,
# Thai, Vietnamese, an emoji with Hangul, and Japanese; the program itself
# in a folder with an emoji and Thai in its name. The folders are scanned,
# every picture is shown, the folders page and the path caption show the
# names, the wallpaper and the autostart value name the program's folder,
# and list.txt keeps every name across an exit and a start.
case_names_every_script() {
    use_task_bar
    local home=$FILES
    FILES="$home/🌅 프로그램 ทดสอบ"
    mkdir -p "$FILES"
    mv "$home/corvalendrine.exe" "$FILES/"
    # Short folder paths, so that the folders page shows the names whole.
    local pics=$home folders=() i
    for i in "${!NM_NAMES[@]}"; do
        mkdir -p "$pics/${NM_NAMES[$i]}"
        make_picture "$pics/${NM_NAMES[$i]}/${NM_NAMES[$i]}.png" 300x200 "${NM_COLOURS[$i]}"
        folders+=("$pics/${NM_NAMES[$i]}")
    done
    # Folder lines alone: the first change scans them.
    nm_write_marked_list "${folders[@]}" --
    write_picture_ini 'iscalender=0'
    start_program
    read_screen
    local file
    file=$(wallpaper_file)
    nm_show_all "first run" 10
    [ -f "$file" ] || fail "no wallpaper file in the program's folder"
    expect "registry wallpaper" "$(windows_path "$file")" \
        "$(driver reg-value 'Control Panel\Desktop' Wallpaper)"
    expect_caption "caption after the changes" "$file"
    # The desktop with the caption of a Thai and of an emoji name.
    command_done "caption of ${NM_NAMES[1]}" $ID_NEXT_PICTURE
    cy_screenshot names-caption-thai >/dev/null
    command_done "caption of ${NM_NAMES[2]}" $ID_NEXT_PICTURE
    command_done "caption of ${NM_NAMES[3]}" $ID_NEXT_PICTURE
    cy_screenshot names-caption-emoji >/dev/null

    st_open_sheet || return
    expect "folders page" 3 "$(driver sheet-page "$SHEET" 3)"
    local rows
    # "PATH|COUNT" rows; the counts are the list's until the page rescans.
    rows=$(driver page-cells "$SHEET" $IDC_FOLDER_LIST | cut -d '|' -f 1)
    for i in "${!NM_NAMES[@]}"; do
        grep -qxF "$(windows_path "${folders[$i]}")" <<<"$rows" ||
            fail "the folders page lacks ${NM_NAMES[$i]}: $rows"
    done
    sleep 0.5
    cy_screenshot names-folders-page >/dev/null
    expect "misc page" 5 "$(driver sheet-page "$SHEET" 5)"
    driver page-toggle "$SHEET" $IDC_MISC_AUTOSTART
    expect "autostart value" "$(windows_path "$FILES")\\corvalendrine.exe" "$(driver run-value)"
    driver page-toggle "$SHEET" $IDC_MISC_AUTOSTART
    expect "autostart value off" missing "$(driver run-value)"
    st_close_sheet
    cy_exit_program

    expect "list.txt's mark" $NM_MARK "$(nm_first_bytes "$FILES/list.txt")"
    local list
    list=$(tail -c +4 "$FILES/list.txt" | tr -d '\r' | sed 's/,[0-9-]*$//')
    for i in "${!NM_NAMES[@]}"; do
        grep -qxF "$(windows_path "${folders[$i]}")" <<<"$list" ||
            fail "list.txt lacks the folder ${NM_NAMES[$i]}"
        grep -qxF "$(windows_path "${folders[$i]}/${NM_NAMES[$i]}.png")" <<<"$list" ||
            fail "list.txt lacks the picture ${NM_NAMES[$i]}"
    done
    grep -q '^isforeimg=' "$FILES/env.ini" || fail "no env.ini in the program's folder"
    cp "$FILES/list.txt" "$FILES/list.after-first-run"

    # A start after the exit takes the pictures from list.txt as written.
    start_program
    nm_show_all "second run" 6
    cy_exit_program
    cmp -s "$FILES/list.txt" "$FILES/list.after-first-run" ||
        fail "list.txt changed across a run that changed no folder"
}

# An old list.txt and env.ini in code page 949 (Korean names): the program
# reads them, shows the pictures, and writes list.txt back byte for byte
# and env.ini still in the code page.
case_names_old_ansi_files() {
    use_task_bar
    local pics=$FILES/사진
    mkdir -p "$pics"
    make_picture "$pics/가을.png" 300x200 255,0,0
    make_picture "$pics/겨울.png" 300x200 0,255,0
    write_list "$pics" -- "$pics/가을.png" "$pics/겨울.png"
    iconv -f UTF-8 -t CP949 "$FILES/list.txt" >"$FILES/list.cp949"
    mv "$FILES/list.cp949" "$FILES/list.txt"
    cp "$FILES/list.txt" "$FILES/list.before"
    write_picture_ini 'iscalender=0' "maskfilename=$(windows_path "$pics")\\가면.gif"
    iconv -f UTF-8 -t CP949 "$FILES/env.ini" >"$FILES/env.cp949"
    mv "$FILES/env.cp949" "$FILES/env.ini"
    start_program
    read_screen
    local file
    file=$(wallpaper_file)
    expect_centred_picture "가을.png at start" "$file" 300 200 255,0,0
    command_done "next" $ID_NEXT_PICTURE
    expect_centred_picture "겨울.png" "$file" 300 200 0,255,0
    cy_exit_program
    cmp -s "$FILES/list.txt" "$FILES/list.before" ||
        fail "list.txt changed: $(od -An -tx1 "$FILES/list.txt" | head -n 3)"
    [ "$(nm_first_bytes "$FILES/env.ini")" != $NM_MARK ] || fail "env.ini was written in UTF-8"
    iconv -f CP949 -t UTF-8 "$FILES/env.ini" | tr -d '\r' |
        grep -qxF "maskfilename=$(windows_path "$pics")\\가면.gif" ||
        fail "env.ini lost its Korean value in the code page"
}

# A picture under a path of over 300 characters (with Thai and an emoji in
# it): the folder scan finds it, it is shown, and the tray's delete moves it
# to the recycle bin.
case_names_long_path() {
    use_task_bar
    # Wine's recycle bin is the desktop's trash folder: kept in the case's files.
    export XDG_DATA_HOME=$FILES/xdg
    local pics=$FILES/pictures
    local deep
    deep=$pics/$(printf 'd%.0s' $(seq 1 100))/$(printf 'e%.0s' $(seq 1 100))/"ทะเล 🌅 $(printf 'f%.0s' $(seq 1 80))"
    mkdir -p "$deep"
    make_picture "$deep/far.png" 300x200 255,0,0
    make_picture "$pics/near.png" 300x200 0,255,0
    local far
    far=$(windows_path "$deep/far.png")
    [ ${#far} -gt 300 ] || fail "the picture's path is only ${#far} characters"
    nm_write_marked_list "$pics" --
    write_picture_ini 'iscalender=0'
    start_program
    read_screen
    local file change centre=
    file=$(wallpaper_file)
    for change in 1 2 3 4; do
        command_done "change $change" $ID_NEXT_PICTURE
        centre=$(pixel_at "$file" $((SCREEN_W / 2)) $((SCREEN_H / 2)))
        [ "$centre" == 255,0,0 ] && break
    done
    expect "the far picture shown" 255,0,0 "$centre"
    expect_centred_picture "the far picture" "$file" 300 200 255,0,0

    driver post-command $ID_DELETE_PICTURE
    local asked
    asked=$(driver answer yes 10000) || { fail "no delete question"; return; }
    expect "question" "$(printf '파일삭제?\n%s파일을 삭제하시겠습니까?' "$far")" "$asked"
    driver wait-no-title '파일삭제?' 5000 >/dev/null
    log "the shell's question: $(driver answer yes 3000 | head -n 1)"
    local tries=0
    while [ -e "$deep/far.png" ] && [ $tries -lt 50 ]; do
        sleep 0.2
        tries=$((tries + 1))
    done
    [ ! -e "$deep/far.png" ] || fail "the far picture is still there"
    [ -e "$pics/near.png" ] || fail "the other picture went too"
    local trashed
    trashed=$(find "$XDG_DATA_HOME" -name 'far*.png' 2>/dev/null | wc -l)
    [ "$trashed" -ge 1 ] || fail "the far picture is not in the recycle bin"
    driver send 0 0 0 >/dev/null
    expect_centred_picture "the picture after the delete" "$file" 300 200 0,255,0
    cy_exit_program
}
