# Cases of bad files in the picture folders: the program draws no picture
# for such a file, never crashes or hangs, and the next good picture comes
# with the next change. Sourced by tests/e2e/run; the picture helpers are in
# wallpaper.sh.
# shellcheck shell=bash

# --- bad files -----------------------------------------------------------------

# The big-endian bytes of a 32-bit number, as printf escapes.
be32_escapes() {
    printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 >> 24 & 255)) $(($1 >> 16 & 255)) \
        $(($1 >> 8 & 255)) $(($1 & 255))
}

# The CRC-32 of stdin (the one PNG uses), taken from gzip's trailer.
crc32_of_stdin() {
    local bytes
    read -r -a bytes < <(gzip -c -1 | tail -c 8 | head -c 4 | od -An -tu1)
    echo $((bytes[0] | bytes[1] << 8 | bytes[2] << 16 | bytes[3] << 24))
}

png_chunk() {  # TYPE DATAFILE
    local size crc
    size=$(stat -c %s "$2")
    crc=$({ printf '%s' "$1"; cat "$2"; } | crc32_of_stdin)
    # shellcheck disable=SC2059
    printf "$(be32_escapes "$size")%s" "$1"
    cat "$2"
    # shellcheck disable=SC2059
    printf "$(be32_escapes "$crc")"
}

# huge_png FILE SIDE: a valid, black, one-bit PNG of SIDE x SIDE pixels.
# Its zlib stream is gzip's deflate data between a zlib header and the
# Adler-32 of the rows, which for zero bytes is (count mod 65521) << 16 | 1.
# 30000 x 30000 takes half a second and 0.5 MB.
huge_png() {
    local out=$1 side=$2 parts=$1.parts
    local row=$(((side + 7) / 8 + 1))
    local count=$((row * side))
    mkdir -p "$parts"
    # shellcheck disable=SC2059
    printf "$(be32_escapes "$side")$(be32_escapes "$side")\\x01\\x00\\x00\\x00\\x00" >"$parts/ihdr"
    {
        printf '\x78\x01'
        head -c "$count" /dev/zero | gzip -1 -n | tail -c +11 | head -c -8
        # shellcheck disable=SC2059
        printf "$(be32_escapes $(((count % 65521) << 16 | 1)))"
    } >"$parts/idat"
    : >"$parts/iend"
    {
        printf '\x89PNG\r\n\x1a\n'
        png_chunk IHDR "$parts/ihdr"
        png_chunk IDAT "$parts/idat"
        png_chunk IEND "$parts/iend"
    } >"$out"
    rm -rf "$parts"
}

# A BMP whose header announces 30000 x 30000 pixels at 24 bits, followed by
# a few bytes only.
lying_bmp() {
    local le32='\x30\x75\x00\x00'  # 30000
    {
        printf 'BM\x36\x00\x00\x00\x00\x00\x00\x00\x36\x00\x00\x00\x28\x00\x00\x00'
        # shellcheck disable=SC2059
        printf "$le32$le32"'\x01\x00\x18\x00\x00\x00\x00\x00\x00\x00\x00\x00'
        printf '\x13\x0b\x00\x00\x13\x0b\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00'
        head -c 64 /dev/zero
    } >"$1"
}

# cut_picture FILE: a picture with detail (so it has data to lose), cut to
# its first third.
cut_picture() {
    local whole=$1.whole.${1##*.}
    convert -size 300x200 -seed 3 plasma:fractal "$whole"
    head -c $(($(stat -c %s "$whole") / 3)) "$whole" >"$1"
    rm -f "$whole"
}

# --- cases ---------------------------------------------------------------------

# Bad files listed between good ones, in order: each bad one gives a
# wallpaper without picture, the good one after it is drawn.
case_bad_pictures_listed() {
    local pics=$FILES/pictures
    use_task_bar
    mkdir -p "$pics"
    : >"$pics/empty.jpg"
    cut_picture "$pics/cut.jpg"
    cut_picture "$pics/cut.png"
    cut_picture "$pics/cut.gif"
    cut_picture "$pics/cut.bmp"
    cut_picture "$pics/cut.tif"
    printf 'not a picture\r\n' >"$pics/text.jpg"
    mkdir "$pics/folder.png"
    huge_png "$pics/huge.png" 30000
    lying_bmp "$pics/lying.bmp"
    local bad=(empty.jpg cut.jpg cut.png cut.gif cut.bmp cut.tif text.jpg folder.png huge.png
        lying.bmp)
    # shellcheck disable=SC2054  # the values are R,G,B texts
    local colours=(255,0,0 0,255,0 0,0,255 255,255,0 0,255,255 255,0,255 128,0,0 0,128,0 0,0,128
        128,128,0)
    local listed=() i
    for i in "${!bad[@]}"; do
        make_picture "$pics/good$i.png" 300x200 "${colours[$i]}"
        listed+=("$pics/${bad[$i]}" "$pics/good$i.png")
    done
    # A picture in a file named as another format is read by its content.
    convert -size 300x200 'xc:rgb(0,128,128)' "png:$pics/png-inside.jpg"
    # Unreadable for a normal user; root reads it all the same.
    make_picture "$pics/locked.png" 300x200 128,0,128
    chmod 000 "$pics/locked.png"
    listed+=("$pics/png-inside.jpg" "$pics/locked.png")
    write_list "$pics" -- "${listed[@]}"
    write_picture_ini 'iscalender=0'
    start_program
    read_screen
    local file
    file=$(wallpaper_file)
    # Above the caption: background only, or one centred picture.
    no_picture() {
        expect_region "$1: no picture" "$file" 0 0 "$SCREEN_W" $((WORK_B - 20)) "$BACKGROUND"
    }
    no_picture "${bad[0]} at start"
    for i in "${!bad[@]}"; do
        command_done "after ${bad[$i]}" $ID_NEXT_PICTURE
        expect_centred_picture "good picture after ${bad[$i]}" "$file" 300 200 "${colours[$i]}"
        [ $((i + 1)) -lt ${#bad[@]} ] || break
        command_done "${bad[$((i + 1))]}" $ID_NEXT_PICTURE
        no_picture "${bad[$((i + 1))]}"
    done
    command_done "png-inside.jpg" $ID_NEXT_PICTURE
    expect_centred_picture "png-inside.jpg" "$file" 300 200 0,128,128
    command_done "locked.png" $ID_NEXT_PICTURE
    if [ -r "$pics/locked.png" ]; then
        log "note: running as root, the locked file is readable and is drawn"
        expect_centred_picture "locked.png, readable" "$file" 300 200 128,0,128
    else
        no_picture "locked.png"
    fi
    # Round again: the first bad file, then its good neighbour.
    command_done "empty.jpg again" $ID_NEXT_PICTURE
    no_picture "empty.jpg again"
    command_done "good picture again" $ID_NEXT_PICTURE
    expect_centred_picture "good picture again" "$file" 300 200 "${colours[0]}"

    expect "main windows at the end" 1 "$(driver count-windows)"
    driver post-command $ID_EXIT
    driver wait-gone 20000 >/dev/null || fail "the exit command did not end the program"
    wait_program
    expect "exit code" 0 "$EXIT_CODE"
    expect "pictures in list.txt after exit" $((${#listed[@]} + 2)) "$(wc -l <"$FILES/list.txt")"
}

# A folder the program scans itself, with names of every kind and special
# entries. Names that code page 949 can hold (Hangul, Cyrillic), names it
# cannot hold (Thai, emoji) and a path past the classic 259 characters are
# all shown; a pipe, a dangling link and an empty file never stop it; a
# folder named like a picture is searched like any folder.
case_bad_names_scanned() {
    local pics=$FILES/pictures
    use_task_bar
    mkdir -p "$pics"
    # shellcheck disable=SC2054  # the values are R,G,B texts
    local -A colour=(
        [plain.png]=255,0,0
        [가나다.png]=0,255,0
        [жук.png]=0,0,255
        [shelf.jpg/inside.gif]=255,255,0
        [ภาพ.png]=0,255,255
        [😀.png]=255,0,255
    )
    local reachable=(plain.png 가나다.png жук.png shelf.jpg/inside.gif ภาพ.png 😀.png)
    local long
    long=$(printf 'long%.0s' $(seq 1 40))/$(printf 'path%.0s' $(seq 1 40))
    colour[$long/far.png]=128,128,0
    reachable+=("$long/far.png")
    local name
    for name in "${!colour[@]}"; do
        mkdir -p "$(dirname "$pics/$name")"
        make_picture "$pics/$name" 300x200 "${colour[$name]}"
    done
    : >"$pics/empty.png"
    mkfifo "$pics/pipe.jpg"
    ln -s "$pics/nowhere.png" "$pics/dangling.png"
    # list.txt with the folder and no pictures: the first pick scans it.
    write_list "$pics" --
    write_picture_ini 'iscalender=0'
    start_program
    read_screen
    local file
    file=$(wallpaper_file)
    expect_region "at start (the folder is scanned, no picture yet)" "$file" 0 0 "$SCREEN_W" \
        $((WORK_B - 20)) "$BACKGROUND"
    # Two rounds of every entry, whatever order the scan found them in.
    local -A seen=()
    local change centre
    for change in $(seq 1 24); do
        command_done "change $change" $ID_NEXT_PICTURE
        centre=$(pixel_at "$file" $((SCREEN_W / 2)) $((SCREEN_H / 2)))
        [ "$centre" == "$BACKGROUND" ] && continue
        for name in "${!colour[@]}"; do
            [ "${colour[$name]}" == "$centre" ] || continue
            seen[$name]=1
            expect_centred_picture "change $change ($name)" "$file" 300 200 "$centre"
            continue 2
        done
        fail "change $change: an unknown colour rgb($centre) in the middle"
    done
    for name in "${reachable[@]}"; do
        [ -n "${seen[$name]:-}" ] || fail "$name was never shown"
    done
    driver post-command $ID_EXIT
    driver wait-gone 20000 >/dev/null || fail "the exit command did not end the program"
    wait_program
    expect "exit code" 0 "$EXIT_CODE"
    # list.txt keeps the scanned names; the Thai and emoji names make it
    # UTF-8 with the mark.
    expect "list.txt's first bytes" efbbbf "$(head -c 3 "$FILES/list.txt" | od -An -tx1 | tr -d ' ')"
    local list
    list=$(tail -c +4 "$FILES/list.txt" | tr -d '\r')
    for name in 가나다.png жук.png ภาพ.png 😀.png "${long//\//\\}\\far.png"; do
        grep -qxF "$(windows_path "$pics")\\$name" <<<"$list" || fail "list.txt lacks $name"
    done
}

# The wallpaper file cannot be written: first its temporary neighbour is
# blocked by a folder, then the file itself is a folder. The program goes
# on, never leaves a half-written or temporary file, and writes again once
# the way is free.
case_wallpaper_unwritable() {
    local pics=$FILES/pictures
    use_task_bar
    mkdir -p "$pics"
    make_picture "$pics/red.png" 300x200 255,0,0
    make_picture "$pics/green.png" 300x200 0,255,0
    make_picture "$pics/blue.png" 300x200 0,0,255
    write_list "$pics" -- "$pics/red.png" "$pics/green.png" "$pics/blue.png"
    write_picture_ini
    start_program
    read_screen
    local file
    file=$(wallpaper_file)
    expect_centred_picture "at start" "$file" 300 200 255,0,0
    mkdir "$file.new"
    command_done "next, temporary file blocked" $ID_NEXT_PICTURE
    expect_centred_picture "the last wallpaper stays whole" "$file" 300 200 255,0,0
    rmdir "$file.new"
    command_done "next, way free" $ID_NEXT_PICTURE
    expect_centred_picture "written again" "$file" 300 200 0,0,255
    rm "$file"
    mkdir "$file"
    command_done "next, the wallpaper is a folder" $ID_NEXT_PICTURE
    [ -d "$file" ] || fail "the folder in the wallpaper's place was replaced"
    [ ! -e "$file.new" ] || fail "a temporary wallpaper file was left behind"
    expect "registry wallpaper" "$(windows_path "$file")" "$(driver get-wallpaper-reg)"
    rmdir "$file"
    command_done "next, way free again" $ID_NEXT_PICTURE
    expect_centred_picture "written after the folder" "$file" 300 200 0,255,0
    expect "main windows at the end" 1 "$(driver count-windows)"
}

# Bytes of a fixed pseudo-random sequence.
noise() {  # COUNT SEED
    LC_ALL=C awk -v n="$1" -v seed="$2" \
        'BEGIN { srand(seed); for (i = 0; i < n; i++) printf "%c", int(rand() * 256) }'
}

# Every text file beside the program is noise: env.ini, list.txt (with a
# picture line longer than the 259 bytes read at once), poslist.txt and
# xdaylist.txt. The program starts, composes a wallpaper of the screen's
# size, ends normally and leaves a readable env.ini and list.txt.
case_malformed_files() {
    use_task_bar
    noise 4096 1 >"$FILES/env.ini"
    { noise 3000 2; printf '\r\n&\r\nZ:\\%0300d.png\r\n' 0; noise 3000 3; } >"$FILES/list.txt"
    noise 2048 4 >"$FILES/poslist.txt"
    noise 2048 5 >"$FILES/xdaylist.txt"
    start_program
    read_screen
    expect "wallpaper header" "BM ${SCREEN_W}x$SCREEN_H 24bpp compression=0 $((54 + SCREEN_W * SCREEN_H * 3))" \
        "$(bmp_info "$(wallpaper_file)")"
    local change
    for change in 1 2 3; do command_done "change $change" $ID_NEXT_PICTURE; done
    expect "main windows" 1 "$(driver count-windows)"
    driver post-command $ID_EXIT
    driver wait-gone 20000 >/dev/null || fail "the exit command did not end the program"
    wait_program
    expect "exit code" 0 "$EXIT_CODE"
    grep -q '^isforeimg=[01]'$'\r''$' "$FILES/env.ini" || fail "env.ini lacks the settings after exit"
    grep -qx '&'$'\r' "$FILES/list.txt" || fail "list.txt lacks its separator line after exit"
}
