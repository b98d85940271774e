# A 24-megapixel camera photo composed onto a 1920 x 1080 wallpaper by the
# benchmark driver (the program's composer and imaging, in a process of its
# own): the change draws the photo, and the process peak stays within 64 MB
# of the same process's peak without a change. Sourced by tests/e2e/run.
# shellcheck shell=bash

case_big_photo_memory() {
    local dir=$FILES/photo
    mkdir -p "$dir"
    # A photo-like picture: fractal clouds, enlarged to 6000 x 4000.
    convert -size 750x500 -seed 7 plasma:fractal -resize '6000x4000!' -quality 90 \
        "$dir/photo24.jpg"
    # The peak is the larger of the peak working set and the peak commit, as
    # tools/bench takes it.
    local ms ws commit idle peak
    read -r _ ws commit < <(wine "$BUILD/corv_bench.exe" idle 2>/dev/null | tr -d '\r')
    idle=$((ws > commit ? ws : commit))
    read -r ms ws commit < <(wine "$BUILD/corv_bench.exe" change "$(windows_path "$dir")" \
        "$(windows_path "$dir/photo24.jpg")" 1920 1080 2>/dev/null | tr -d '\r')
    [ -n "$idle" ] && [ -n "$commit" ] || { fail "no figures from corv_bench"; return; }
    peak=$((ws > commit ? ws : commit))
    log "peak without a change ${idle} KiB; with the change ${peak} KiB (${ms} ms)"
    [ $((peak - idle)) -le $((64 * 1024)) ] ||
        fail "the change took $(((peak - idle) / 1024)) MB above the idle peak (at most 64)"
    local file=$dir/Corvalendrine.bmp
    expect "wallpaper header" "BM 1920x1080 24bpp compression=0 $((54 + 1920 * 1080 * 3))" \
        "$(bmp_info "$file")"
    # The photo is drawn centred, 400 x 266: its middle is not the background.
    local centre corner
    centre=$(pixel_at "$file" 960 540)
    corner=$(pixel_at "$file" 20 20)
    [ "$centre" != "$corner" ] || fail "no photo in the middle of the wallpaper (rgb($centre))"
}
