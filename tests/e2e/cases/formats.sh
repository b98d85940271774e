# Every picture format by every name the catalogue takes, found by the
# program's own folder scan and shown on the wallpaper; and a 24-megapixel
# WebP and AVIF composed within the memory a JPEG of that size may take.
# Sourced by tests/e2e/run; uses the picture helpers of wallpaper.sh and
# photos.sh.
# shellcheck shell=bash

# The quarters picture in each format and under each name, made by Debian's
# encoders; a file that is no picture and one that only looks like one by
# its name are left out by the scan.
case_picture_formats() {
    local pics=$FILES/formats
    use_task_bar
    mkdir -p "$pics"
    local png=$FILES/quarters.png
    make_quarters "PNG24:$png"
    cwebp -quiet -q 95 "$png" -o "$pics/lossy.webp"
    cwebp -quiet -lossless "$png" -o "$pics/lossless.WEBP"
    avifenc -s 8 --min 0 --max 8 -y 420 "$png" "$pics/eight.avif" >/dev/null
    avifenc -s 8 --min 0 --max 8 -y 420 -d 10 "$png" "$pics/ten.Avif" >/dev/null
    heif-enc -q 95 "$png" -o "$pics/phone.heic" >/dev/null
    cp "$pics/phone.heic" "$pics/phone2.HEIF"
    make_quarters "$pics/photo.jpeg"
    cp "$pics/photo.jpeg" "$pics/photo2.JPE"
    cp "$pics/photo.jpeg" "$pics/photo3.jfif"
    cp "$pics/photo.jpeg" "$pics/photo4.jpg"
    make_quarters "$pics/scan.tiff" -depth 8 -compress lzw
    cp "$pics/scan.tiff" "$pics/scan2.tif"
    make_quarters "BMP3:$pics/old.dib" -type TrueColor
    cp "$pics/old.dib" "$pics/old2.bmp"
    make_quarters "$pics/anim.gif"
    cp "$png" "$pics/plain.png"
    local count
    count=$(find "$pics" -type f | wc -l)
    printf 'not a picture\r\n' >"$pics/notes.txt"
    cp "$pics/photo.jpeg" "$pics/photo.jpeg.bak"
    # The folder alone: the first change scans it.
    write_list "$pics" --
    write_picture_ini 'iscalender=0' 'ispath=0'
    start_program
    read_screen
    local file x y n got
    file=$(wallpaper_file)
    x=$(((SCREEN_W - 160) / 2))
    y=$(((SCREEN_H - 80) / 2))
    for n in $(seq "$count"); do
        command_done "next picture ($n of $count)" $ID_NEXT_PICTURE
        got=$(quarters_at "$file" "$x" "$y")
        quarters_match "$got" 24 || fail "picture $n of $count: quarters ${got} instead of ${QUARTERS[*]}"
    done
    driver post-command $ID_EXIT
    driver wait-gone 20000 >/dev/null || fail "the exit command did not end the program"
    wait_program
    # The catalogue the program saved: every picture, and nothing else.
    local listed
    listed=$(tr -d '\r' <"$FILES/list.txt" | sed '1,/^&$/d' | sed 's/.*\\//' | sort | tr '\n' ' ')
    expect "pictures the scan took" \
        "$(find "$pics" -type f ! -name notes.txt ! -name '*.bak' -printf '%f\n' | sort | tr '\n' ' ')" \
        "$listed"
}

# A 24-megapixel photo as WebP and as AVIF (4:2:0, as cameras and picture
# sites make them) composed by the benchmark driver in a process of its own,
# as case_big_photo_memory does for a JPEG: drawn, and within 64 MB of the
# same process's peak without a change. (AV1 is decoded whole: a 4:4:4
# AVIF's planes alone take 72 MB at this size.)
case_big_webp_avif_memory() {
    local dir=$FILES/photo
    mkdir -p "$dir"
    convert -size 750x500 -seed 7 plasma:fractal -resize '6000x4000!' -quality 95 "$dir/photo.jpg"
    cwebp -quiet -q 90 "$dir/photo.jpg" -o "$dir/photo24.webp"
    avifenc -s 9 -j 2 -y 420 "$dir/photo.jpg" "$dir/photo24.avif" >/dev/null
    local idle ms ws commit peak format
    read -r _ ws commit < <(wine "$BUILD/corv_bench.exe" idle 2>/dev/null | tr -d '\r')
    idle=$((ws > commit ? ws : commit))
    for format in webp avif; do
        rm -f "$dir/Corvalendrine.bmp"
        read -r ms ws commit < <(wine "$BUILD/corv_bench.exe" change "$(windows_path "$dir")" \
            "$(windows_path "$dir/photo24.$format")" 1920 1080 2>/dev/null | tr -d '\r')
        [ -n "$idle" ] && [ -n "$commit" ] || { fail "$format: no figures from corv_bench"; continue; }
        peak=$((ws > commit ? ws : commit))
        log "$format: peak without a change ${idle} KiB; with the change ${peak} KiB (${ms} ms)"
        [ $((peak - idle)) -le $((64 * 1024)) ] ||
            fail "$format: the change took $(((peak - idle) / 1024)) MB above the idle peak (at most 64)"
        local centre corner
        centre=$(pixel_at "$dir/Corvalendrine.bmp" 960 540)
        corner=$(pixel_at "$dir/Corvalendrine.bmp" 20 20)
        [ "$centre" != "$corner" ] || fail "$format: no photo in the middle of the wallpaper"
    done
}
