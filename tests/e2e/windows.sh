#!/bin/bash
# SPDX-License-Identifier: MIT
# The three windows under openbox, as a new player meets them. At 1920 x 1080: a first start in
# an empty folder puts every window, frame and title bar included, on the screen, beside one
# another; a closed side window comes back from the main window's "ウィンドウ" menu where it
# was; a main window maximised at the exit comes back maximised, and its restored place is
# the one kept in "Moravelt.ini". Then a first start at 1280 x 1024, and one with
# QT_SCALE_FACTOR=2, where the group is too high: the main window's top-left wins there.
#   windows.sh GAME
set -uo pipefail
game="$(realpath "$1")"
for needed in Xvfb openbox xdotool xprop xwininfo python3; do
    command -v "$needed" >/dev/null || { echo "SKIP: $needed is not installed"; exit 77; }
done

# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"

unset QT_QPA_PLATFORM QT_SCALE_FACTOR
export ASAN_OPTIONS=detect_leaks=0
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"

# screen WIDTH HEIGHT: a fresh X server of that size with openbox on it.
xserver=""
screen() {
    if [ -n "$xserver" ]; then
        kill "$wm" "$xserver" 2>/dev/null
        wait "$wm" "$xserver" 2>/dev/null
    fi
    rm -f "$work/display"
    Xvfb -displayfd 3 -screen 0 "${1}x${2}x24" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    xserver=$!
    pids+=($xserver)
    waitfor 10 test -s "$work/display" || fail "Xvfb did not start"
    export DISPLAY=":$(cat "$work/display")"
    openbox --sm-disable --config-file /etc/xdg/openbox/rc.xml >"$work/openbox.log" 2>&1 &
    wm=$!
    pids+=($wm)
    waitfor 10 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' ||
        fail "openbox did not start"
    screen_w=$1 screen_h=$2
}

# shellcheck source=xwindows.sh
source "$(dirname "$0")/xwindows.sh"
viewable() { xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; }
maximised() { xprop -id "$1" _NET_WM_STATE | grep -q '_NET_WM_STATE_MAXIMIZED_VERT.*_NET_WM_STATE_MAXIMIZED_HORZ\|_NET_WM_STATE_MAXIMIZED_HORZ.*_NET_WM_STATE_MAXIMIZED_VERT'; }

start_game() {
    "$game" >>"$work/game.log" 2>&1 &
    game_pid=$!
    pids+=($game_pid)
    settle_windows
}
exit_game() {
    local try
    for try in 1 2; do
        xdotool windowactivate --sync "$main" >/dev/null 2>&1
        xdotool key --clearmodifiers alt+F4
        waitfor 15 ended && break
    done
    waitfor 15 ended || fail "the game did not end"
    wait "$game_pid" || fail "the game ended with code $?: $(tail -5 "$work/game.log")"
}

# near A B TOLERANCE
near() { [ $(($1 - $2)) -le "$3" ] && [ $(($2 - $1)) -le "$3" ]; }

# first_start: a first start in an empty folder; the three frames beside one another, with
# every window that fits wholly on the screen and every title bar on it.
first_start() {
    rm -rf "$work/play" "$work/config"
    mkdir "$work/play"
    cd "$work/play" || exit 1
    start_game
    read -r mx my mw mh < <(frame "$main")
    read -r ix iy iw ih < <(frame "$info")
    read -r nx ny nw nh < <(frame "$navi")
    echo "   main $mx,$my ${mw}x$mh, 情報 $ix,$iy ${iw}x$ih, ナビリスト $nx,$ny ${nw}x$nh"
    # Scaled, a frame of an odd number of pixels is placed to the nearest scaled pixel.
    local tol=$(((${QT_SCALE_FACTOR:-1} - 1) * 4))
    near $ix $((mx + mw)) $tol && near $iy $my $tol ||
        fail "information window at $ix,$iy, not beside the main one"
    near $nx $((mx + mw)) $tol && near $ny $((my + ih)) $tol ||
        fail "navi list window at $nx,$ny, not below"
    local name x y w h title
    title=$(xprop -id "$main" _NET_FRAME_EXTENTS | sed 's/.*= //' | cut -d, -f3)
    while read -r name x y w h; do
        [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + w)) -le "$screen_w" ] &&
            [ $((y + title)) -le "$screen_h" ] || fail "the $name window's title bar at $x,$y is off the screen"
        if [ "$name" = main ] || [ $((my + ih + nh)) -le "$screen_h" ]; then
            [ $((y + h)) -le "$screen_h" ] || [ $((mh)) -gt "$screen_h" ] ||
                fail "the $name window ends at $((y + h)), below the screen"
        fi
    done <<<"main $mx $my $mw $mh
info $ix $iy $iw $ih
navi $nx $ny $nw $nh"
}

step "first start at 1920 x 1080: all three windows on the screen"
screen 1920 1080
first_start
[ $((my + mh)) -le 1080 ] && [ $((ny + nh)) -le 1080 ] && [ $((nx + nw)) -le 1920 ] ||
    fail "a window is not wholly on the screen"

step "a closed side window comes back from the window menu where it was"
read -r ix iy iw ih < <(frame "$info")
xdotool windowactivate --sync "$info" >/dev/null 2>&1
xdotool key --clearmodifiers alt+F4
waitfor 10 sh -c "! xwininfo -id $info 2>/dev/null | grep -q IsViewable" || fail "the information window stayed"
viewable "$main" || fail "closing the information window closed the main one"
# Alt alone opens the menu bar's keyboard mode; the window menu is its last entry.
xdotool windowactivate --sync "$main" >/dev/null 2>&1
xdotool key --clearmodifiers alt
sleep 0.3
xdotool key --clearmodifiers Left Down Return # "ウィンドウ" → "情報"
# Qt gives a window shown again a new X window.
waitfor 10 window "$info_caption" >/dev/null || fail "the window menu did not bring the information window back"
info=$(window "$info_caption")
waitfor 10 framed "$info" || fail "the information window came back without a frame"
sleep 0.5
[ "$(frame "$info")" = "$ix $iy $iw $ih" ] || fail "the information window came back at $(frame "$info")"

step "maximised at the exit, maximised at the next start, restored to the stored place"
read -r mx my mw mh < <(frame "$main")
# openbox maximises on a double-click on the title bar.
xdotool mousemove $((mx + mw / 2)) $((my + 6)) click --repeat 2 --delay 80 1
waitfor 10 maximised "$main" || fail "the main window did not maximise"
exit_game
[ "$(field 2) $(field 3) $(field 4) $(field 5)" = "$((mx * 15)) $((my * 15)) $((mw * 15)) $((mh * 15))" ] ||
    fail "a maximised main window saved as $(field 2),$(field 3) $(field 4)x$(field 5), not its restored place"
grep -q '^mainMaximized=true$' "$XDG_CONFIG_HOME/moravelt/moravelt.conf" ||
    fail "the maximised state kept as: $(cat "$XDG_CONFIG_HOME/moravelt/moravelt.conf")"
cp Moravelt.ini maximised.ini
start_game
maximised "$main" || fail "the main window did not come back maximised"
viewable "$info" && viewable "$navi" || fail "a side window is missing after a maximised start"
xdotool mousemove 960 6 click --repeat 2 --delay 80 1 # restored by the player
waitfor 10 sh -c "! xprop -id $main _NET_WM_STATE | grep -q MAXIMIZED" || fail "the main window stayed maximised"
sleep 0.5
[ "$(frame "$main")" = "$mx $my $mw $mh" ] || fail "the main window was restored to $(frame "$main")"
exit_game
cmp -s Moravelt.ini maximised.ini || fail "the maximised cycle changed the stored places"
grep -q '^mainMaximized=false$' "$XDG_CONFIG_HOME/moravelt/moravelt.conf" ||
    fail "the restored state kept as: $(cat "$XDG_CONFIG_HOME/moravelt/moravelt.conf")"

step "first start at 1280 x 1024"
screen 1280 1024
first_start
[ $((my + mh)) -le 1024 ] && [ $((ny + nh)) -le 1024 ] && [ $((nx + nw)) -le 1280 ] ||
    fail "a window is not wholly on the screen"
exit_game

step "first start at 1920 x 1080 with QT_SCALE_FACTOR=2: too high, the main window's top-left wins"
screen 1920 1080
export QT_SCALE_FACTOR=2
first_start
[ "$my" = 0 ] && [ "$mx" -ge 0 ] && [ $((mx + mw + iw)) -le $((1920 + 4)) ] ||
    fail "the main window at $mx,$my"
exit_game
# Twips stay 15 to a logical pixel, half the X server's here.
near "$(field 4)" $((mw * 15 / 2)) 30 ||
    fail "the main window's width saved as $(field 4) twips at a scale of 2, $mw pixels wide"
grep -q "ERROR: AddressSanitizer\|runtime error" "$work/game.log" && fail "$(cat "$work/game.log")"
echo "PASS"
