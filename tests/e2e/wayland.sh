#!/bin/bash
# SPDX-License-Identifier: MIT
# Runs the built game as a native Wayland client of a headless weston, with a settings file an
# X session stored, and ends it with SIGTERM. A Wayland compositor tells a client nothing about
# where its windows are: the stored window positions must come back byte for byte, while the
# rest of the record is saved as usual. Skipped without weston or Qt's Wayland plugin.
#   wayland.sh GAME
set -uo pipefail
game="$(realpath "$1")"
command -v weston >/dev/null || { echo "SKIP: weston is not installed"; exit 77; }
command -v python3 >/dev/null || { echo "SKIP: python3 is not installed"; exit 77; }
plugins="$(qtpaths6 --query QT_INSTALL_PLUGINS 2>/dev/null)"
ls "${plugins:-/usr/lib/*/qt6/plugins}"/platforms/libqwayland-generic.so >/dev/null 2>&1 ||
    { echo "SKIP: Qt's Wayland platform plugin (qt6-wayland) is not installed"; exit 77; }

# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"

mkdir -m 700 "$work/runtime" "$work/config" "$work/data"
mkdir "$work/play"
export XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
export ASAN_OPTIONS=detect_leaks=0
unset DISPLAY

weston --backend=headless-backend.so --socket=moravelt-test --idle-time=0 \
    >"$work/weston.log" 2>&1 &
pids+=($!)
if ! waitfor 20 test -S "$work/runtime/moravelt-test"; then
    echo "SKIP: weston's headless backend did not start: $(tail -3 "$work/weston.log")"
    exit 77
fi

# Places an X session stored on a large screen: the information window beyond the headless
# output's 1024 x 640 pixels, which a window system that reports places would pull back to 0.
cd "$work/play" || exit 1
python3 - <<'PY'
import struct
depart, dest = "京都".encode("cp932"), "奈良".encode("cp932")
record = struct.pack("<10ih4i", -16590, -17805, 15 * 700, 15 * 300, 6735, 8445,
                     15 * 1500, 15 * 900, 5760, 4260, -1, 15 * 1200, 15 * 101, 5760, 4605)
record += struct.pack("<H", len(depart)) + depart + struct.pack("<H", len(dest)) + dest
open("Moravelt.ini", "wb").write(record + struct.pack("<h", 3))
PY
cp Moravelt.ini stored.ini
stored_inode=$(stat -c %i Moravelt.ini)

# The protocol log tells when all three windows are configured and drawn.
WAYLAND_DISPLAY=moravelt-test QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client \
    "$game" >"$work/game.log" 2>&1 &
game=$!
pids+=($game)
configured() { [ "$(grep -c -- '-> xdg_surface@[0-9]*\.ack_configure' "$work/game.log")" -ge 3 ]; }
waitfor 60 configured || fail "the three windows were not configured: $(grep -v '^\[' "$work/game.log" | tail -5)"
sleep 1
kill -TERM "$game"
waitfor 30 sh -c "! kill -0 $game 2>/dev/null" || fail "the game did not end at SIGTERM"
wait "$game"
code=$?
[ $code -eq 0 ] || fail "the game ended with code $code: $(grep -v '^\[' "$work/game.log" | tail -5)"
[ "$(stat -c %i Moravelt.ini)" != "$stored_inode" ] || fail "the settings were not saved"

python3 - <<'PY' || fail "the saved record differs"
import struct, sys
old, new = open("stored.ini", "rb").read(), open("Moravelt.ini", "rb").read()
faults = []
# Left and top of the main, information and navi list windows: as stored, byte for byte.
for name, at in (("main", 8), ("information", 24), ("navi list", 42)):
    if new[at:at + 8] != old[at:at + 8]:
        faults.append("%s window position %s, stored %s" % (
            name, struct.unpack("<2i", new[at:at + 8]), struct.unpack("<2i", old[at:at + 8])))
# The rest as usual: sizes saved (the windows' own), texts, answer switch and precision kept.
sizes = [struct.unpack("<2i", new[at:at + 8]) for at in (16, 32, 50)]
if any(w <= 0 or h <= 0 for w, h in sizes):
    faults.append("sizes %s" % sizes)
if new[40:42] != old[40:42] or new[58:] != old[58:]:
    faults.append("texts, answer switch or precision: %r" % new[58:])
print("\n".join(faults))
sys.exit(1 if faults else 0)
PY
grep -q "ERROR: AddressSanitizer\|runtime error" "$work/game.log" && fail "$(grep -v '^\[' "$work/game.log")"
echo "PASS"
