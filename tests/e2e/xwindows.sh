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
