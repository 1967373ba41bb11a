# SPDX-License-Identifier: MIT
# Sourced by the end-to-end scripts that run under X: where the game's windows are.

# The window of the game with exactly this caption, if it is mapped.
window() {
    local w
    for w in $(xdotool search --onlyvisible --name 'モラベルト' 2>/dev/null); do
        [ "$(xdotool getwindowname "$w" 2>/dev/null)" = "$1" ] && { echo "$w"; return 0; }
    done
    return 1
}
# Client area: x y width height.
client() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4}
        /Width:/{w=$2} /Height:/{h=$2} END{print x, y, w, h}'
}
# Frame: x y width height, from the client and the frame extents the window manager set.
frame() {
    local x y w h l r t b
    read -r x y w h < <(client "$1")
    IFS=', ' read -r l r t b < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //')
    echo $((x - l)) $((y - t)) $((w + l + r)) $((h + t + b))
}
framed() { xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | grep -q '= '; }

main_caption='!モラベルト'
info_caption='モラベルト 情報'
navi_caption='モラベルト ナビリスト'

# The three windows' frames, a line each.
places() {
    local caption
    for caption in "$main_caption" "$info_caption" "$navi_caption"; do
        frame "$(window "$caption")"
    done
}
# Waits until the game's three windows are mapped, framed and stand still, then sets $main,
# $info and $navi to them.
settle_windows() {
    local caption w before="" now
    for caption in "$main_caption" "$info_caption" "$navi_caption"; do
        waitfor 30 window "$caption" >/dev/null || fail "no window \"$caption\""
        w=$(window "$caption")
        waitfor 10 framed "$w" || fail "\"$caption\" was not framed"
    done
    for _ in $(seq 50); do
        now="$(places)"
        [ "$now" = "$before" ] && break
        before="$now"
        sleep 0.3
    done
    main=$(window "$main_caption")
    info=$(window "$info_caption")
    navi=$(window "$navi_caption")
}
# The game started as $game_pid has ended (a zombie counts).
ended() {
    local state
    state=$(ps -o stat= -p "$game_pid" 2>/dev/null)
    [ -z "$state" ] || [[ $state == Z* ]]
}
# Field N (0-based) of the settings record's first fifteen numbers, in this folder's
# "Moravelt.ini".
field() {
    python3 -c 'import struct, sys
d = open("Moravelt.ini", "rb").read()
print(struct.unpack("<10ih4i", d[:58])[int(sys.argv[1])])' "$1"
}
