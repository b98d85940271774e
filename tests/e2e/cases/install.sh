# Cases of a new user's way in: the per-user installer that tools/package
# makes (installed, run, installed over, removed), and the first start's
# balloon from the icon. Sourced by tests/e2e/run.
# shellcheck shell=bash

UNINSTALL_KEY='Software\Microsoft\Windows\CurrentVersion\Uninstall\Corvalendrine'

# The installer package of the build under test: SETUP, its NAME
# (corvalendrine-VERSION-ARCH) and VERSION; the sums and the winget
# manifest beside it are checked against it.
in_package() {
    local out=$STATE/package-$CASE
    "$ROOT/tools/package" --from "$BUILD" "$out" >/dev/null 2>"$out.log" ||
        { cat "$out.log" >&2; fail "tools/package failed"; exit 1; }
    SETUP=$(find "$out" -maxdepth 1 -name "corvalendrine-*-$CORV_WINE_ARCH-setup.exe")
    [ -f "$SETUP" ] || { fail "no installer in $out: $(ls "$out")"; exit 1; }
    NAME=$(basename "$SETUP" -setup.exe)
    VERSION=${NAME#corvalendrine-}
    VERSION=${VERSION%-*}
    expect "version of the package" "$(sed -n 's/^project(Corvalendrine VERSION \([0-9.]*\) .*/\1/p' \
        "$ROOT/CMakeLists.txt")" "$VERSION"

    expect "files of the sums" "$NAME.zip $NAME-setup.exe" "$(awk '{print $2}' "$out/$NAME.sha256" | xargs)"
    (cd "$out" && sha256sum --quiet -c "$NAME.sha256") || fail "the sums do not match the files"
    local manifest=$out/$NAME-winget/Corvalendrine.Corvalendrine.installer.yaml sum line
    sum=$(sha256sum "$SETUP" | cut -d ' ' -f 1 | tr a-f A-F)
    for line in "PackageVersion: $VERSION" "InstallerType: nullsoft" "Scope: user" \
        "  InstallerSha256: $sum" "  InstallerUrl: https://corv.example.org/download/$NAME-setup.exe"; do
        grep -qxF "$line" "$manifest" || fail "the winget manifest lacks '$line'"
    done
    for line in "$NAME-winget/Corvalendrine.Corvalendrine.yaml" \
        "$NAME-winget/Corvalendrine.Corvalendrine.locale.ko-KR.yaml"; do
        grep -qx "PackageVersion: $VERSION" "$out/$line" || fail "$line lacks the version"
    done
}

# Runs the installer (or the uninstaller) with ARGS; it must end well.
in_run() {  # WHAT PROGRAM ARGS...
    local what=$1 code=0
    shift
    timeout 120 wine "$@" >/dev/null 2>&1 || code=$?
    expect "$what: exit code" 0 "$code"
}

# Where the user's programs folder and Start menu are, for Windows (…_WIN)
# and on this side.
in_locate() {
    local local_win roaming_win
    local_win=$(wine cmd /c 'echo %LOCALAPPDATA%' 2>/dev/null | tr -d '\r')
    roaming_win=$(wine cmd /c 'echo %APPDATA%' 2>/dev/null | tr -d '\r')
    INSTALLED_WIN="$local_win\\Programs\\Corvalendrine"
    INSTALLED=$(winepath -u "$INSTALLED_WIN" 2>/dev/null)
    INSTALLED=${INSTALLED%/}
    SHORTCUT="$(winepath -u "$roaming_win" 2>/dev/null)"
    SHORTCUT="${SHORTCUT%/}/Microsoft/Windows/Start Menu/Programs/Corvalendrine.lnk"
    [ -n "$local_win" ] && [ -n "$INSTALLED" ] || { fail "no user programs folder"; exit 1; }
}

in_entry() { driver reg-value "$UNINSTALL_KEY" "$1"; }

# Checksums of the user's files in the installed folder.
in_user_files() { (cd "$INSTALLED" && md5sum env.ini list.txt poslist.txt xdaylist.txt 2>&1); }

# Install in a fresh prefix, start, install over the running program with
# autostart, and remove it while it runs: files, shortcut, entry, autostart
# value and the user's wallpaper at each step.
case_installer_install_update_remove() {
    use_task_bar
    # No menu entries of the host for the shortcut.
    export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
    in_package
    in_run "silent install" "$SETUP" /S
    in_locate
    local file
    for file in corvalendrine.exe uninstall.exe README.txt xdaylist.txt effects/dropshadow.png \
        effects/red.png Masks/heart.gif; do
        [ -f "$INSTALLED/$file" ] || fail "not installed: $file"
    done
    [ -f "$SHORTCUT" ] || fail "no Start-menu shortcut at $SHORTCUT"
    grep -aqF "$INSTALLED_WIN\\corvalendrine.exe" "$SHORTCUT" ||
        fail "the shortcut does not start the installed program"
    expect "entry: name" Corvalendrine "$(in_entry DisplayName)"
    expect "entry: version" "$VERSION" "$(in_entry DisplayVersion)"
    expect "entry: publisher" "Corvalendrine 개발팀" "$(in_entry Publisher)"
    expect "entry: icon" "$INSTALLED_WIN\\corvalendrine.exe,0" "$(in_entry DisplayIcon)"
    expect "entry: uninstall" "\"$INSTALLED_WIN\\uninstall.exe\"" "$(in_entry UninstallString)"
    local size
    size=$(in_entry EstimatedSize)
    [[ "$size" =~ ^[0-9]+$ ]] && [ "$size" -ge 100 ] || fail "entry: size '$size' KiB"
    expect "autostart without asking" missing "$(driver run-value)"

    # The installed program changes the wallpaper and keeps its files beside
    # itself.
    FILES=$INSTALLED
    local pics=$STATE/e2e-$CASE-pictures
    mkdir -p "$pics"
    make_picture "$pics/red.png" 300x200 255,0,0
    write_list "$pics" -- "$pics/red.png"
    write_picture_ini
    driver set-wallpaper-reg 'C:\users\Public\before.bmp'
    start_program
    read_screen
    expect_centred_picture "installed program" "$(wallpaper_file)" 300 200 255,0,0
    expect "wallpaper while running" "$INSTALLED_WIN\\Corvalendrine.bmp" "$(driver get-wallpaper-reg)"
    cy_exit_program
    # The user's own slots and special days.
    printf '10,20,310,220\r\n' >"$INSTALLED/poslist.txt"
    printf '12.24-우리집 기념일\r\n' | iconv -f UTF-8 -t CP949 >>"$INSTALLED/xdaylist.txt"
    local kept
    kept=$(in_user_files)

    # Over the running program, with autostart: the program ends first, as
    # its "종료" does, and the user's files stay.
    start_program
    in_run "install over" "$SETUP" /S /AUTOSTART
    expect "program after the install over it" 0 "$(driver count-windows)"
    wait_program
    expect "exit code of the program ended by the installer" 0 "$EXIT_CODE"
    expect "the user's files after the install over" "$kept" "$(in_user_files)"
    expect "wallpaper after the install over" 'C:\users\Public\before.bmp' "$(driver get-wallpaper-reg)"
    expect "autostart value" "$INSTALLED_WIN\\corvalendrine.exe" "$(driver run-value)"
    expect "entry after the install over" "$VERSION" "$(in_entry DisplayVersion)"

    # Removed while it runs: the uninstaller runs from a copy of itself, so
    # its end is awaited through the entry, which it removes last.
    start_program
    in_run "silent uninstall" "$INSTALLED/uninstall.exe" /S
    local tries=0
    while in_entry DisplayName >/dev/null; do
        tries=$((tries + 1))
        [ $tries -lt 60 ] || { fail "the uninstaller did not remove its entry"; break; }
        sleep 1
    done
    expect "program after the uninstall" 0 "$(driver count-windows)"
    wait_program
    expect "exit code of the program ended by the uninstaller" 0 "$EXIT_CODE"
    expect "wallpaper after the uninstall" 'C:\users\Public\before.bmp' "$(driver get-wallpaper-reg)"
    expect "autostart after the uninstall" missing "$(driver run-value)"
    [ ! -e "$SHORTCUT" ] || fail "the shortcut is still there"
    # Silent: the user's files stay, and nothing else.
    expect "the user's files after the uninstall" "$kept" "$(in_user_files)"
    expect "folder after the uninstall" "env.ini list.txt poslist.txt xdaylist.txt" \
        "$(cd "$INSTALLED" && find . -mindepth 1 -printf '%P\n' | LC_ALL=C sort | xargs)"
}

# The first start in a folder (no env.ini yet) says from the icon where the
# program is and how its settings open; the next start says nothing, and
# neither does a start in a folder that takes no files. A task bar that
# records the icon calls stands in for the shell's.
case_first_start_balloon() {
    use_task_bar
    local log=$STATE/e2e-$CASE-tray.log
    start_fake_tray 150 "$log"
    # A balloon call: NIM_MODIFY (1) with NIF_INFO (0x10) alone.
    local balloon='^1 0x10 '

    mkdir "$FILES/~corvalendrine-write-check.tmp"
    start_program
    driver answer ok 20000 >/dev/null || fail "no message about the folder"
    cy_exit_program
    rmdir "$FILES/~corvalendrine-write-check.tmp"
    [ ! -e "$FILES/env.ini" ] || fail "env.ini written in a folder that takes no files"
    if grep -q "$balloon" "$log"; then fail "a balloon in a folder that takes no files"; fi

    start_program
    local said
    said=$(grep "$balloon" "$log") || fail "no balloon at the first start"
    expect "balloons at the first start" 1 "$(grep -c "$balloon" "$log")"
    local part
    for part in "Corvalendrine이 실행 중입니다" "알림 영역(시계 옆)에서 실행됩니다" \
        '아이콘을 오른쪽 클릭하고 "환경 설정"을 누르면 설정이 열립니다.'; do
        [[ "$said" == *"$part"* ]] || fail "the balloon lacks '$part': $said"
    done
    cy_exit_program
    [ -f "$FILES/env.ini" ] || fail "env.ini not written at the first exit"

    start_program
    expect "balloons after the second start" 1 "$(grep -c "$balloon" "$log")"
    cy_exit_program
}
