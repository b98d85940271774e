# Cases of the release a user downloads: the zip of tools/package unpacked
# into an empty folder runs on its own, and a program folder that takes no
# files is said once and left untouched. Sourced by tests/e2e/run.
# shellcheck shell=bash

# The zip, made by tools/package from the build under test, unpacked into
# the case's program folder in place of the bare .exe.
unpack_release() {
    local zip
    zip=$("$ROOT/tools/package" --from "$BUILD" "$STATE/package-$CASE" 2>/dev/null | tail -n 1) ||
        { fail "tools/package failed"; exit 1; }
    rm -rf "$FILES"
    mkdir -p "$FILES"
    unzip -q "$zip" -d "$FILES" || { fail "the zip does not unpack"; exit 1; }
    RELEASE_ZIP=$zip
}

case_release_zip_runs() {
    use_task_bar
    unpack_release
    local listing
    listing=$(cd "$FILES" && find . -type f | LC_ALL=C sort | tr '\n' ' ')
    for wanted in ./corvalendrine.exe ./xdaylist.txt ./README.txt ./effects/dropshadow.png \
        ./effects/red.png ./Masks/heart.gif; do
        [[ " $listing" == *" $wanted "* ]] || fail "the zip lacks $wanted (has: $listing)"
    done
    case "$(basename "$RELEASE_ZIP")" in
    corvalendrine-*-"$CORV_WINE_ARCH".zip) ;;
    *) fail "zip name $(basename "$RELEASE_ZIP")" ;;
    esac
    local objdump=i686-w64-mingw32-objdump
    [ "$CORV_WINE_ARCH" = win64 ] && objdump=x86_64-w64-mingw32-objdump
    if "$objdump" -h "$FILES/corvalendrine.exe" | grep -q '\.debug'; then
        fail "the packaged program carries debug information"
    fi
    grep -q '설치' <(iconv -f UTF-8 -t UTF-8 "$FILES/README.txt") ||
        fail "README.txt is not the Korean read-me"

    # Nothing but the zip's contents: pictures, then start, change, exit.
    local pics=$FILES/pictures
    mkdir -p "$pics"
    make_picture "$pics/red.png" 300x200 255,0,0
    make_picture "$pics/blue.jpg" 200x100 0,0,255
    write_list "$pics" -- "$pics/red.png" "$pics/blue.jpg"
    write_picture_ini
    driver set-wallpaper-reg 'C:\users\Public\before.bmp'
    start_program
    read_screen
    expect_centred_picture "release, first change" "$(wallpaper_file)" 300 200 255,0,0
    command_done "release, next" $ID_NEXT_PICTURE
    expect_centred_picture "release, next change" "$(wallpaper_file)" 200 100 0,0,255 12
    driver post-command $ID_EXIT
    driver wait-gone 20000 >/dev/null || fail "the exit command did not end the program"
    wait_program
    expect "exit code" 0 "$EXIT_CODE"
    expect "wallpaper after exit" 'C:\users\Public\before.bmp' "$(driver get-wallpaper-reg)"
    grep -q '^picmaxsize=400' <(ini_text) || fail "env.ini was not written at exit"
}

# Makes the program folder refuse new files. An immutable folder refuses
# them even to root; where the file system has no such flag, a folder in the
# place of the program's probe file refuses it the same way.
make_folder_read_only() {
    local how=immutable
    if chattr +i "$FILES" 2>/dev/null; then
        trap 'code=$?; chattr -i "$FILES" 2>/dev/null; (exit $code); finish' EXIT
    else
        how="probe blocked"
        mkdir "$FILES/~corvalendrine-write-check.tmp"
    fi
    log "read-only folder: $how"
}

# A program folder where no file can be made (as under "Program Files"
# without administrator rights): one message naming the folder and the
# installer as the way out, then no wallpaper change and nothing written, at
# start or at exit.
case_folder_read_only() {
    use_task_bar
    local pics=$STATE/e2e-$CASE-pictures
    mkdir -p "$pics"
    make_picture "$pics/red.png" 300x200 255,0,0
    write_list "$pics" -- "$pics/red.png"
    write_picture_ini 'ispath=0'
    driver set-wallpaper-reg 'C:\users\Public\mine.bmp'
    make_folder_read_only
    local before
    before=$(folder_snapshot)
    start_program
    local said
    said=$(driver answer ok 20000) || { fail "no message about the folder"; exit 1; }
    [[ "$said" == *"$(windows_path "$FILES")"* ]] || fail "the message does not name the folder: $said"
    [[ "$said" == *"쓸 수 없습니다"* ]] || fail "the message does not say what is wrong: $said"
    [[ "$said" == *"설치 프로그램"*"-setup.exe"* ]] || fail "the message does not name the installer: $said"
    command_done "next in a read-only folder" $ID_NEXT_PICTURE
    expect "wallpaper while running" 'C:\users\Public\mine.bmp' "$(driver get-wallpaper-reg)"
    driver post-command $ID_EXIT
    driver wait-gone 20000 >/dev/null || fail "the exit command did not end the program"
    wait_program
    expect "exit code" 0 "$EXIT_CODE"
    expect "program folder after the run" "$before" "$(folder_snapshot)"
    expect "wallpaper after exit" 'C:\users\Public\mine.bmp' "$(driver get-wallpaper-reg)"
}

# The settings sheet in a folder that takes no files (nothing was ever
# composed there): the picture page works with the system's screen size, so
# the close box closes the sheet with the size as it was.
case_sheet_closes_in_read_only_folder() {
    use_task_bar
    write_picture_ini 'picmaxsize=400'
    make_folder_read_only
    start_program
    driver answer ok 20000 >/dev/null || { fail "no message about the folder"; exit 1; }
    st_open_sheet || return
    driver sheet-page "$SHEET" 1 >/dev/null
    expect "size field" 400 "$(driver page-field "$SHEET" $IDC_PIC_SIZE)"
    driver syscommand-close "$SHEET"
    if ! driver wait-no-title "$SHEET" 5000 >/dev/null; then
        fail "the sheet did not close: $(driver message-box 2000 || true)"
        expect "size field after the refusal" 400 "$(driver page-field "$SHEET" $IDC_PIC_SIZE)"
        return
    fi
    driver send 0 0 0 >/dev/null
    driver post-command $ID_EXIT
    driver wait-gone 20000 >/dev/null || fail "the exit command did not end the program"
    wait_program
    expect "exit code" 0 "$EXIT_CODE"
}
