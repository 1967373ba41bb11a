#!/bin/bash
# SPDX-License-Identifier: MIT
# Plays the built game as a player would, under its own X server and window manager, in an
# empty folder: first start, windows moved, minimised and restored, exits and restarts (places
# kept, the file the same on a second cycle and with a window manager that is late), a town
# looked at, departure and destination chosen on the map, a route search, a route turned into
# the navigation list and copied, the wheel's zoom and a drag released outside the window, a
# 旅クイズ journey played by keys and its record, SIGTERM, SIGHUP and SIGINT that save as a
# close does, a desktop logout that saves before the session ends, and an exit that cannot
# save (a signal then ends it at once).
#   play.sh GAME MAP_TOOL [LOGOUT_SESSION]
set -uo pipefail
game="$1"
tool="$2"
logout_session="${3:-}"
db="$(dirname "$game")/mapdata.mdb"
for needed in Xvfb openbox xdotool xclip xprop xwininfo python3; do
    command -v "$needed" >/dev/null || { echo "SKIP: $needed is not installed"; exit 77; }
done

# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"

# The X server picks a free display itself and tells its number.
Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
waitfor 10 test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=":$(cat "$work/display")"
# Its shipped configuration, whatever the user's own says: alt+F4 closes, titles drag.
openbox --sm-disable --config-file /etc/xdg/openbox/rc.xml >"$work/openbox.log" 2>&1 &
wm=$!
pids+=($wm)
waitfor 10 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' ||
    fail "openbox did not start"

mkdir "$work/play"
cd "$work/play" || exit 1
unset QT_QPA_PLATFORM
export ASAN_OPTIONS=detect_leaks=0
# What the game keeps beside "Moravelt.ini" (the zoom level, the records) stays in the test's
# own folders.
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"

# shellcheck source=xwindows.sh
source "$(dirname "$0")/xwindows.sh"
named() { [ "$(xdotool getwindowname "$1" 2>/dev/null)" = "$2" ]; }
at() { [ "$(frame "$1" | cut -d' ' -f1,2)" = "$2 $3" ]; }

# Starts the game and waits until its three windows are framed and stand still.
# What start_game runs the game under, if anything.
launcher=()
start_game() {
    # A job started with & ignores SIGINT; the game gets it as from a terminal.
    "${launcher[@]}" env --default-signal=INT "$game" >>"$work/game.log" 2>&1 &
    game_pid=$!
    pids+=($game_pid)
    settle_windows
}

# The exit sequence has begun: the game ended, a message box came up, or the information
# window went.
closing() {
    ended || window 'モラベルト' >/dev/null || ! xwininfo -id "$info" 2>/dev/null | grep -q IsViewable
}
# Presses alt+F4 on the main window as a player does. On a busy machine the window manager now
# and then loses the key press; a player would press again, and so does this, once.
close_main() {
    local try
    for try in 1 2; do
        xdotool windowactivate --sync "$main" >/dev/null 2>&1
        xdotool key --clearmodifiers alt+F4
        waitfor 10 closing && return 0
        echo "   (alt+F4 pressed again)"
    done
}
# Closes the main window as a player does and waits for the game to end.
exit_game() {
    close_main
    [ "${1:-}" = "expect-box" ] && answer_box "$2"
    waitfor 30 ended || fail "the game did not end"
    wait "$game_pid"
    local code=$?
    [ $code -eq 0 ] || fail "the game ended with code $code: $(tail -5 "$work/game.log")"
}

# Waits for a "モラベルト" message box and presses a key in it.
answer_box() {
    waitfor 20 window 'モラベルト' >/dev/null || fail "no message box"
    local box
    box=$(window 'モラベルト')
    xdotool windowactivate --sync "$box" >/dev/null 2>&1
    xdotool key --clearmodifiers "$1"
    waitfor 10 sh -c "! xwininfo -id $box 2>/dev/null | grep -q IsViewable" ||
        fail "the message box stayed"
}

texts() {
    python3 -c 'import struct
d = open("Moravelt.ini", "rb").read()
a = struct.unpack("<H", d[58:60])[0]
b = struct.unpack("<H", d[60 + a:62 + a])[0]
print(d[60:60 + a].decode("cp932"), d[62 + a:62 + a + b].decode("cp932"))'
}

# Drags with the left button from one point to another, in steps, as a hand does.
drag() {
    local x0=$1 y0=$2 x1=$3 y1=$4 i
    xdotool mousemove "$x0" "$y0" mousedown 1
    for i in 1 2 3 4 5 6 7 8; do
        xdotool mousemove $((x0 + (x1 - x0) * i / 8)) $((y0 + (y1 - y0) * i / 8))
        sleep 0.05
    done
    xdotool mouseup 1
}
# Drags a window by its title bar to put its frame at x y.
move_window() {
    local fx fy fw fh
    read -r fx fy fw fh < <(frame "$1")
    drag $((fx + 60)) $((fy + 8)) $((x + 60)) $((y + 8))
}

step "first start"
start_game
[ ! -e Moravelt.ini ] || fail "a settings file before the first exit"
# The main window opens where the window manager puts it: the game asks for no place.
xprop -id "$main" WM_NORMAL_HINTS | grep -qiE '(user|program) specified location' &&
    fail "the main window asked for a place at a first start"
read -r mx my mw mh < <(frame "$main")
read -r ix iy iw ih < <(frame "$info")
read -r nx ny nw nh < <(frame "$navi")
[ "$ix $iy" = "$((mx + mw)) $my" ] || fail "information window at $ix,$iy, not beside the main one"
[ "$nx $ny" = "$((mx + mw)) $((my + ih))" ] || fail "navi list window at $nx,$ny, not below"

step "secondary windows moved, minimised and restored"
x=300 y=620 move_window "$info"
x=760 y=560 move_window "$navi"
waitfor 5 at "$info" 300 620 || fail "information window at $(frame "$info") after the move"
xdotool windowminimize --sync "$info"
xdotool windowactivate --sync "$info" >/dev/null 2>&1
sleep 0.5
at "$info" 300 620 || fail "information window jumped to $(frame "$info") when restored"
read -r nx ny nw nh < <(frame "$navi")
[ "$nx $ny" = "760 560" ] || fail "navi list window at $nx,$ny after the move"
exit_game
[ "$(stat -c %s Moravelt.ini)" = 64 ] || fail "first save is $(stat -c %s Moravelt.ini) bytes"
[ "$(field 6) $(field 7)" = "4500 9300" ] || fail "information window saved at $(field 6),$(field 7)"
[ "$(field 11) $(field 12)" = "11400 8400" ] || fail "navi list window saved at $(field 11)"

step "second start keeps the places; a second cycle writes the same file"
start_game
at "$info" 300 620 || fail "information window at $(frame "$info")"
at "$navi" 760 560 || fail "navi list window at $(frame "$navi")"
exit_game
cp Moravelt.ini first.ini
start_game
exit_game
cmp -s Moravelt.ini first.ini || fail "the second cycle changed the file"

step "a window manager that frames the windows late"
kill -STOP "$wm"
"$game" >>"$work/game.log" 2>&1 &
game_pid=$!
pids+=($game_pid)
sleep 3
kill -CONT "$wm"
for caption in "$main_caption" "$info_caption" "$navi_caption"; do
    waitfor 30 window "$caption" >/dev/null || fail "no window \"$caption\" after the late framing"
done
sleep 1
main=$(window "$main_caption")
info=$(window "$info_caption")
exit_game
cmp -s Moravelt.ini first.ini || fail "a late window manager changed the file"

step "playing: a town, departure and destination, a search, a route, its copy"
start_game
read -r cx cy cw ch < <(client "$main")
menu=$((ch - 8445 / 15)) # the client area below the menu bar is the design height
# Drag the map so that 京都 (2270, 3000 on the picture) stands at 222, 250 of the map area;
# it opens at -1106, -1187.
ox=$((cx + 380)) oy=$((cy + menu + 540))
for _ in 1 2 3; do drag $ox $oy $((ox - 314)) $((oy - 521)); done
hover() {
    xdotool mousemove $((cx + $1 - 8)) $((cy + menu + $2 - 8)); sleep 0.1
    xdotool mousemove $((cx + $1)) $((cy + menu + $2))
    waitfor 5 named "$info" "$3" ||
        fail "hovering $3 names the information window \"$(xdotool getwindowname "$info")\""
}
choose() { # right click on the current town, then the pop-up's entry
    xdotool click 3
    sleep 1
    xdotool key --clearmodifiers $1 Return
    sleep 0.5
}
hover 222 250 京都
choose Down
hover 229 341 奈良
choose "Down Down"
xdotool mousemove $((cx + 80)) $((cy + 9)) click 1 # "ナビ作成" on the menu bar
answer_box alt+n                                 # no more searching after the first route
waitfor 10 window "$main_caption" >/dev/null || fail "the search did not end"
read -r lx ly lw lh < <(client "$navi")
# The navi list's menu bar is as high as the main window's (its status line lies below the lists).
lmenu=$((ch - 8445 / 15))
# Select the first route, then double-click the blank part of the list below it.
xdotool mousemove $((lx + 40)) $((ly + lmenu + 40)) click 1
sleep 0.3
xdotool mousemove $((lx + 40)) $((ly + lmenu + 200)) click --repeat 2 --delay 80 1
sleep 1
xdotool mousemove $((lx + 40)) $((ly + lmenu + 45)) click 3 # the grid's pop-up
sleep 1
xdotool key --clearmodifiers Down Down Return # "コピー", past the separator
answer_box Return
"$tool" navi --db "$db" 00045-京都-奈良 >expected.txt 2>/dev/null
xclip -o -selection clipboard >copied.txt || fail "nothing on the clipboard"
cmp -s copied.txt expected.txt || fail "clipboard: $(od -c copied.txt | head -5)"
exit_game
[ "$(texts)" = "京都 奈良" ] || fail "departure and destination saved as $(texts)"
# The double-click centred the map on the route's box: 京都 (34054, 45010) and 奈良 (34162,
# 46369) in twips, halves rounded away from zero, in a map area 563 pixels high.
left2=$((cw * 15 - 34054 - 34162))
[ "$(field 0) $(field 1)" = "$(((left2 - left2 % 2) / 2 + left2 % 2)) $(((563 * 15 - 45010 - 46369) / 2))" ] ||
    fail "map offset saved as $(field 0),$(field 1)"

step "旅クイズ: a short journey played by keys, then its record"
start_game
read -r cx cy cw ch < <(client "$main")
xdotool mousemove $((cx + 80)) $((cy + 9)) click 1 # "ナビ作成" from 京都 to 奈良, kept from before
answer_box alt+n
waitfor 10 window "$main_caption" >/dev/null || fail "the search did not end"
read -r lx ly lw lh < <(client "$navi")
# The navi list's menu bar is as high as the main window's (its status line lies below the lists).
lmenu=$((ch - 8445 / 15))
xdotool mousemove $((lx + 40)) $((ly + lmenu + 40)) click 1 # the first route, 00045-京都-奈良
sleep 0.3
xdotool windowactivate --sync "$main" >/dev/null 2>&1
xdotool key --clearmodifiers ctrl+t # "旅クイズ"
waitfor 10 window 'モラベルト 旅クイズ' >/dev/null || fail "no journey window"
journey=$(window 'モラベルト 旅クイズ')
xdotool windowactivate --sync "$journey" >/dev/null 2>&1
# 京都, the 寄り道 宇治 and 奈良: answer 1 to each question, Enter after each card.
for key in 1 Return Return 1 Return; do
    xdotool key --clearmodifiers "$key"
    sleep 0.3
done
scores="$XDG_DATA_HOME/moravelt/scores.sqlite"
recorded() {
    python3 -c 'import sqlite3, sys
sys.exit(sqlite3.connect(sys.argv[1]).execute("SELECT count(*) FROM tbl_記録").fetchone()[0] != 1)' \
        "$scores" 2>/dev/null
}
waitfor 10 recorded || fail "no record after the journey"
xdotool key --clearmodifiers Escape
waitfor 10 sh -c "! xwininfo -id $journey 2>/dev/null | grep -q IsViewable" ||
    fail "the journey window stayed"
exit_game
# The record, checked against the journey the map tool plays with the record's own seed:
# answer 1 was right where the tool marks the first answer.
read -r route score possible right questions seed < <(python3 -c 'import sqlite3, sys
rows = sqlite3.connect(sys.argv[1]).execute(
    "SELECT ルート, 得点, 満点, 正解数, 問題数, シード FROM tbl_記録").fetchall()
print(len(rows) == 1 and " ".join(str(v) for v in rows[0]) or "none")' "$scores")
[ "$route $possible $questions" = "00045-京都-奈良 40 2" ] ||
    fail "recorded \"$route\", $possible points possible over $questions questions"
"$tool" quiz --db "$db" --seed "$seed" --answers "$route" >journey.txt ||
    fail "the map tool could not replay seed $seed"
read -r want_score want_right < <(awk -F'\t' 'NF == 6 { if ($3 ~ /^\*/) { s += $6; r++ } }
    END { print s + 0, r + 0 }' journey.txt)
[ "$score $right" = "$want_score $want_right" ] ||
    fail "recorded $score points and $right right, the seed's journey says $want_score and $want_right"

# signal_game SIGNAL: sends it and waits for the game to end; its exit code in $code.
signal_game() {
    kill -"$1" "$game_pid"
    waitfor 30 ended || fail "the game did not end at SIG$1"
    wait "$game_pid"
    code=$?
}

step "SIGTERM, SIGHUP and SIGINT save as a close does"
for sig in TERM HUP INT; do
    start_game
    case $sig in TERM) x=500 ;; HUP) x=200 ;; INT) x=450 ;; esac
    y=600 move_window "$info"
    waitfor 5 at "$info" "$x" 600 || fail "information window at $(frame "$info") after the move"
    signal_game $sig
    [ $code -eq 0 ] || fail "SIG$sig: the game ended with code $code: $(tail -5 "$work/game.log")"
    [ "$(field 6) $(field 7)" = "$((x * 15)) 9000" ] ||
        fail "SIG$sig: information window saved at $(field 6),$(field 7)"
    [ "$(texts)" = "京都 奈良" ] || fail "SIG$sig: departure and destination saved as $(texts)"
done

if [ -n "$logout_session" ]; then
    step "a desktop logout saves before the session ends"
    launcher=("$logout_session")
    start_game # under a session manager of its own, whose process game_pid is
    launcher=()
    waitfor 10 grep -q registered "$work/game.log" || fail "the game did not join the session"
    x=260 y=600 move_window "$info"
    waitfor 5 at "$info" 260 600 || fail "information window at $(frame "$info") after the move"
    kill -USR1 "$game_pid" # log out
    waitfor 30 grep -q '^saved' "$work/game.log" || fail "the game did not save for the logout"
    # Once the game said it is done, the session may end at any moment: the file is written.
    [ "$(field 6) $(field 7)" = "3900 9000" ] ||
        fail "logout: information window saved at $(field 6),$(field 7)"
    kill -USR1 "$game_pid" # the session ends
    waitfor 30 ended || fail "the game did not end at the logout"
    wait "$game_pid" || fail "logout: $(grep -E '^(saved|save failed|ended)' "$work/game.log")"
fi
step "the wheel zooms about the pointer; a drag released outside the window keeps the map"
start_game
read -r cx cy cw ch < <(client "$main")
menu=$((ch - 8445 / 15))
# 京都 where the route's double-click left it, and 奈良 below it (108, 1359 twips further).
kx=$(((34054 + $(field 0)) / 15)) ky=$(((45010 + $(field 1)) / 15))
hover $kx $ky 京都
xdotool click 5 # a notch down: out to 1/2, 京都 still under the pointer
sleep 0.5
hover $((kx + 4)) $((ky + 45)) 奈良
hover $kx $ky 京都
xdotool click 4 # back to 1:1
sleep 0.5
hover $((kx + 7)) $((ky + 91)) 奈良
# Out to 1/8 about 京都, then grab the map there and let go far past the window's corner.
xdotool mousemove $((cx + kx)) $((cy + menu + ky))
for _ in 1 2 3; do xdotool click 5; sleep 0.2; done
xdotool mousedown 1
for i in 1 2 3 4 5 6 7 8; do
    xdotool mousemove $((cx + kx + i * 140)) $((cy + menu + ky + i * 90))
    sleep 0.05
done
xdotool mousemove 1595 995 mouseup 1
sleep 0.3
exit_game
# Half the map area's width and height still show map: the picture's left and top edges stand
# in its middle, saved as the full-size offset that keeps that point at the top-left.
[ "$(field 0) $(field 1)" = "$((cw * 15 * 4)) $((563 * 15 * 4))" ] ||
    fail "map offset saved as $(field 0),$(field 1) after the drag out of the window"
grep -q '^zoom=8$' "$XDG_CONFIG_HOME/moravelt/moravelt.conf" ||
    fail "zoom level kept as $(cat "$XDG_CONFIG_HOME/moravelt/moravelt.conf")"

step "exit with a read-only settings file"
chmod a-w Moravelt.ini
cp Moravelt.ini kept.ini
start_game
exit_game expect-box Return
cmp -s Moravelt.ini kept.ini || fail "the read-only file changed"
# The box that says so holds the exit up: a signal then ends the game at once.
start_game
close_main
waitfor 20 window 'モラベルト' >/dev/null || fail "no message box"
signal_game TERM
[ $code -eq 143 ] || fail "a signal during the exit's message box: code $code"
cmp -s Moravelt.ini kept.ini || fail "the read-only file changed"
grep -q "ERROR: AddressSanitizer\|runtime error" "$work/game.log" && fail "$(cat "$work/game.log")"
echo "PASS"
