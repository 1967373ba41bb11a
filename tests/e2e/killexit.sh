#!/bin/bash
# SPDX-License-Identifier: MIT
# Kills the game at moments drawn from a fixed seed while SIGTERM has it run its exit
# sequence, on both ways the settings are written: a new file renamed over the old one, and,
# in a folder that cannot take a new file, the old file written in place (run as an
# unprivileged user). After every kill the settings file holds a whole record; a temporary
# file that a killed save left is gone after the next start. Headless: no X server needed.
#   killexit.sh GAME [ROUNDS]
set -uo pipefail
game="$(realpath "$1")"
rounds="${2:-8}"
command -v python3 >/dev/null || { echo "SKIP: python3 is not installed"; exit 77; }

work="$(mktemp -d)"
chmod 755 "$work"
game_pid=""
cleanup() {
    [ -n "$game_pid" ] && kill -KILL "$game_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'echo "FAIL: interrupted or out of time"; exit 1' TERM INT
fail() {
    echo "FAIL: $*"
    exit 1
}

export QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$work/config" "$work/data" "$work/runtime"

# A stored record: the sample places, 京都 and 奈良, precision 2, and stale bytes after it that
# an in-place save trims away.
python3 - "$work/stored.ini" <<'PY'
import struct, sys
depart, dest = "京都".encode("cp932"), "奈良".encode("cp932")
record = struct.pack("<10ih4i", -16590, -17805, 1500, 1500, 6735, 8445, 8235, 1500, 5760,
                     4260, 0, 8235, 5760, 5760, 4605)
record += struct.pack("<H", len(depart)) + depart + struct.pack("<H", len(dest)) + dest
record += struct.pack("<h", 2)
open(sys.argv[1], "wb").write(record + b"\xee" * 5000)
PY

# Whole: the record decodes, with the stored texts and precision.
whole() {
    python3 - "$1" <<'PY'
import struct, sys
d = open(sys.argv[1], "rb").read()
try:
    a = struct.unpack("<H", d[58:60])[0]
    b = struct.unpack("<H", d[60 + a:62 + a])[0]
    texts = d[60:60 + a].decode("cp932"), d[62 + a:62 + a + b].decode("cp932")
    level = struct.unpack("<h", d[62 + a + b:64 + a + b])[0]
except Exception:
    sys.exit(1)
sys.exit(0 if texts == ("京都", "奈良") and level == 2 else 1)
PY
}

# Runs the game in FOLDER as the given user (or as itself), returns once it has set up its
# signal handlers, which it does when its windows are loaded.
start_game() {
    local folder="$1"
    shift
    (cd "$folder" && exec "$@" "$game") >>"$work/game.log" 2>&1 &
    game_pid=$!
    local deadline=$((SECONDS + 60))
    until python3 -c 'import sys
status = open("/proc/%s/status" % sys.argv[1]).read()
caught = int(status.split("SigCgt:")[1].split()[0], 16)
sys.exit(0 if caught >> 14 & 1 else 1)' "$game_pid" 2>/dev/null; do
        [ $SECONDS -lt $deadline ] || fail "the game did not start: $(tail -5 "$work/game.log")"
        kill -0 "$game_pid" 2>/dev/null || fail "the game ended at start: $(tail -5 "$work/game.log")"
        sleep 0.05
    done
}

# kill_loop NAME FOLDER [RUN-AS...]
kill_loop() {
    local name="$1" folder="$2"
    shift 2
    local path="$folder/Moravelt.ini" round left=0
    RANDOM=1907
    for round in $(seq "$rounds"); do
        start_game "$folder" "$@"
        kill -TERM "$game_pid"
        sleep "0.0$((RANDOM % 40 + 10))"
        kill -KILL "$game_pid" 2>/dev/null
        wait "$game_pid" 2>/dev/null
        game_pid=""
        [ -s "$path" ] || fail "$name, round $round: the settings file is empty or gone"
        whole "$path" || fail "$name, round $round: the settings file holds no whole record"
        ls "$folder" | grep -qE '^Moravelt\.ini\.[A-Za-z0-9]{6}$' && left=$((left + 1))
    done
    # A start removes what a killed save left (in a folder where one can be made at all).
    [ "$name" = "$replaced" ] && : >"$folder/Moravelt.ini.Xy12Zw"
    start_game "$folder" "$@"
    kill -TERM "$game_pid"
    wait "$game_pid"
    local code=$?
    game_pid=""
    [ $code -eq 0 ] || fail "$name: the game ended with code $code at SIGTERM"
    ls "$folder" | grep -E '^Moravelt\.ini\.' && fail "$name: a temporary file is left"
    whole "$path" || fail "$name: no whole record after the last exit"
    echo "-- $name: $rounds kills during the exit, $left left a temporary file, removed at start"
}

replaced="a new file renamed over the old"
mkdir "$work/replaced"
cp "$work/stored.ini" "$work/replaced/Moravelt.ini"
kill_loop "$replaced" "$work/replaced"

# In place: a folder the player cannot write in, the file writable.
mkdir "$work/inplace"
cp "$work/stored.ini" "$work/inplace/Moravelt.ini"
if [ "$(id -u)" -eq 0 ]; then
    command -v setpriv >/dev/null || { echo "SKIP: no setpriv to leave the superuser"; exit 77; }
    chown -R 65534:65534 "$work/inplace" "$work/config" "$work/data" "$work/runtime"
    touch "$work/game.log" && chmod 666 "$work/game.log"
    as_player=(setpriv --reuid=65534 --regid=65534 --clear-groups)
else
    as_player=()
fi
chmod 555 "$work/inplace"
kill_loop "written in place" "$work/inplace" "${as_player[@]}"
[ "$(stat -c %s "$work/inplace/Moravelt.ini")" -lt 5000 ] || fail "the in-place save was not trimmed"
grep -q "ERROR: AddressSanitizer\|runtime error" "$work/game.log" && fail "$(cat "$work/game.log")"
echo "PASS"
