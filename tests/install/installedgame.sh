#!/bin/bash
# SPDX-License-Identifier: MIT
# Installs the build into a temporary DESTDIR and checks the installed game as a player meets
# it: every file in place and valid, the game started from another folder finds its world and
# keeps "Moravelt.ini" in that folder, the menu entry keeps it in the player's data folder, and
# a game without its world says where it looked. Runs under xvfb-run with a window manager, so
# that the windows can be closed the way a player closes them.
# Usage: xvfb-run -a installedgame.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
id=io.github.moravelt.Moravelt
work=$(mktemp -d)
game=""
wm=""
cleanup() {
    [ -z "$game" ] || kill "$game" 2>/dev/null || true
    [ -z "$wm" ] || kill "$wm" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
unset QT_QPA_PLATFORM
export ASAN_OPTIONS=detect_leaks=0
# What the game keeps beside "Moravelt.ini" (the zoom level) stays in the test's own folder.
export XDG_CONFIG_HOME="$work/config"

stage=$work/stage
DESTDIR=$stage cmake --install "$build" --prefix /usr >/dev/null
usr=$stage/usr

# The files, and nothing of the world left beside the executables.
while read -r file; do
    case $file in '#'* | '') continue ;; esac
    [ -s "$usr/$file" ] || fail "not installed: $file"
done <"$source/dist/installed-files.txt"
[ ! -e "$usr/bin/mapdata.mdb" ] && [ ! -e "$usr/bin/map.jpg" ] || fail "world installed in bin/"
for size in 32 48 64 128 256; do
    png=$usr/share/icons/hicolor/${size}x$size/apps/$id.png
    read -r w h < <(od -An -tu4 --endian=big -j16 -N8 "$png") # the PNG header's width, height
    [ "$w $h" = "$size $size" ] || fail "$png is ${w}x$h"
done
[ -x "$usr/libexec/moravelt/moravelt-launch" ] || fail "launcher not executable"
[ -x "$usr/libexec/moravelt/moravelt-jet-read" ] || fail "Jet reader not executable"

# The installed tool finds the installed Jet reader and reads a Jet map through it.
route=$(cd "$work" && QT_QPA_PLATFORM=offscreen "$usr/bin/moravelt-map" route \
    --db "$source/tests/core/mapdb/fixtures/jet/game_jet4.mdb" 京都 和歌山 2>&1) ||
    fail "route on a Jet map: $route"
grep -q -- "-京都-大阪-堺-和歌山$" <<<"$route" || fail "route on a Jet map: $route"

# The menu entry and the AppStream data pass their validators without errors or warnings.
# (Game and Education are both main categories, which earns the entry a hint: it is meant.)
desktop=$usr/share/applications/$id.desktop
remarks=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $remarks"
! grep -E "(error|warning):" <<<"$remarks" || fail "desktop-file-validate: $remarks"
appstreamcli validate --no-net --no-color "$usr/share/metainfo/$id.metainfo.xml" >"$work/as.log" 2>&1 ||
    fail "appstreamcli: $(cat "$work/as.log")"
grep -qx "Name\[ja\]=モラベルト" "$desktop" || fail "no Japanese name"
grep -qx "Categories=Game;Education;" "$desktop" || fail "categories"
launcher=$(sed -n 's/^Exec=//p' "$desktop")
[ "$launcher" = /usr/libexec/moravelt/moravelt-launch ] || fail "Exec=$launcher"

openbox >/dev/null 2>&1 &
wm=$!

# play FOLDER COMMAND...: starts the game in FOLDER and closes its windows one by one, the way
# a player does, until it has ended. Sets $code to its exit code and $log to its output.
play() {
    local folder=$1 window
    shift
    log=$work/game.log
    props=$work/windows.txt
    : >"$props"
    (cd "$folder" && exec "$@") >"$log" 2>&1 &
    game=$!
    for _ in $(seq 600); do
        kill -0 "$game" 2>/dev/null || break
        for window in $(xdotool search --onlyvisible --pid "$game" 2>/dev/null); do
            xprop -id "$window" WM_CLASS _NET_WM_ICON 2>/dev/null |
                grep -E "^WM_CLASS|Icon \(" >>"$props" || true
            timeout 10 xdotool windowactivate --sync "$window" key --clearmodifiers alt+F4 \
                2>/dev/null || true
            sleep 0.5
        done
        sleep 0.1
    done
    kill "$game" 2>/dev/null && echo "(did not end; stopped)" >>"$log"
    code=0
    wait "$game" || code=$?
    game=""
}

# Started from another folder: the world comes from share/moravelt, the settings stay here.
# The windows wear the installed icon and the class the menu entry names.
touch "$work/before"
mkdir "$work/here"
play "$work/here" env XDG_DATA_DIRS="$usr/share:/usr/share" "$usr/bin/moravelt"
# (Qt's own icon comes in one size, 48 × 48; the installed one gives the sizes up to 64.)
grep -q "Icon (64 x 64)" "$props" || fail "the windows lack the installed icon: $(cat "$props")"
class=$(sed -n 's/^StartupWMClass=//p' "$desktop")
grep -q "^WM_CLASS(STRING) = .*\"$class\"$" "$props" || fail "no window of class $class: $(cat "$props")"
[ "$code" = 0 ] || fail "the game ended with $code: $(cat "$log")"
[ -s "$work/here/Moravelt.ini" ] || fail "no Moravelt.ini in the current directory: $(cat "$log")"
written=$(find "$stage" -newer "$work/before")
[ -z "$written" ] || fail "the game wrote into its install: $written"

# Started from the menu: the settings go to the player's data folder, made when missing, and
# that folder follows the XDG default when XDG_DATA_HOME is not set.
mkdir "$work/menu"
play "$work/menu" env XDG_DATA_HOME="$work/xdg" "$stage$launcher"
[ "$code" = 0 ] || fail "the menu's game ended with $code: $(cat "$log")"
[ -s "$work/xdg/moravelt/Moravelt.ini" ] || fail "no Moravelt.ini in XDG_DATA_HOME/moravelt"
mkdir "$work/home"
play "$work/menu" env -u XDG_DATA_HOME HOME="$work/home" "$stage$launcher"
[ "$code" = 0 ] || fail "the menu's game without XDG_DATA_HOME ended with $code: $(cat "$log")"
[ -s "$work/home/.local/share/moravelt/Moravelt.ini" ] || fail "no Moravelt.ini in ~/.local/share"
[ ! -e "$work/menu/Moravelt.ini" ] || fail "the menu's game wrote into the folder it was started in"

# A game copied away from its world names every place it looked in.
mkdir -p "$work/copy/bin"
cp "$usr/bin/moravelt" "$work/copy/bin/"
play "$work/here" "$work/copy/bin/moravelt"
[ "$code" != 0 ] || fail "the game without its world started"
grep -qF "$work/copy/bin/ （mapdata.mdb、map.jpg がありません）" "$log" || fail "$(cat "$log")"
grep -qF "$work/copy/share/moravelt/ （mapdata.mdb、map.jpg がありません）" "$log" || fail "$(cat "$log")"
echo "PASS"
